// The checks of the income entry dialog, apart from the dialog: inputs in,
// the first refusal or a new income entry out.
#ifndef QL_TAXCALC_INCOME_ENTRY_H
#define QL_TAXCALC_INCOME_ENTRY_H

#include <cstdint>

#include "taxcalc/calculator_state.h"

namespace ql::tax {

// A message box's texts.  No message: nothing refused.
struct Refusal {
    const QLWChar* title = nullptr;
    const QLWChar* message = nullptr;
    bool refused() const { return message != nullptr; }
};

// Choosing a start month: one after the current month is refused.
Refusal checkStartMonthChoice(int32_t index, int32_t currentMonth);
// Choosing an end month: one before the chosen start month is refused.
Refusal checkEndMonthChoice(int32_t index, int32_t selectedStartMonth);

struct IncomeInputs {
    Text employer;            // as typed; the first 63 characters count
    int32_t startIndex = -1;  // -1: none selected
    int32_t endIndex = -1;
    Text netIncome;           // as typed; the first 15 characters count
    Text withholding;         // likewise
    int32_t kind = 0;
};

struct IncomeCheck {
    Refusal refusal;      // the first failing check, if any
    IncomeRecord record;  // the new entry when nothing was refused
};

// The checks of OK in their order, and the entry they let through.
IncomeCheck checkIncome(const IncomeInputs& in, int32_t currentMonth);

}  // namespace ql::tax

#endif
