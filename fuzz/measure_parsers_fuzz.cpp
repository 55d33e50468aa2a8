// Measure parsers on arbitrary text.  The first byte picks the units; the
// rest is the text, read as 8-bit text and as UTF-16.  For ASCII text the
// UTF-16 parser and its 8-bit twin must agree exactly.
#include <cstdint>
#include <cstring>
#include <string>

#include "measure/number_reader.h"
#include "object/qlcommon_impl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static ICommon* object = GetQLObject(nullptr);
    const int32_t unit = data[0] % 6, target = (data[0] / 6) % 6;
    std::string narrow(reinterpret_cast<const char*>(data + 1), size - 1);
    narrow = narrow.c_str();  // up to the first zero
    std::basic_string<QLWChar> wide(narrow.begin(), narrow.end());
    for (QLWChar& c : wide) c = static_cast<QLWChar>(static_cast<unsigned char>(c));

    bool ascii = true;
    for (unsigned char c : narrow) ascii = ascii && c < 128;

    (void)object->ParseMeasure(wide.c_str(), unit);
    float fw = 0, fa = 0;
    const QLBool sw = object->ParseFractionalMeasureW(wide.c_str(), unit, &fw, target);
    const QLBool sa = object->ParseFractionalMeasureA(narrow.c_str(), unit, &fa, target);
    int32_t rounded = 0;
    (void)object->ParseFractionalMeasureRounded(wide.c_str(), unit, &rounded, target);
    if (ascii) {
        if (sw != sa) __builtin_trap();
        if (std::memcmp(&fw, &fa, sizeof fw) != 0 && !(fw != fw && fa != fa)) __builtin_trap();
        const double a = ql::readLeadingNumber(narrow.c_str());
        const double b = ql::readLeadingNumber(wide.c_str());
        if (std::memcmp(&a, &b, sizeof a) != 0) __builtin_trap();
    }
    // UTF-16 text from the raw bytes too, surrogates and all.
    std::basic_string<QLWChar> raw;
    for (size_t i = 1; i + 1 < size; i += 2) raw.push_back(static_cast<QLWChar>(data[i] | data[i + 1] << 8));
    raw = raw.c_str();
    (void)object->ParseMeasure(raw.c_str(), unit);
    (void)object->ParseFractionalMeasureW(raw.c_str(), unit, &fw, target);
    return 0;
}
