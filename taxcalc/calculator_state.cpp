// The calculator's library-wide state.
#include "taxcalc/calculator_state.h"

namespace ql::tax {

CalculatorState& calculatorState() {
    static CalculatorState state;
    return state;
}

void ReleaseRecords() {
    // swap with an empty list so the storage itself goes too
    std::vector<IncomeRecord>().swap(calculatorState().records);
}

}  // namespace ql::tax
