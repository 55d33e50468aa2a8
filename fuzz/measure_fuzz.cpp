// The measure formatters and parsers on one input.  Its first 15 bytes are a
// value (8), decimals, capacity, units and thousandths (4) for the formatters,
// whose buffers are exactly the capacity long (AddressSanitizer sees any
// overrun) and must come back terminated; the units byte also gives the
// parsers' units.  The rest is text for the parsers, read as 8-bit text, as
// UTF-16 widened from it (for ASCII the two must agree exactly) and as raw
// UTF-16 from byte pairs, surrogates and all.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "measure/fixed_digits.h"
#include "measure/measure.h"
#include "measure/number_reader.h"
#include "measure/number_text.h"

template <class Ch>
static void requireTerminated(const std::vector<Ch>& buffer) {
    if (!buffer.empty() && std::find(buffer.begin(), buffer.end(), Ch{0}) == buffer.end()) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint8_t head[15] = {};
    const size_t headSize = std::min(size, sizeof head);
    std::memcpy(head, data, headSize);
    uint64_t bits;
    int32_t thousandths;
    float f;
    std::memcpy(&bits, head, 8);
    std::memcpy(&f, head, 4);
    std::memcpy(&thousandths, head + 11, 4);
    const int32_t decimals = static_cast<int8_t>(head[8]), capacity = head[9] % 80, unit = head[10] % 7, to = head[10] / 7 % 6;
    std::vector<QLWChar> wide(static_cast<size_t>(capacity));
    ql::formatFloat(f, wide.data(), capacity, decimals);
    requireTerminated(wide);
    ql::formatMeasure(thousandths, wide.data(), capacity, unit, decimals);
    requireTerminated(wide);
    std::vector<char> narrow(static_cast<size_t>(capacity));
    ql::formatHex64(bits, narrow.data(), capacity);
    requireTerminated(narrow);
    // The conversion itself at any limit: digits never pass limit + 1.
    const int limit = capacity % (ql::kLargestDigitLimit + 1);
    std::vector<char> digits(static_cast<size_t>(limit) + 2);
    double d;
    std::memcpy(&d, head, 8);
    const ql::FixedDigits r = ql::fixedDigits(d, decimals, digits.data(), limit);
    if (r.count > limit + 1 || digits[static_cast<size_t>(r.count)] != 0) std::abort();

    const std::string text = std::string(reinterpret_cast<const char*>(data) + headSize, size - headSize).c_str();
    const std::basic_string<QLWChar> widened(text.begin(), text.end());
    float fw = 0, fa = 0;
    (void)ql::parseMeasure(widened.c_str(), unit);
    const bool sw = ql::parseFractionalMeasure(widened.c_str(), unit, &fw, to), sa = ql::parseFractionalMeasure(text.c_str(), unit, &fa, to);
    const double a = ql::readLeadingNumber(text.c_str()), b = ql::readLeadingNumber(widened.c_str());
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return c > 0; });
    if (ascii && (sw != sa || std::memcmp(&a, &b, sizeof a) != 0 || (std::memcmp(&fw, &fa, sizeof fw) != 0 && (fw == fw || fa == fa)))) std::abort();
    std::basic_string<QLWChar> raw;
    for (size_t i = headSize; i + 1 < size; i += 2) raw.push_back(static_cast<QLWChar>(data[i] | data[i + 1] << 8));
    raw = raw.c_str();
    (void)ql::parseMeasure(raw.c_str(), unit);
    (void)ql::parseFractionalMeasure(raw.c_str(), unit, &fw, to);
    return 0;
}
