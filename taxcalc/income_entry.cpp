// The checks of the income entry dialog.
#include "taxcalc/income_entry.h"

#include "taxcalc/amounts.h"

namespace ql::tax {

Refusal CheckStartMonthChoice(int32_t index, int32_t currentMonth) {
    if (index > currentMonth) return {"Error", "Start Month must be same as current month or earlier"};
    return {};
}

Refusal CheckEndMonthChoice(int32_t index, int32_t selectedStartMonth) {
    if (index < selectedStartMonth) return {"Error", "End Month must be same as start month or later"};
    return {};
}

AmountFields AmountFieldsFor(int32_t kind) {
    if (kind == SelfEmployment) return {true, true, false};
    if (kind == W2Employment) return {true, true, true};
    return {};
}

IncomeCheck CheckIncome(const IncomeInputs& in, int32_t currentMonth) {
    IncomeCheck out;
    // The fields hold at most 63 and 15 characters.
    const Text employer = in.employer.substr(0, kEmployerCapacity - 1);
    const Text net = in.netIncome.substr(0, kNumberCapacity - 1);
    const Text withholding = in.withholding.substr(0, kNumberCapacity - 1);

    // Only empty texts are refused: a blank name or "abc" as an amount pass.
    if (employer.empty())
        out.refusal = {"Employer Name Blank", "You must have valid employer name"};
    else if (in.startIndex < 0)
        out.refusal = {"Invalid Start Month", "You must have valid start month"};
    else if (in.startIndex > currentMonth)
        out.refusal = {"Invalid Start Month", "Start Month cannot be greater than current month"};
    else if (in.endIndex < in.startIndex)
        out.refusal = {"Invalid End Month", "You must have valid end month equal or greater than start month"};
    else if (net.empty())
        out.refusal = {"Invalid Net Income", "You must enter valid net income"};
    else if (in.kind == W2Employment && withholding.empty())
        out.refusal = {"Invalid W2 Withholding", "You must enter W2 withholding"};
    if (out.refusal.refused()) return out;

    IncomeRecord& r = out.record;
    r.employer = employer;
    r.startMonth = in.startIndex;
    r.endMonth = in.endIndex;
    r.netCents = TextToCents(net);
    r.withholdingCents = TextToCents(withholding);
    r.monthsToDate = currentMonth - in.startIndex + 1;
    r.monthsInPeriod = in.endIndex - in.startIndex + 1;
    r.projectedCents = ProjectCents(r.netCents, r.monthsToDate, r.monthsInPeriod);
    r.kind = in.kind;
    return out;
}

}  // namespace ql::tax
