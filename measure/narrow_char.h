// One UTF-16 unit to 8-bit text in the C runtime's current locale, for the
// text values of WriteValueLine.
#ifndef QL_MEASURE_NARROW_CHAR_H
#define QL_MEASURE_NARROW_CHAR_H

#include "qlcommon.h"

namespace ql {

// The most bytes one unit can become.
constexpr int kNarrowCharMax = 16;

// Writes the locale's bytes for one unit and returns their count (1 or
// more).  A unit the locale cannot represent, and every surrogate unit,
// becomes "?".
int narrowChar(QLWChar unit, char* out);

}  // namespace ql

#endif
