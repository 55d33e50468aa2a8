// Length units, measure parsing and formatting, and the two numeric helpers.
//
// Lengths are whole thousandths of an inch.  The order of every
// multiplication and division below is part of the result: values are
// rounded to whole thousandths, and another order can move one across a half.
#include <cmath>
#include <vector>

#include "measure/fixed_text.h"
#include "measure/number_reader.h"
#include "measure/whole_number.h"
#include "object/qlcommon_impl.h"

namespace ql {
namespace {

constexpr double kDiameterFactor = 3.14159;  // not the full value of pi
constexpr float kDiameterFactorF = 3.14159f;

template <class Ch>
long textLength(const Ch* s) {
    long n = 0;
    while (s[n]) ++n;
    return n;
}

// Whether the ASCII marker occurs anywhere in the text.
template <class Ch>
bool contains(const Ch* s, long length, const char* marker) {
    long m = 0;
    while (marker[m]) ++m;
    for (long i = 0; i + m <= length; ++i) {
        long k = 0;
        while (k < m && s[i + k] == static_cast<Ch>(marker[k])) ++k;
        if (k == m) return true;
    }
    return false;
}

template <class Ch>
long find(const Ch* s, long from, long to, Ch c) {
    for (long i = from; i < to; ++i)
        if (s[i] == c) return i;
    return -1;
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

// The fractional parsers on UTF-16 or 8-bit text: steps 2 to 10.
template <class Ch>
QLBool parseFractional(const Ch* text, int32_t textUnit, float* out, int32_t targetUnit) {
    if (!out) return 0;
    if (!text) {  // as the empty text
        *out = 0.0f;
        return 0;
    }
    const long length = textLength(text);
    // A private copy: the parts are ended in place, never in the caller's text.
    std::vector<Ch> copy(text, text + length + 1);
    Ch* s = copy.data();
    const bool diameter = contains(s, length, "dia");
    const bool millimetres = contains(s, length, "mm");

    long bar = find(s, 0, length, static_cast<Ch>('/'));
    if (bar < 0) bar = find(s, 0, length, static_cast<Ch>('\\'));

    float value;
    if (bar < 0) {
        value = static_cast<float>(readLeadingNumber(s));
    } else {
        s[bar] = 0;
        const long blank = find(s, 0, bar, static_cast<Ch>(' '));
        float whole = 0.0f, numerator;
        if (blank >= 0) {
            s[blank] = 0;
            whole = static_cast<float>(readLeadingNumber(s));
            numerator = static_cast<float>(readLeadingNumber(s + blank + 1));
        } else {
            numerator = static_cast<float>(readLeadingNumber(s));
        }
        const float denominator = static_cast<float>(readLeadingNumber(s + bar + 1));
        value = numerator / denominator + whole;
    }
    *out = value;

    if (textUnit == unitInches && targetUnit == unitThousandths) {
        if (millimetres) value = value / 25.4f;
        value = value * 1000.0f;
        *out = value;
    }
    if (diameter) {
        value = value * kDiameterFactorF;
        *out = value;
    }
    if (length == 0) return 0;
    const Ch last = text[length - 1];
    if (last == static_cast<Ch>('+')) {
        *out = std::fabs(value);
        return 1;
    }
    if (last == static_cast<Ch>('-')) {
        *out = -std::fabs(value);
        return 1;
    }
    return 0;
}

}  // namespace

namespace {
// (a * b / c) + 0.5, truncated into the 32-bit range.  Slots 6 and 7 are
// the same operation under two names; both entries run this one body.
int32_t mulDivRound(double a, double b, double c) {
    double r = a * b;
    r = r / c;
    r = r + 0.5;
    return truncateToInt32(r);
}
}  // namespace

int32_t QLCommon::MulDivRound(double a, double b, double c) { return mulDivRound(a, b, c); }

int32_t QLCommon::MulDivRound2(double a, double b, double c) { return mulDivRound(a, b, c); }

double QLCommon::Hypotenuse(double a, double b) {
    const double aa = a * a;
    const double bb = b * b;
    return std::sqrt(aa + bb);
}

void QLCommon::FormatMeasure(int32_t thousandths, QLWChar* text, int32_t capacity, int32_t unit,
                             int32_t decimals) {
    NumberText t;
    measureText(t, displayFromThousandths(thousandths, unit), decimals);
    t.copyTo(text, capacity);
}

int32_t QLCommon::ParseMeasure(const QLWChar* text, int32_t unit) {
    if (!text) return 0;
    const long length = textLength(text);
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

QLBool QLCommon::ParseFractionalMeasureW(const QLWChar* text, int32_t textUnit, float* out,
                                         int32_t targetUnit) {
    if (!state_) return 0;
    return parseFractional(text, textUnit, out, targetUnit);
}

QLBool QLCommon::ParseFractionalMeasureA(const char* text, int32_t textUnit, float* out,
                                         int32_t targetUnit) {
    if (!state_) return 0;
    return parseFractional(text, textUnit, out, targetUnit);
}

QLBool QLCommon::ParseFractionalMeasureRounded(const QLWChar* text, int32_t textUnit, int32_t* out,
                                               int32_t targetUnit) {
    if (!state_) return 0;
    float value = 0.0f;
    const QLBool sign = call(&ICommonVtbl::ParseFractionalMeasureW, text, textUnit, &value, targetUnit);
    const float rounded = value >= 0.0f ? value + 0.5f : value - 0.5f;
    if (out) *out = truncateToInt32(rounded);
    return sign;
}

}  // namespace ql
