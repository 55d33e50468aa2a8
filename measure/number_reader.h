// The leading decimal number of a text, as the measure parsers read it.
//
// Leading white space (blank, TAB, LF, VT, FF, CR) is skipped, then an
// optional sign, digits, an optional point with digits and an optional
// exponent ("e" or "E", an optional sign and at least one digit) are taken;
// reading stops at the first character that does not fit.  A text without
// digits before the stop gives 0.  The result is the double nearest to the
// decimal number taken (correctly rounded), the same in every build and
// whatever the C locale; a number too large for a double gives an infinity
// and one too small gives zero, both with the number's sign.
#ifndef QL_MEASURE_NUMBER_READER_H
#define QL_MEASURE_NUMBER_READER_H

#include "qlcommon.h"

namespace ql {

double readLeadingNumber(const QLWChar* text);  // UTF-16
double readLeadingNumber(const char* text);     // 8-bit

// The same on the first `length` units of a text that need not end in a zero.
double readLeadingNumber(const QLWChar* text, long length);
double readLeadingNumber(const char* text, long length);

}  // namespace ql

#endif
