// The fixed-point digit conversion shared by FormatMeasure, FormatFloat and
// the seven-decimal writer of WriteValueLine.
//
// Given a double and a count of decimals it gives the digits of the
// magnitude rounded to that many places, and the position of the decimal
// point: the magnitude equals 0.DIGITS times ten to the power `point`.
// Rounding looks at the first dropped digit of the exact decimal expansion
// of the double and rounds up when it is 5 or more, so exact ties round away
// from zero.  The conversion is exact for every double: it never goes
// through the C runtime.
#ifndef QL_MEASURE_FIXED_DIGITS_H
#define QL_MEASURE_FIXED_DIGITS_H

namespace ql {

// The digit limit of the formatters: the decimal position plus the
// decimals may not exceed 30 (a rounding carry may add a 31st digit).
constexpr int kFormatDigitLimit = 30;

// The largest limit a caller may ask for (enough for any double at seven
// decimals).
constexpr int kLargestDigitLimit = 340;

enum class FixedKind {
    finite,     // digits and point are set
    tooLong,    // point + decimals would exceed the limit: no digits
    infinite,   // no digits; `negative` tells the sign
    notANumber  // no digits
};

struct FixedDigits {
    FixedKind kind = FixedKind::finite;
    bool negative = false;  // the sign bit, also for -0.0 and for values that round to zero
    int point = 0;          // decimal position p
    int count = 0;          // digits stored (no terminator is counted)
};

// Writes the ASCII digits into `digits`, which must hold limit + 2 chars
// (room for a carry digit and a terminating zero).  A negative `decimals`
// counts as 0.  `limit` is clamped to 0..kLargestDigitLimit.
//
// Special cases: zero gives `decimals` zeros and point 0; a value that is
// not zero but rounds to zero gives no digits and point = its own decimal
// exponent (0.004 at 2 decimals: point -2); a carry into a new leading digit
// raises the point by one (9.996 at 2 decimals: "1000", point 2).
FixedDigits fixedDigits(double value, int decimals, char* digits, int limit);

}  // namespace ql

#endif
