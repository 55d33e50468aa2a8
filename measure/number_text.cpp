// Number texts from the fixed-point digits, hexadecimal texts, quotes.
#include "measure/number_text.h"

#include "measure/fixed_digits.h"
#include "base/wide_text.h"

namespace ql {
namespace {

// Sign, at most 31 digits, a point and up to 324 zeros before the digits of
// a tiny value fit.
using NumberText = LocalText<QLWChar, 400>;

void composeFixed(NumberText& text, const FixedDigits& f, const char* digits, int decimals, PointStyle style) {
    if (f.negative) text.append('-');
    if (f.point > 0) {
        text.append(digits, static_cast<size_t>(f.point));
        if (style == PointStyle::measure || f.count > f.point) {
            text.append('.');
            text.append(digits + f.point, static_cast<size_t>(f.count - f.point));
        }
        return;
    }
    text.append("0.", 2);
    int zeros = -f.point;
    // A value that rounds to zero has no digits and a point below
    // -decimals; a measure then shows just the requested decimals.
    if (style == PointStyle::measure && zeros > decimals) zeros = decimals;
    text.appendRepeated('0', static_cast<size_t>(zeros));
    text.append(digits, static_cast<size_t>(f.count));
}

}  // namespace

void formatFixed(double value, int32_t decimals, PointStyle style, QLWChar* out, int32_t capacity) {
    if (decimals < 0) decimals = 0;
    char digits[kFormatDigitLimit + 2];
    const FixedDigits f = fixedDigits(value, decimals, digits, kFormatDigitLimit);
    NumberText text;
    if (f.kind == FixedKind::finite) composeFixed(text, f, digits, decimals, style);
    text.copyTo(out, capacity);
}

void formatFloat(float value, QLWChar* out, int32_t capacity, int32_t decimals) {
    if (value == value && value - value == 0.0f) {
        formatFixed(static_cast<double>(value), decimals, PointStyle::plain, out, capacity);
        return;
    }
    NumberText text;
    if (value != value) {
        text.append("nan", 3);
    } else {
        if (value < 0.0f) text.append('-');
        text.append("inf", 3);
    }
    text.copyTo(out, capacity);
}

void formatHex64(uint64_t value, char* out, int32_t capacity) {
    LocalText<char, 19> text;
    text.append("0x", 2);
    for (int shift = 60; shift >= 0; shift -= 4) {
        if (shift == 28) text.append('\'');
        text.append(kLowerHexDigits[(value >> shift) & 0xF]);
    }
    text.copyTo(out, capacity);
}

void straightenQuotes(QLWChar* text) {
    if (!text) return;
    for (; *text; ++text) {
        if (*text == 0x2018 || *text == 0x2019) *text = 0x27;
        else if (*text == 0x201C || *text == 0x201D) *text = 0x22;
    }
}

}  // namespace ql
