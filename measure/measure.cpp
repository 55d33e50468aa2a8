// Length units, measure parsing and formatting, and the two numeric helpers.
#include "measure/measure.h"

#include <cmath>

#include "measure/number_reader.h"
#include "measure/number_text.h"
#include "measure/whole_number.h"
#include "base/wide_text.h"

namespace ql {
namespace {

constexpr double kDiameterFactor = 3.14159;  // not the full value of pi
constexpr float kDiameterFactorF = 3.14159f;

// Whether the ASCII marker occurs anywhere in the first `length` units.
template <class Ch>
bool contains(const Ch* s, size_t length, const char* marker) {
    const size_t m = textLength(marker);
    for (size_t i = 0; i + m <= length; ++i) {
        size_t k = 0;
        while (k < m && s[i + k] == static_cast<Ch>(marker[k])) ++k;
        if (k == m) return true;
    }
    return false;
}

// Index of the first `c` in [0, to), or `to` when there is none.
template <class Ch>
size_t find(const Ch* s, size_t to, char c) {
    size_t i = 0;
    while (i < to && s[i] != static_cast<Ch>(c)) ++i;
    return i;
}

template <class Ch>
float numberAt(const Ch* s, size_t from, size_t to) {
    return static_cast<float>(readLeadingNumber(s + from, static_cast<long>(to - from)));
}

double displayFromThousandths(int32_t thousandths, int32_t unit) {
    const double t = thousandths;
    switch (unit) {
    case unitFeet: return t / 12.0 / 1000.0;
    case unitInches: return t / 1000.0;
    case unitThousandths: return t;
    case unitCentimeters: return t * 2.54 / 1000.0;
    case unitMillimeters: return t * 25.4 / 1000.0;
    default: return 0.0;
    }
}

// The parts of a fraction are read in place, each bounded by the bar or
// blank that ends it; the caller's text is never changed.
template <class Ch>
bool parseFractional(const Ch* text, int32_t textUnit, float* out, int32_t targetUnit) {
    if (!out) return false;
    static const Ch empty[1] = {0};
    if (!text) text = empty;
    const size_t length = textLength(text);
    size_t bar = find(text, length, '/');
    if (bar == length) bar = find(text, length, '\\');

    float value;
    if (bar == length) {
        value = numberAt(text, 0, length);
    } else {
        const size_t blank = find(text, bar, ' ');
        const float whole = blank < bar ? numberAt(text, 0, blank) : 0.0f;
        const float numerator = numberAt(text, blank < bar ? blank + 1 : 0, bar);
        const float denominator = numberAt(text, bar + 1, length);
        value = numerator / denominator + whole;
    }
    *out = value;

    if (textUnit == unitInches && targetUnit == unitThousandths) {
        if (contains(text, length, "mm")) value = value / 25.4f;
        value = value * 1000.0f;
        *out = value;
    }
    if (contains(text, length, "dia")) {
        value = value * kDiameterFactorF;
        *out = value;
    }
    const Ch last = length ? text[length - 1] : Ch{0};
    if (last != static_cast<Ch>('+') && last != static_cast<Ch>('-')) return false;
    *out = last == static_cast<Ch>('+') ? std::fabs(value) : -std::fabs(value);
    return true;
}

}  // namespace

int32_t mulDivRound(double a, double b, double c) {
    double r = a * b;
    r = r / c;
    r = r + 0.5;
    return truncateToInt32(r);
}

double hypotenuse(double a, double b) {
    const double aa = a * a;
    const double bb = b * b;
    return std::sqrt(aa + bb);
}

void formatMeasure(int32_t thousandths, QLWChar* out, int32_t capacity, int32_t unit, int32_t decimals) {
    formatFixed(displayFromThousandths(thousandths, unit), decimals, PointStyle::measure, out, capacity);
}

int32_t parseMeasure(const QLWChar* text, int32_t unit) {
    if (!text) return 0;
    const size_t length = textLength(text);
    double v = readLeadingNumber(text);
    if (contains(text, length, "dia")) v = v * kDiameterFactor;
    switch (unit) {
    case unitFeet:
        v = v * 12.0;
        v = v * 1000.0;
        break;
    case unitInches:
        if (contains(text, length, "mm")) v = v / 25.4;
        v = v * 1000.0;
        break;
    case unitCentimeters:
    case unitMillimeters:
        v = v * 1000.0;
        v = v / (unit == unitCentimeters ? 2.54 : 25.4);
        break;
    default:  // thousandths, and unknown codes: the number itself
        break;
    }
    return truncateToInt32(v >= 0.0 ? v + 0.5 : v - 0.5);
}

bool parseFractionalMeasure(const QLWChar* text, int32_t textUnit, float* out, int32_t targetUnit) {
    return parseFractional(text, textUnit, out, targetUnit);
}

bool parseFractionalMeasure(const char* text, int32_t textUnit, float* out, int32_t targetUnit) {
    return parseFractional(text, textUnit, out, targetUnit);
}

int32_t roundFraction(float value) { return truncateToInt32(value >= 0.0f ? value + 0.5f : value - 0.5f); }

}  // namespace ql
