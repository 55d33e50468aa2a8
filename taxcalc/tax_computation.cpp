// The tax computation.
#include "taxcalc/tax_computation.h"

#include "taxcalc/amounts.h"

namespace ql::tax {
namespace {

// Projected total, social security ratio, yearly SE tax and taxable income.
void projectYear(CalculatorState& s, TaxFigures& f) {
    f.projectedTotal = 0;
    for (const IncomeRecord& r : s.records) f.projectedTotal = wrapAdd(f.projectedTotal, r.projectedCents);

    // Social security tax stops at the threshold: above it only the
    // threshold's share of the income counts.  Equality does not count.
    f.ssRatio = 1.0f;
    if (f.projectedTotal > s.ssThresholdCents) f.ssRatio = f32(s.ssThresholdCents) / f32(f.projectedTotal);

    const float a = f32(f.projectedTotal) * kSeBase;
    f.annualSeTax = wrapAdd(rounded(a * kMedicareRate), rounded(a * kSocSecRate * f.ssRatio));

    const int32_t taxable =
        wrapSub(wrapSub(f.projectedTotal, rounded(f32(f.annualSeTax) * kHalf)), s.standardDeductionCents);
    s.taxableIncomeCents = taxable < 0 ? 0 : taxable;
}

// Income tax and SE tax to date, the liability, withholding and net liability.
void computeToDate(CalculatorState& s, TaxFigures& f) {
    // Each entry's share of the yearly income tax follows its part of the
    // projected income, scaled to the months to date.  With no projected
    // income there are no parts, and the income tax to date is 0.
    f.incomeTaxToDate = 0;
    if (f.projectedTotal != 0) {
        for (const IncomeRecord& r : s.records) {
            const float share = f32(r.projectedCents) / f32(f.projectedTotal) * f32(s.tableTaxCents) /
                                f32(r.monthsInPeriod) * f32(r.monthsToDate);
            f.incomeTaxToDate = wrapAdd(f.incomeTaxToDate, rounded(share));
        }
    }

    // An employee pays half the Medicare part; the employer pays the rest.
    f.seTaxToDate = 0;
    f.withholdingTotal = 0;
    for (const IncomeRecord& r : s.records) {
        const float b = f32(r.netCents) * kSeBase;
        const float medicare = r.kind == W2Employment ? b * kMedicareRate * kHalf : b * kMedicareRate;
        f.seTaxToDate = wrapAdd(f.seTaxToDate, wrapAdd(rounded(b * kSocSecRate * f.ssRatio), rounded(medicare)));
        f.withholdingTotal = wrapAdd(f.withholdingTotal, r.withholdingCents);
    }
    f.currentLiability = wrapAdd(f.incomeTaxToDate, f.seTaxToDate);
    s.netLiabilityCents = wrapSub(f.currentLiability, f.withholdingTotal);
}

// Net total, the liability as a percentage of it, and the amount due.
void summarise(const CalculatorState& s, TaxFigures& f) {
    f.netTotal = 0;
    for (const IncomeRecord& r : s.records) f.netTotal = wrapAdd(f.netTotal, r.netCents);
    // With no net income the percentage has no value; it shows as 0.00%.
    f.percent = f.netTotal == 0 ? 0 : rounded(f32(f.currentLiability) / f32(f.netTotal) * kTenThousand);
    f.amountDue = wrapSub(wrapSub(f.currentLiability, s.priorPaymentsCents), f.withholdingTotal);
}

bool askFor(CalculatorState& s, const AskValues& ask, ValuesMode mode) {
    s.valuesMode = mode;
    return ask(mode);
}

}  // namespace

bool computeFigures(CalculatorState& s, const AskValues& ask, TaxFigures& f) {
    s.standardDeductionCents = 0;
    s.ssThresholdCents = 0;
    s.taxableIncomeCents = 0;
    if (!askFor(s, ask, StandardDeduction)) return false;
    projectYear(s, f);
    if (!askFor(s, ask, TaxFromTable)) return false;
    computeToDate(s, f);
    if (!askFor(s, ask, PriorPayments)) return false;
    summarise(s, f);
    return true;
}

}  // namespace ql::tax
