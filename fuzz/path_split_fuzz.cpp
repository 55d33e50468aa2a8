// Path splitting on random paths and capacities (zero and negative ones
// too).  Each output is a heap block exactly as large as its capacity, so
// AddressSanitizer catches a write past it; a written output must be
// terminated within its capacity, and one not wanted must stay untouched.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/path_split.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int32_t caps[3] = {static_cast<int8_t>(data[0]), static_cast<int8_t>(data[1]), static_cast<int8_t>(data[2]) * 5};
    std::vector<QLWChar> path((size - 4) / 2 + 1, 0);
    std::memcpy(path.data(), data + 4, (size - 4) / 2 * 2);
    for (QLWChar& c : path)  // many backslashes and full stops
        if (c != 0 && (c & 0xFF00) == 0x0100) c = (c & 1) ? 92 : 46;
    std::vector<QLWChar> out[3];
    for (int i = 0; i < 3; ++i) out[i].assign(caps[i] > 0 ? static_cast<size_t>(caps[i]) : 1, 0xABCD);
    if (data[3] & 1)
        ql::splitPathExt(path.data(), out[0].data(), caps[0], out[1].data(), caps[1], out[2].data(), caps[2]);
    else
        ql::splitPath(path.data(), out[0].data(), caps[0], out[1].data(), caps[1]);
    for (int i = 0; i < 3; ++i) {
        if (out[i][0] == 0xABCD) continue;  // untouched
        if (caps[i] <= 0 || std::find(out[i].begin(), out[i].end(), 0) == out[i].end()) std::abort();
    }
    return 0;
}
