// Number texts: the fixed-point text of FormatMeasure and FormatFloat, the
// hexadecimal texts and the quote straightener.  Every formatter hands the
// caller the whole text or the empty text (base/wide_text.h's rule).
#ifndef QL_MEASURE_NUMBER_TEXT_H
#define QL_MEASURE_NUMBER_TEXT_H

#include <cstdint>

#include "qlcommon.h"

namespace ql {

constexpr char kLowerHexDigits[] = "0123456789abcdef";  // FormatHex64
constexpr char kUpperHexDigits[] = "0123456789ABCDEF";  // FormatHexDigits

enum class PointStyle {
    measure,  // the point is always written ("12."), and a value that rounds
              // to zero shows exactly `decimals` zeros
    plain     // the point only when fraction digits follow ("12")
};

// Sign, integer digits, point, fraction digits; the empty text when the
// digits pass the 30-digit limit or the value is not finite.
void formatFixed(double value, int32_t decimals, PointStyle style, QLWChar* out, int32_t capacity);

// FormatFloat: plain style, and "inf", "-inf" or "nan" for special values.
void formatFloat(float value, QLWChar* out, int32_t capacity, int32_t decimals);

// "0x", eight digits, "'", eight digits: 19 characters.
void formatHex64(uint64_t value, char* out, int32_t capacity);

// U+2018 and U+2019 to "'", U+201C and U+201D to '"', in place.
void straightenQuotes(QLWChar* text);

}  // namespace ql

#endif
