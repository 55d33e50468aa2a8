// The three-column results text.
//
// Columns are made of tabs.  The message box that shows the text puts a
// tab stop every 8 average character widths, so the columns are counted in
// characters; a label's width on the screen is turned into characters by
// comparing it with the width of "Current W2 Withholding\t".
#ifndef QL_TAXCALC_RESULTS_TEXT_H
#define QL_TAXCALC_RESULTS_TEXT_H

#include <cstddef>
#include <cstdint>
#include <functional>

#include "taxcalc/calculator_state.h"
#include "taxcalc/tax_computation.h"

namespace ql::tax {

// The text of the results is held in a buffer of this many characters,
// the terminator included.
constexpr std::size_t kResultsCapacity = 4096;

// Measures a text as GetTabbedTextExtentW does on the screen: the width in
// the low 16 bits of the result.
using MeasureText = std::function<uint32_t(const Text& text, int32_t tabCount, const int32_t* tabStops)>;

// The whole text, at most kResultsCapacity - 1 characters.  When the
// entries' lines do not all fit, the last ones are left out and a line
// "(N more entries)" stands in their place, so the totals always show.
Text buildResultsText(const CalculatorState& s, const TaxFigures& f, const MeasureText& measure);

}  // namespace ql::tax

#endif
