// The tax values dialog apart from the dialog.
#include "taxcalc/values_entry.h"

#include "taxcalc/amounts.h"

namespace ql::tax {

ValuesSetup SetupValues(int32_t mode, const CalculatorState& s) {
    ValuesSetup v;
    switch (mode) {
    case StandardDeduction:
        // This year's social security wage base and standard deduction.
        v = {true, ascii("Enter Standard Deduction"), ascii("176100.00"), ascii("Soc Sec Thresh"), true,
             ascii("15000.00"), ascii("Standard Deduction"), true};
        break;
    case TaxFromTable:
        v = {true, ascii("Enter Tax From Table"), FormatCents(s.taxableIncomeCents), ascii("Taxable Income"), false,
             Text(), ascii("Tax From Table"), true};
        // No taxable income: no tax to look up.
        if (s.taxableIncomeCents == 0) {
            v.secondText = ascii("0");
            v.secondEnabled = false;
        }
        break;
    case PriorPayments:
        v = {true, ascii("Enter Prior SE Tax Payments"), FormatCents(s.netLiabilityCents),
             ascii("Current Tax Liability"), false, Text(), ascii("Prior Payments"), true};
        break;
    default:
        break;
    }
    return v;
}

Refusal AcceptValues(int32_t mode, const Text& first, const Text& second, CalculatorState& s) {
    const Text a = first.substr(0, kNumberCapacity - 1);
    const Text b = second.substr(0, kNumberCapacity - 1);
    switch (mode) {
    case StandardDeduction:
        // Each value is stored before it is checked.
        s.ssThresholdCents = TextToCents(a);
        if (s.ssThresholdCents < 1) return {"Error", "You must enter social security threshhold"};
        s.standardDeductionCents = TextToCents(b);
        if (s.standardDeductionCents < 1) return {"Error", "You must enter standard deduction"};
        return {};
    case TaxFromTable:
        s.tableTaxCents = TextToCents(b);
        return {};
    case PriorPayments:
        s.priorPaymentsCents = TextToCents(b);
        return {};
    default:
        return {};
    }
}

}  // namespace ql::tax
