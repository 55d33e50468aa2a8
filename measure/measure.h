// Length units and measure text, and the two numeric helpers: the portable
// bodies of slots 6 to 10, 45, 46 and 67.
//
// Lengths are whole thousandths of an inch.  The order of every
// multiplication and division is part of the result: values are rounded to
// whole thousandths, and another order can move one across a half.
#ifndef QL_MEASURE_MEASURE_H
#define QL_MEASURE_MEASURE_H

#include <cstdint>

#include "qlcommon.h"

namespace ql {

// (a * b / c) + 0.5, truncated into the 32-bit range (slots 6 and 7).
int32_t mulDivRound(double a, double b, double c);
double hypotenuse(double a, double b);

// Thousandths as text in a display unit; the whole text or the empty text.
void formatMeasure(int32_t thousandths, QLWChar* out, int32_t capacity, int32_t unit, int32_t decimals);
int32_t parseMeasure(const QLWChar* text, int32_t unit);

// The fractional parsers: the value goes to *out, and the result tells
// whether the text ends in a sign.  A null text reads as the empty text.
bool parseFractionalMeasure(const QLWChar* text, int32_t textUnit, float* out, int32_t targetUnit);
bool parseFractionalMeasure(const char* text, int32_t textUnit, float* out, int32_t targetUnit);

// Half away from zero in single precision, as slot 46 rounds.
int32_t roundFraction(float value);

}  // namespace ql

#endif
