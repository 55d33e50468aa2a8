// The tax computation: from the income entries and the three entered
// values to the figures of the results text.  No window system needed.
#ifndef QL_TAXCALC_TAX_COMPUTATION_H
#define QL_TAXCALC_TAX_COMPUTATION_H

#include <cstdint>
#include <vector>

#include "taxcalc/calculator_state.h"

namespace ql::tax {

struct TaxFigures {
    // entered values
    int32_t ssThreshold = 0;
    int32_t standardDeduction = 0;
    int32_t tableTax = 0;
    int32_t priorPayments = 0;
    // the whole year (ProjectYear)
    int32_t projectedTotal = 0;
    float ssRatio = 1.0f;
    int32_t annualSeTax = 0;
    int32_t taxableIncome = 0;
    // the year so far (ComputeToDate)
    int32_t incomeTaxToDate = 0;
    int32_t seTaxToDate = 0;
    int32_t currentLiability = 0;
    int32_t withholdingTotal = 0;
    int32_t netLiability = 0;
    // the summary (Summarise)
    int32_t netTotal = 0;
    int32_t percent = 0;  // hundredths of a percent
    int32_t amountDue = 0;
};

// Projected total, social security ratio, yearly SE tax and taxable income.
void ProjectYear(const std::vector<IncomeRecord>& records, TaxFigures& f);
// Income tax and SE tax to date, the liability, withholding and net liability.
void ComputeToDate(const std::vector<IncomeRecord>& records, TaxFigures& f);
// Net total, the liability as a percentage of it, and the amount due.
void Summarise(const std::vector<IncomeRecord>& records, TaxFigures& f);

// Runs the whole computation with the three values dialogs, then shows the
// results owned by owner.  False when a values dialog was not ended with
// OK; true otherwise, also when there was no screen context to measure on
// and nothing was shown.
bool ComputeResults(void* owner);

}  // namespace ql::tax

#endif
