// The calculator's library-wide state and its income entries.
//
// One CalculatorState exists while the library is loaded, shared by every
// service object.  Money is held in signed 32-bit cents, months as 0..11
// with -1 for "none".  Texts are UTF-16, as the dialogs show them.
#ifndef QL_TAXCALC_CALCULATOR_STATE_H
#define QL_TAXCALC_CALCULATOR_STATE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/wide_text.h"

namespace ql::tax {

using Text = std::basic_string<QLWChar>;

enum IncomeKind : int32_t { NoIncomeKind = 0, SelfEmployment = 1, W2Employment = 2 };
enum ValuesMode : int32_t { StandardDeduction = 1, TaxFromTable = 2, PriorPayments = 3 };

// Capacities of the dialogs' text fields, terminator included.
constexpr std::size_t kEmployerCapacity = 64;
constexpr std::size_t kNumberCapacity = 16;

struct IncomeRecord {
    Text employer;               // at most 63 characters, never empty
    int32_t startMonth = 0;
    int32_t endMonth = 0;
    int32_t netCents = 0;        // net income up to the current month
    int32_t withholdingCents = 0;
    int32_t monthsToDate = 0;    // currentMonth - startMonth + 1
    int32_t monthsInPeriod = 0;  // endMonth - startMonth + 1
    int32_t projectedCents = 0;  // net income over the whole period
    int32_t kind = 0;            // IncomeKind
};

struct CalculatorState {
    int32_t currentMonth = 0;
    int32_t pendingKind = 0;
    int32_t selectedStartMonth = 0;
    int32_t selectedEndMonth = 0;
    std::vector<IncomeRecord> records;  // in the order they were accepted
    int32_t ssThresholdCents = 0;
    int32_t standardDeductionCents = 0;
    int32_t taxableIncomeCents = 0;
    int32_t tableTaxCents = 0;
    int32_t priorPaymentsCents = 0;
    int32_t netLiabilityCents = 0;
    int32_t valuesMode = 0;
};

// The one instance.  Unguarded: one calculator is open at a time, on the
// thread that opened it.
CalculatorState& calculatorState();

// Releases every income entry with its storage; the list is left empty.
void releaseRecords(CalculatorState& s);

}  // namespace ql::tax

#endif
