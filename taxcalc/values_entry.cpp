// The tax values dialog apart from the dialog.
#include "taxcalc/values_entry.h"

#include "taxcalc/amounts.h"

namespace ql::tax {

ValuesSetup setupValues(int32_t mode, const CalculatorState& s) {
    switch (mode) {
    case StandardDeduction:
        // This year's social security wage base and standard deduction.
        return {true, QL_WIDE("Enter Standard Deduction"), QL_WIDE("176100.00"), QL_WIDE("Soc Sec Thresh"), true,
                QL_WIDE("15000.00"), QL_WIDE("Standard Deduction"), true};
    case TaxFromTable: {
        // No taxable income: no tax to look up.
        const bool none = s.taxableIncomeCents == 0;
        return {true, QL_WIDE("Enter Tax From Table"), formatCents(s.taxableIncomeCents), QL_WIDE("Taxable Income"),
                false, none ? QL_WIDE("0") : Text(), QL_WIDE("Tax From Table"), !none};
    }
    case PriorPayments:
        return {true, QL_WIDE("Enter Prior SE Tax Payments"), formatCents(s.netLiabilityCents),
                QL_WIDE("Current Tax Liability"), false, Text(), QL_WIDE("Prior Payments"), true};
    default:
        return {};
    }
}

Refusal acceptValues(int32_t mode, const Text& first, const Text& second, CalculatorState& s) {
    const int32_t a = textToCents(first.substr(0, kNumberCapacity - 1));
    const int32_t b = textToCents(second.substr(0, kNumberCapacity - 1));
    switch (mode) {
    case StandardDeduction:
        // Each value is stored before it is checked.
        s.ssThresholdCents = a;
        if (a < 1) return {QL_WIDE("Error"), QL_WIDE("You must enter social security threshhold")};
        s.standardDeductionCents = b;
        if (b < 1) return {QL_WIDE("Error"), QL_WIDE("You must enter standard deduction")};
        break;
    case TaxFromTable: s.tableTaxCents = b; break;
    case PriorPayments: s.priorPaymentsCents = b; break;
    default: break;
    }
    return {};
}

}  // namespace ql::tax
