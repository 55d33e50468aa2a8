// The measure formatters and parsers on any input.  The first 15 bytes: a value, decimals, capacity, units
// and thousandths; the formatters write into blocks of exactly the capacity and terminate them.  The rest
// is text for the parsers, 8-bit and widened: for ASCII the twins agree.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "measure/fixed_digits.h"
#include "measure/measure.h"
#include "measure/number_text.h"

static void require(bool ok) {
    if (!ok) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint8_t head[15] = {};
    const size_t headSize = std::min(size, sizeof head);
    std::memcpy(head, data, headSize);
    double value;
    float single;
    int32_t thousandths;
    std::memcpy(&value, head, 8);
    std::memcpy(&single, head, 4);
    std::memcpy(&thousandths, head + 11, 4);
    const int32_t decimals = static_cast<int8_t>(head[8]), capacity = head[9] % 80;
    const int32_t unit = head[10] % 7, to = head[10] / 7 % 6;
    std::vector<QLWChar> out(static_cast<size_t>(capacity));
    ql::formatFloat(single, out.data(), capacity, decimals);
    require(out.empty() || std::count(out.begin(), out.end(), 0) > 0);
    ql::formatMeasure(thousandths, out.data(), capacity, unit, decimals);
    require(out.empty() || std::count(out.begin(), out.end(), 0) > 0);
    const int limit = capacity % (ql::kLargestDigitLimit + 1);  // digits never pass limit + 1
    std::vector<char> digits(static_cast<size_t>(limit) + 2);
    const ql::FixedDigits r = ql::fixedDigits(value, decimals, digits.data(), limit);
    require(r.count <= limit + 1 && digits[static_cast<size_t>(r.count)] == 0);

    const std::string text = std::string(reinterpret_cast<const char*>(data) + headSize, size - headSize).c_str();
    const std::basic_string<QLWChar> wide(text.begin(), text.end());
    float fw = 0;
    float fa = 0;
    ql::parseMeasure(wide.c_str(), unit);
    const bool sw = ql::parseFractionalMeasure(wide.c_str(), unit, &fw, to);
    const bool sa = ql::parseFractionalMeasure(text.c_str(), unit, &fa, to);
    if (std::all_of(text.begin(), text.end(), [](char c) { return c > 0; }))
        require(sw == sa && std::memcmp(&fw, &fa, sizeof fw) == 0);
    return 0;
}
