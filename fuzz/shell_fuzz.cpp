// Path splitting on any input: byte 0 picks the splitter and the extension capacity, byte 1 the others, the
// rest is UTF-16 text (0x01xx units become backslashes and full stops).  Outputs are blocks of exactly their
// capacity: a wanted one comes back terminated, one below 1 untouched.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/path_split.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    std::u16string path;
    for (size_t i = 2; i + 1 < size; i += 2) {
        const char16_t c = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        path.push_back((c & 0xFF00) == 0x0100 ? ((c & 1) ? u'\\' : u'.') : c);
    }
    const int32_t caps[3] = {static_cast<int8_t>(data[1]), static_cast<int8_t>(data[1]) / 3, (data[0] >> 2) - 8};
    std::vector<QLWChar> out[3];
    for (int i = 0; i < 3; ++i) out[i].assign(static_cast<size_t>(std::max(caps[i], 1)), 0xABCD);
    if (data[0] & 0x80)
        ql::splitPathExt(path.c_str(), out[0].data(), caps[0], out[1].data(), caps[1], out[2].data(), caps[2]);
    else
        ql::splitPath(path.c_str(), out[0].data(), caps[0], out[1].data(), caps[1]);
    for (int i = 0; i < 3; ++i) {
        const bool terminated = std::count(out[i].begin(), out[i].end(), 0) > 0;
        if (out[i][0] != 0xABCD && (caps[i] < 1 || !terminated)) std::abort();
    }
    return 0;
}
