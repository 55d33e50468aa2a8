// The calculator's library-wide state.
#include "taxcalc/calculator_state.h"

namespace ql::tax {

CalculatorState& calculatorState() {
    static CalculatorState state;
    return state;
}

void releaseRecords(CalculatorState& s) { std::vector<IncomeRecord>().swap(s.records); }

}  // namespace ql::tax
