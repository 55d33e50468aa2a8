// The open picker's filter scan on random filter lists and extensions.  The
// list sits in a heap block that ends right after its closing empty string,
// so AddressSanitizer catches any read beyond the list; the index found
// must name a pair that is really there.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/picker_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first byte gives the extension's length (0 to 7 units).
    const size_t extLength = data[0] % 8;
    ++data, --size;
    std::vector<QLWChar> units(size / 2);
    for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<QLWChar>(data[2 * i] | (data[2 * i + 1] << 8));
    const size_t split = extLength < units.size() ? extLength : units.size();

    std::vector<QLWChar> ext(units.begin(), units.begin() + static_cast<long>(split));
    for (QLWChar& c : ext)
        if (c == 0) c = 'x';
    ext.push_back(0);
    std::vector<QLWChar> list(units.begin() + static_cast<long>(split), units.end());
    list.push_back(0);  // ends the last string and then the list
    list.push_back(0);

    // Count the complete pairs the list holds.
    uint32_t pairs = 0;
    for (size_t i = 0; i < list.size() && list[i] != 0;) {
        size_t d = i;
        while (list[d]) ++d;
        size_t p = d + 1;
        if (p >= list.size() || list[p] == 0) break;
        while (list[p]) ++p;
        ++pairs;
        i = p + 1;
    }
    const uint32_t index = ql::openFilterIndex(list.data(), ext.data());
    if (index > pairs) std::abort();
    if (index != 0 && ext.size() != 4) std::abort();  // only three-character extensions match
    const uint32_t save = ql::saveFilterIndex(ext.data());
    if (save != 1 && save != 2) std::abort();
    return 0;
}
