// The tax computation.
#include "taxcalc/tax_computation.h"

#include "resources/resource_ids.h"
#include "taxcalc/amounts.h"
#include "taxcalc/calculator_platform.h"
#include "taxcalc/results_text.h"

namespace ql::tax {

void ProjectYear(const std::vector<IncomeRecord>& records, TaxFigures& f) {
    f.projectedTotal = 0;
    for (const IncomeRecord& r : records) f.projectedTotal = wrapAdd(f.projectedTotal, r.projectedCents);

    // Social security tax stops at the threshold: above it only the
    // threshold's share of the income counts.  Equality does not count.
    f.ssRatio = 1.0f;
    if (f.projectedTotal > f.ssThreshold) f.ssRatio = f32(f.ssThreshold) / f32(f.projectedTotal);

    const float a = f32(f.projectedTotal) * kSeBase;
    f.annualSeTax = wrapAdd(rounded(a * kMedicareRate), rounded(a * kSocSecRate * f.ssRatio));

    f.taxableIncome = wrapSub(wrapSub(f.projectedTotal, rounded(f32(f.annualSeTax) * kHalf)), f.standardDeduction);
    if (f.taxableIncome < 0) f.taxableIncome = 0;
}

void ComputeToDate(const std::vector<IncomeRecord>& records, TaxFigures& f) {
    // Each entry's share of the yearly income tax follows its part of the
    // projected income, scaled to the months to date.  With no projected
    // income there are no parts, and the income tax to date is 0.
    f.incomeTaxToDate = 0;
    if (f.projectedTotal != 0) {
        for (const IncomeRecord& r : records) {
            float share = f32(r.projectedCents) / f32(f.projectedTotal) * f32(f.tableTax) / f32(r.monthsInPeriod) *
                          f32(r.monthsToDate);
            f.incomeTaxToDate = wrapAdd(f.incomeTaxToDate, rounded(share));
        }
    }

    // An employee pays half the Medicare part; the employer pays the rest.
    f.seTaxToDate = 0;
    for (const IncomeRecord& r : records) {
        const float b = f32(r.netCents) * kSeBase;
        const float medicare = r.kind == W2Employment ? b * kMedicareRate * kHalf : b * kMedicareRate;
        f.seTaxToDate = wrapAdd(f.seTaxToDate, wrapAdd(rounded(b * kSocSecRate * f.ssRatio), rounded(medicare)));
    }

    f.currentLiability = wrapAdd(f.incomeTaxToDate, f.seTaxToDate);
    f.withholdingTotal = 0;
    for (const IncomeRecord& r : records) f.withholdingTotal = wrapAdd(f.withholdingTotal, r.withholdingCents);
    f.netLiability = wrapSub(f.currentLiability, f.withholdingTotal);
}

void Summarise(const std::vector<IncomeRecord>& records, TaxFigures& f) {
    f.netTotal = 0;
    for (const IncomeRecord& r : records) f.netTotal = wrapAdd(f.netTotal, r.netCents);
    // With no net income the percentage has no value; it shows as 0.00%.
    f.percent = f.netTotal == 0 ? 0 : rounded(f32(f.currentLiability) / f32(f.netTotal) * kTenThousand);
    f.amountDue = wrapSub(wrapSub(f.currentLiability, f.priorPayments), f.withholdingTotal);
}

namespace {

// The screen's measuring context for the length of a scope.
struct ScreenContext {
    explicit ScreenContext(CalculatorPlatform& p) : platform(p), dc(p.GetDC()) {}
    ~ScreenContext() {
        if (dc) platform.ReleaseDC(dc);
    }
    ScreenContext(const ScreenContext&) = delete;
    ScreenContext& operator=(const ScreenContext&) = delete;
    CalculatorPlatform& platform;
    void* dc;
};

bool askValues(CalculatorPlatform& ui, CalculatorState& s, ValuesMode mode, void* owner) {
    s.valuesMode = mode;
    return ui.DialogBoxParamW(IDD_VALUES, owner) == 1;
}

}  // namespace

bool ComputeResults(void* owner) {
    CalculatorState& s = calculatorState();
    CalculatorPlatform& ui = calculatorPlatform();

    s.standardDeductionCents = 0;
    s.ssThresholdCents = 0;
    s.taxableIncomeCents = 0;
    if (!askValues(ui, s, StandardDeduction, owner)) return false;

    TaxFigures f;
    f.ssThreshold = s.ssThresholdCents;
    f.standardDeduction = s.standardDeductionCents;
    ProjectYear(s.records, f);
    s.taxableIncomeCents = f.taxableIncome;

    if (!askValues(ui, s, TaxFromTable, owner)) return false;
    f.tableTax = s.tableTaxCents;
    ComputeToDate(s.records, f);
    s.netLiabilityCents = f.netLiability;

    if (!askValues(ui, s, PriorPayments, owner)) return false;
    f.priorPayments = s.priorPaymentsCents;
    Summarise(s.records, f);

    ScreenContext screen(ui);
    if (!screen.dc) return true;
    const Text text = BuildResultsText(s.records, f, [&](const Text& t, int32_t tabCount, const int32_t* tabStops) {
        return ui.GetTabbedTextExtentW(screen.dc, t.c_str(), static_cast<int32_t>(t.size()), tabCount, tabStops);
    });
    ui.MessageBoxW(owner, text.c_str(), ascii("Results").c_str(), 0);
    return true;  // the context is released after the message box closed
}

}  // namespace ql::tax
