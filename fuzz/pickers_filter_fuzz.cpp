// The open picker's filter scan on random filter lists and extensions.  The
// list sits in a heap block that ends right after its closing empty string,
// so AddressSanitizer catches any read beyond the list; the index found
// must name a pair that is really there.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "object/wide_text.h"
#include "shell/window_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    // The first byte gives the extension's length (0 to 7 units); the list follows.
    std::vector<QLWChar> ext, list;
    for (size_t i = 1; i + 1 < size; i += 2) {
        const QLWChar c = static_cast<QLWChar>(data[i] | (data[i + 1] << 8));
        if (ext.size() < data[0] % 8u) ext.push_back(c ? c : 'x');
        else list.push_back(c);
    }
    ext.push_back(0);
    list.push_back(0), list.push_back(0);  // ends the last string, then the list
    uint32_t pairs = 0;  // the complete pairs the list holds
    for (size_t i = 0; list[i] != 0; ++pairs) {
        const size_t pattern = i + ql::textLength(&list[i]) + 1;
        if (pattern >= list.size() || list[pattern] == 0) break;
        i = pattern + ql::textLength(&list[pattern]) + 1;
    }
    const uint32_t index = ql::openFilterIndex(list.data(), ext.data());
    if (index > pairs || (index != 0 && ext.size() != 4)) std::abort();  // only three-character extensions match
    const uint32_t save = ql::saveFilterIndex(ext.data());
    if (save != 1 && save != 2) std::abort();
    return 0;
}
