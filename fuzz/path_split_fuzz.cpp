// SplitPath and SplitPathExt on random paths and capacities.  Each output
// lives in a heap block with guard units after its capacity, so AddressSanitizer
// catches a write past the block and the guards catch one past the capacity.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "object/qlcommon_impl.h"

namespace {

constexpr QLWChar kGuard = 0xABCD;

struct Guarded {
    Guarded(int32_t capacity) : cap(capacity), units(static_cast<size_t>(capacity > 0 ? capacity : 0) + 4, kGuard) {}
    void check() const {
        for (size_t i = units.size() - 4; i < units.size(); ++i)
            if (units[i] != kGuard) std::abort();
        if (cap > 0) {  // a written buffer is terminated within its capacity
            bool terminated = false;
            for (int32_t i = 0; i < cap && !terminated; ++i) terminated = units[i] == 0;
            if (!terminated && units[0] != kGuard) std::abort();
        }
    }
    QLWChar* data() { return units.data(); }
    int32_t cap;
    std::vector<QLWChar> units;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    // Three capacities from the first bytes (small ones are the interesting
    // ones; zero and negative included), the rest is the path.
    const int32_t caps[3] = {static_cast<int8_t>(data[0]), static_cast<int8_t>(data[1]),
                             static_cast<int8_t>(data[2]) * 5};
    const bool withExt = data[3] & 1;
    std::vector<QLWChar> path((size - 4) / 2 + 1, 0);
    std::memcpy(path.data(), data + 4, (size - 4) / 2 * 2);
    // Favour the interesting characters: map some bytes onto \ . and letters.
    for (QLWChar& c : path)
        if (c != 0 && (c & 0xFF00) == 0x0100) c = (c & 1) ? 92 : 46;

    static ICommon* obj = GetQLObject(nullptr);
    Guarded folder(caps[0]), name(caps[1]), ext(caps[2]);
    if (withExt)
        obj->SplitPathExt(path.data(), folder.data(), caps[0], name.data(), caps[1], ext.data(), caps[2]);
    else
        obj->SplitPath(path.data(), folder.data(), caps[0], name.data(), caps[1]);
    folder.check();
    name.check();
    ext.check();
    return 0;
}
