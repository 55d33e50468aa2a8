// Reading a decimal number at the start of a UTF-16 text.
#ifndef QL_TAXCALC_DECIMAL_READER_H
#define QL_TAXCALC_DECIMAL_READER_H

#include "qlcommon.h"

namespace ql::tax {

// Reads leading white space, an optional sign, digits with an optional
// decimal point, and an optional exponent ("e" or "E", optional sign,
// digits), and stops at the first character that does not fit.  A text
// without digits (or a null pointer) reads as 0.  The value is the
// correctly rounded double of the matched characters, the same in every
// build and whatever the C locale; a value beyond the double range reads
// as an infinity with its sign, one too small as zero.
double ReadDecimal(const QLWChar* text);

}  // namespace ql::tax

#endif
