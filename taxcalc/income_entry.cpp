// The checks of the income entry dialog.
#include "taxcalc/income_entry.h"

#include "taxcalc/amounts.h"

namespace ql::tax {

Refusal checkStartMonthChoice(int32_t index, int32_t currentMonth) {
    if (index > currentMonth) return {QL_WIDE("Error"), QL_WIDE("Start Month must be same as current month or earlier")};
    return {};
}

Refusal checkEndMonthChoice(int32_t index, int32_t selectedStartMonth) {
    if (index < selectedStartMonth) return {QL_WIDE("Error"), QL_WIDE("End Month must be same as start month or later")};
    return {};
}

IncomeCheck checkIncome(const IncomeInputs& in, int32_t currentMonth) {
    IncomeCheck out;
    const Text employer = in.employer.substr(0, kEmployerCapacity - 1);
    const Text net = in.netIncome.substr(0, kNumberCapacity - 1);
    const Text withholding = in.withholding.substr(0, kNumberCapacity - 1);

    // Only empty texts are refused: a blank name or "abc" as an amount pass.
    Refusal& r = out.refusal;
    if (employer.empty())
        r = {QL_WIDE("Employer Name Blank"), QL_WIDE("You must have valid employer name")};
    else if (in.startIndex < 0)
        r = {QL_WIDE("Invalid Start Month"), QL_WIDE("You must have valid start month")};
    else if (in.startIndex > currentMonth)
        r = {QL_WIDE("Invalid Start Month"), QL_WIDE("Start Month cannot be greater than current month")};
    else if (in.endIndex < in.startIndex)
        r = {QL_WIDE("Invalid End Month"), QL_WIDE("You must have valid end month equal or greater than start month")};
    else if (net.empty())
        r = {QL_WIDE("Invalid Net Income"), QL_WIDE("You must enter valid net income")};
    else if (in.kind == W2Employment && withholding.empty())
        r = {QL_WIDE("Invalid W2 Withholding"), QL_WIDE("You must enter W2 withholding")};
    if (r.refused()) return out;

    IncomeRecord& e = out.record;
    e.employer = employer;
    e.startMonth = in.startIndex;
    e.endMonth = in.endIndex;
    e.netCents = textToCents(net);
    e.withholdingCents = textToCents(withholding);
    e.monthsToDate = currentMonth - in.startIndex + 1;
    e.monthsInPeriod = in.endIndex - in.startIndex + 1;
    e.projectedCents = projectCents(e.netCents, e.monthsToDate, e.monthsInPeriod);
    e.kind = in.kind;
    return out;
}

}  // namespace ql::tax
