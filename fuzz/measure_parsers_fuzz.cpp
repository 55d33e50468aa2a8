// Measure parsers on arbitrary text.  The first byte picks the units; the
// rest is the text, read as 8-bit text and as UTF-16.  For ASCII text the
// UTF-16 parser and its 8-bit twin must agree exactly.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "measure/measure.h"
#include "measure/number_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int32_t unit = data[0] % 6, target = (data[0] / 6) % 6;
    std::string narrow(reinterpret_cast<const char*>(data + 1), size - 1);
    narrow = narrow.c_str();  // up to the first zero
    std::basic_string<QLWChar> wide;
    bool ascii = true;
    for (unsigned char c : narrow) {
        wide.push_back(c);
        ascii = ascii && c < 128;
    }
    (void)ql::parseMeasure(wide.c_str(), unit);
    float fw = 0, fa = 0;
    const bool sw = ql::parseFractionalMeasure(wide.c_str(), unit, &fw, target);
    const bool sa = ql::parseFractionalMeasure(narrow.c_str(), unit, &fa, target);
    if (ascii) {
        if (sw != sa) std::abort();
        if (std::memcmp(&fw, &fa, sizeof fw) != 0 && !(fw != fw && fa != fa)) std::abort();
        const double a = ql::readLeadingNumber(narrow.c_str()), b = ql::readLeadingNumber(wide.c_str());
        if (std::memcmp(&a, &b, sizeof a) != 0) std::abort();
    }
    // UTF-16 text from the raw bytes too, surrogates and all.
    std::basic_string<QLWChar> raw;
    for (size_t i = 1; i + 1 < size; i += 2) raw.push_back(static_cast<QLWChar>(data[i] | data[i + 1] << 8));
    raw = raw.c_str();
    (void)ql::parseMeasure(raw.c_str(), unit);
    (void)ql::parseFractionalMeasure(raw.c_str(), unit, &fw, target);
    return 0;
}
