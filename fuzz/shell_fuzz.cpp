// The shell's text rules on random input.  Byte 0 picks the rule, byte 1 a
// capacity or length; the rest is UTF-16 text.  Every buffer is a heap block
// of exactly its size, so AddressSanitizer sees any unit read or written
// past it.  Path splitting: a written output is terminated within its
// capacity, one not wanted (capacity below 1) stays untouched.  The open
// picker's filter scan: the index names a pair that can be there (each takes
// four units at least), and only for a three-character extension.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/wide_text.h"
#include "shell/path_split.h"
#include "shell/window_rules.h"

static void check(bool ok) {
    if (!ok) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    std::u16string text;
    for (size_t i = 2; i + 1 < size; i += 2) text.push_back(char16_t(data[i] | data[i + 1] << 8));
    if (data[0] % 2 == 0) {  // splitting; many backslashes and full stops
        for (char16_t& c : text) c = (c & 0xFF00) == 0x0100 ? ((c & 1) ? u'\\' : u'.') : c;
        const int32_t caps[3] = {int8_t(data[1]), int8_t(data[1]) / 3, (data[0] >> 2) - 8};
        std::vector<QLWChar> out[3];
        for (int i = 0; i < 3; ++i) out[i].assign(std::max(caps[i], 1), 0xABCD);
        if (data[0] & 0x80)
            ql::splitPathExt(text.c_str(), out[0].data(), caps[0], out[1].data(), caps[1], out[2].data(), caps[2]);
        else
            ql::splitPath(text.c_str(), out[0].data(), caps[0], out[1].data(), caps[1]);
        for (int i = 0; i < 3; ++i)
            check(out[i][0] == 0xABCD || (caps[i] > 0 && std::find(out[i].begin(), out[i].end(), 0) != out[i].end()));
    } else {  // the filter list after an extension of 0 to 7 units
        const size_t e = std::min<size_t>(text.size(), data[1] % 8u);
        std::u16string ext = text.substr(0, e);
        std::replace(ext.begin(), ext.end(), u'\0', u'x');
        std::vector<QLWChar> list(text.begin() + e, text.end());
        list.push_back(0), list.push_back(0);  // ends the last string, then the list
        const uint32_t index = ql::openFilterIndex(list.data(), ext.c_str()), save = ql::saveFilterIndex(ext.c_str());
        check((index == 0 || ext.size() == 3) && index <= list.size() / 4 && (save == 1 || save == 2));
    }
    return 0;
}
