// Slot 68: opening the self-employment tax calculator.
//
// The operation uses nothing of the service object: everything the
// calculator keeps lives in the library-wide CalculatorState.
#include "object/qlcommon_impl.h"
#include "resources/resource_ids.h"
#include "taxcalc/calculator_platform.h"

namespace ql {

// Returns the main dialog's end code: 1 after the results were shown, 2
// after Cancel.  0 when no dialog ran: a null parent, or a dialog that
// could not be created.
int32_t QLCommon::ShowTaxCalculator(QLWindow parent) {
    if (!parent) return 0;
    const intptr_t code = tax::calculatorPlatform().DialogBoxParamW(IDD_CALCULATOR, parent);
    return code == 1 || code == 2 ? static_cast<int32_t>(code) : 0;
}

}  // namespace ql
