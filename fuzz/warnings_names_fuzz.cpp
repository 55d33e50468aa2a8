// The missing-resource messages for random names (up to 1020 units) and
// kinds: a message only for kinds 0 to 3, an image's text is its name, a
// font's text is the name followed by its substitution line, cut to fit
// the 512-unit working buffer and never written or read past it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "object/wide_text.h"
#include "shell/window_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int32_t kind = static_cast<int8_t>(data[0]) % 6;
    std::u16string name;
    for (size_t i = 1; i + 1 < size; i += 2) name.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    std::replace(name.begin(), name.end(), u'\0', u'n');
    name = name + name + name + name;
    std::vector<QLWChar> work(512);  // a heap block of its own: AddressSanitizer sees every unit past it
    const ql::WarningMessage m = ql::warningMessage(kind, name.c_str(), work.data());
    if ((m.caption != nullptr) != (kind >= 0 && kind <= 3) || (m.text != nullptr) != (m.caption != nullptr)) std::abort();
    if ((kind == 0 || kind == 3) && m.text != name.c_str()) std::abort();
    if (kind != 1 && kind != 2) return 0;
    const std::u16string text = m.text;
    const size_t n = std::min<size_t>(name.size(), 511), line = kind == 1 ? 39 : 22;
    if (text.size() != std::min<size_t>(511, name.size() + line) || text.compare(0, n, name, 0, n) != 0) std::abort();
    return 0;
}
