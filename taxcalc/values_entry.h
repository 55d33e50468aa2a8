// The tax values dialog apart from the dialog: what it shows in each mode,
// and what OK stores or refuses.
#ifndef QL_TAXCALC_VALUES_ENTRY_H
#define QL_TAXCALC_VALUES_ENTRY_H

#include <cstdint>

#include "taxcalc/calculator_state.h"
#include "taxcalc/income_entry.h"

namespace ql::tax {

struct ValuesSetup {
    bool known = false;  // false: an unknown mode leaves the template as it is
    Text title;
    Text firstText, firstLabel;    // field 1014 and the label beside it
    bool firstEnabled = true;
    Text secondText, secondLabel;  // field 1012 and label 1015
    bool secondEnabled = true;
};

ValuesSetup setupValues(int32_t mode, const CalculatorState& s);

// Stores the two field texts (the first 15 characters of each) into s as
// the mode says.  A refusal keeps the dialog open; anything else ends it
// with OK.
Refusal acceptValues(int32_t mode, const Text& first, const Text& second, CalculatorState& s);

}  // namespace ql::tax

#endif
