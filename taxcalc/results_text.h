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
#include <vector>

#include "taxcalc/calculator_state.h"
#include "taxcalc/tax_computation.h"
#include "taxcalc/text.h"

namespace ql::tax {

// The text of the results is held in a buffer of this many characters,
// the terminator included.
constexpr std::size_t kResultsCapacity = 4096;

// Measures a text as GetTabbedTextExtentW does: the width in the low 16
// bits of the result.
using MeasureText = std::function<uint32_t(const Text& text, int32_t tabCount, const int32_t* tabStops)>;

// Column positions in characters.
struct ResultColumns {
    int32_t labelChars = 22;     // longest label in characters, at least 22
    int32_t labelColumn = 24;    // labelChars rounded up to a multiple of 8
    int32_t amountColumn = 0;    // longest net amount, rounded up to a multiple of 8
    uint32_t referenceWidth = 0; // width of "Current W2 Withholding\t"
};

ResultColumns MeasureColumns(const std::vector<IncomeRecord>& records, const MeasureText& measure);

// The tabs after a label, after a first-column amount of n characters, and
// in place of an empty first column.
Text LabelFill(const Text& label, const ResultColumns& c, const MeasureText& measure);
Text AmountFill(std::size_t n, const ResultColumns& c);
Text EmptyColumnFill(const ResultColumns& c);

// The whole text, at most kResultsCapacity - 1 characters.  When the
// entries' lines do not all fit, the last ones are left out and a line
// "(N more entries)" stands in their place, so the totals always show.
Text BuildResultsText(const std::vector<IncomeRecord>& records, const TaxFigures& f, const MeasureText& measure);

}  // namespace ql::tax

#endif
