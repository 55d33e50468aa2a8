// Money arithmetic of the calculator: single-precision formulas, rounding,
// text to cents and cents to text.
//
// Every formula with a rate, a product or a quotient is evaluated in IEEE
// single precision, left to right, each integer converted to float first.
// Sums of amounts are plain 32-bit sums (wrapping, never undefined).
#ifndef QL_TAXCALC_AMOUNTS_H
#define QL_TAXCALC_AMOUNTS_H

#include <cstdint>

#include "taxcalc/calculator_state.h"

namespace ql::tax {

// The rates and scales, as single-precision values.
constexpr float kSeBase = 0.9235f;      // share of net income subject to SE tax
constexpr float kMedicareRate = 0.029f;
constexpr float kSocSecRate = 0.124f;
constexpr float kHalf = 0.5f;
constexpr float kHundred = 100.0f;
constexpr float kTenThousand = 10000.0f;

inline float f32(int32_t v) { return static_cast<float>(v); }

// Cut toward zero to a 32-bit integer.  A value outside the int32 range
// (or not a number) gives INT32_MIN, as the processor's truncating
// conversion does, so every build gives the same result.
int32_t truncated(float v);

// Add 0.5, then cut toward zero: -9999.5 gives -9999, -100.2 gives -99.
inline int32_t rounded(float v) { return truncated(v + kHalf); }

// 32-bit sums and differences that wrap instead of overflowing.
inline int32_t wrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t wrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// A typed amount in cents: the decimal number at the start of the text
// (measure/number_reader.h, the measure parsers' reader), narrowed to
// float, times 100, rounded.  "" gives 0.
int32_t textToCents(const QLWChar* text);
inline int32_t textToCents(const Text& text) { return textToCents(text.c_str()); }

// Cents as "whole.cc": 0 "0.00", 5 "0.05", 1500000 "15000.00".  A negative
// amount is written with one leading minus and its magnitude: -1234 gives
// "-12.34", -5 gives "-0.05".  At most 12 characters.
Text formatCents(int32_t cents);

// The amount due as the results show it: a negative amount shows "0.00".
Text formatDue(int32_t cents);

// The projection of an entry over its whole period:
// rounded(net / monthsToDate * monthsInPeriod).
int32_t projectCents(int32_t netCents, int32_t monthsToDate, int32_t monthsInPeriod);

}  // namespace ql::tax

#endif
