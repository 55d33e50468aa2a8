// The checks of the income entry dialog, apart from the dialog: inputs in,
// the first refusal or a new income entry out.
#ifndef QL_TAXCALC_INCOME_ENTRY_H
#define QL_TAXCALC_INCOME_ENTRY_H

#include <cstdint>

#include "taxcalc/calculator_state.h"
#include "taxcalc/text.h"

namespace ql::tax {

// A message box's texts.  Empty message: nothing refused.
struct Refusal {
    const char* title = "";
    const char* message = "";
    bool refused() const { return *message != '\0'; }
};

// Choosing a start month: one after the current month is refused.
Refusal CheckStartMonthChoice(int32_t index, int32_t currentMonth);
// Choosing an end month: one before the chosen start month is refused.
Refusal CheckEndMonthChoice(int32_t index, int32_t selectedStartMonth);

// Which amount fields show once an end month is chosen.
struct AmountFields {
    bool change = false;       // false: leave the fields as they are
    bool netIncome = false;    // 1010 and 1011
    bool withholding = false;  // 1012 and 1013
};
AmountFields AmountFieldsFor(int32_t kind);

struct IncomeInputs {
    Text employer;            // read with a capacity of 64
    int32_t startIndex = -1;  // -1: none selected
    int32_t endIndex = -1;
    Text netIncome;           // read with a capacity of 16
    Text withholding;         // read with a capacity of 16
    int32_t kind = 0;
};

struct IncomeCheck {
    Refusal refusal;      // the first failing check, if any
    IncomeRecord record;  // the new entry when nothing was refused
};

// The checks of OK in their order, and the entry they let through.
IncomeCheck CheckIncome(const IncomeInputs& in, int32_t currentMonth);

}  // namespace ql::tax

#endif
