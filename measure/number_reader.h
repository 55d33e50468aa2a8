// The leading decimal number of a text, as the measure parsers read it.
//
// The grammar is the one the DLL's C runtime reads with _wtof and atof:
// leading white space is skipped (isWhiteSpace below), then an optional
// sign, digits, an optional point with digits and an optional exponent (a
// letter "e", "E", "d" or "D", an optional sign and at least one digit)
// are taken; reading stops at the first character that does not fit.  A text without
// digits before the stop gives 0.  The result is the double nearest to the
// decimal number taken (correctly rounded), the same in every build and
// whatever the C locale; a number too large for a double gives an infinity
// and one too small gives zero, both with the number's sign.
#ifndef QL_MEASURE_NUMBER_READER_H
#define QL_MEASURE_NUMBER_READER_H

#include "qlcommon.h"

namespace ql {

// The white space the runtime skips before a number: for UTF-16 text what
// its iswspace accepts (TAB to CR, blank, U+00A0, U+1680, U+2000 to U+200A,
// U+2028, U+2029, U+202F, U+205F, U+3000), for 8-bit text what its isspace
// accepts in the "C" locale (TAB to CR, blank).
bool isWhiteSpace(QLWChar c);
bool isWhiteSpace(char c);

double readLeadingNumber(const QLWChar* text);  // UTF-16
double readLeadingNumber(const char* text);     // 8-bit

// The same on the first `length` units of a text that need not end in a zero.
double readLeadingNumber(const QLWChar* text, long length);
double readLeadingNumber(const char* text, long length);

}  // namespace ql

#endif
