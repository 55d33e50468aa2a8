// The tax computation: from the income entries and the three entered
// values to the figures of the results text.  No window system needed.
#ifndef QL_TAXCALC_TAX_COMPUTATION_H
#define QL_TAXCALC_TAX_COMPUTATION_H

#include <cstdint>
#include <functional>

#include "taxcalc/calculator_state.h"

namespace ql::tax {

struct TaxFigures {
    // the whole year
    int32_t projectedTotal = 0;
    float ssRatio = 1.0f;
    int32_t annualSeTax = 0;
    // the year so far
    int32_t incomeTaxToDate = 0;
    int32_t seTaxToDate = 0;
    int32_t currentLiability = 0;
    int32_t withholdingTotal = 0;
    // the summary
    int32_t netTotal = 0;
    int32_t percent = 0;  // hundredths of a percent
    int32_t amountDue = 0;
};

// Asks the user for the values of one mode (the values dialog): true when
// they were entered and accepted, false when the user cancelled.
using AskValues = std::function<bool(ValuesMode mode)>;

// The computation on the state's entries, asking for the three values
// between its steps; it sets valuesMode before each question and stores
// taxableIncomeCents and netLiabilityCents.  False as soon as a question
// was cancelled; then f is incomplete.
bool computeFigures(CalculatorState& s, const AskValues& ask, TaxFigures& f);

}  // namespace ql::tax

#endif
