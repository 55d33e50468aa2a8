// The text FormatMeasure and FormatFloat make from the fixed-point digits.
#ifndef QL_MEASURE_FIXED_TEXT_H
#define QL_MEASURE_FIXED_TEXT_H

#include "measure/bounded_text.h"
#include "measure/fixed_digits.h"
#include "qlcommon.h"

namespace ql {

// Sign, at most 31 digits, a point and up to 324 zeros before the digits of
// a tiny value fit.
using NumberText = LocalText<QLWChar, 400>;

enum class PointStyle {
    measure,  // the point is always written ("12."), and a value that rounds
              // to zero shows exactly `decimals` zeros
    plain     // the point only when fraction digits follow ("12")
};

// Fills `text` from a conversion.  Returns false, leaving `text` empty, when
// the conversion has no digits to show (too long, infinite, not a number).
bool composeFixedText(NumberText& text, const FixedDigits& f, const char* digits, int decimals,
                      PointStyle style);

// FormatMeasure's and FormatFloat's text of a value, "" when it cannot be
// shown.  FormatFloat writes "inf", "-inf" and "nan" for the special values.
void measureText(NumberText& text, double value, int decimals);
void floatText(NumberText& text, double value, int decimals);

}  // namespace ql

#endif
