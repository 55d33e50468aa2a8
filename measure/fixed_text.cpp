// Number text from the fixed-point digits: sign, integer part, point,
// fraction digits.
#include "measure/fixed_text.h"

namespace ql {

bool composeFixedText(NumberText& text, const FixedDigits& f, const char* digits, int decimals,
                      PointStyle style) {
    if (f.kind != FixedKind::finite) return false;
    if (decimals < 0) decimals = 0;
    if (f.negative) text.append('-');
    if (f.point > 0) {
        text.append(digits, f.point);
        if (style == PointStyle::measure || f.count > f.point) {
            text.append('.');
            text.append(digits + f.point, f.count - f.point);
        }
    } else {
        text.append("0.", 2);
        int zeros = -f.point;
        // A value that rounds to zero has no digits and a point below
        // -decimals; a measure then shows just the requested decimals.
        if (style == PointStyle::measure && zeros > decimals) zeros = decimals;
        text.appendRepeated('0', zeros);
        text.append(digits, f.count);
    }
    return true;
}

void measureText(NumberText& text, double value, int decimals) {
    char digits[kFormatDigitLimit + 2];
    const FixedDigits f = fixedDigits(value, decimals, digits, kFormatDigitLimit);
    composeFixedText(text, f, digits, decimals, PointStyle::measure);
}

void floatText(NumberText& text, double value, int decimals) {
    char digits[kFormatDigitLimit + 2];
    const FixedDigits f = fixedDigits(value, decimals, digits, kFormatDigitLimit);
    if (f.kind == FixedKind::infinite) {
        if (f.negative) text.append('-');
        text.append("inf", 3);
    } else if (f.kind == FixedKind::notANumber) {
        text.append("nan", 3);
    } else {
        composeFixedText(text, f, digits, decimals, PointStyle::plain);
    }
}

}  // namespace ql
