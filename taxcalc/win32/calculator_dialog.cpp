// The calculator's main dialog (template 101): the month, the income
// entries, and "Calc".
#include "resources/resource_ids.h"
#include "taxcalc/calculator_platform.h"
#include "taxcalc/calculator_state.h"
#include "taxcalc/tax_computation.h"
#include "taxcalc/win32/dialog_procs.h"

namespace ql::tax {
namespace {

void initialise(HWND dialog) {
    fillMonthList(dialog, IDC_CURRENT_MONTH);
    SetWindowTextW(GetDlgItem(dialog, IDOK), L"Calc");
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
    // Nothing of an earlier opening carries over.
    CalculatorState& s = calculatorState();
    s.selectedStartMonth = -1;
    s.pendingKind = NoIncomeKind;
    ReleaseRecords();
    s.selectedEndMonth = -1;
    s.currentMonth = -1;
}

void monthChosen(HWND dialog) {
    const int month = selectedIndex(dialog, IDC_CURRENT_MONTH);
    if (month < 0) return;
    calculatorState().currentMonth = month;
    showControl(dialog, IDC_SE_INCOME, true);
    showControl(dialog, IDC_W2_INCOME, true);
}

void addIncome(HWND dialog, IncomeKind kind) {
    calculatorState().pendingKind = kind;
    if (calculatorPlatform().DialogBoxParamW(IDD_INCOME, dialog) != 1) return;
    // Every entry's months to date were counted from the current month, so
    // it can no longer change.
    EnableWindow(GetDlgItem(dialog, IDC_CURRENT_MONTH), FALSE);
    EnableWindow(GetDlgItem(dialog, IDOK), TRUE);
}

void calc(HWND dialog) {
    // "Calc" counts only while it is enabled, that is with entries present.
    if (!IsWindowEnabled(GetDlgItem(dialog, IDOK))) return;
    if (!ComputeResults(dialog)) return;
    ReleaseRecords();
    EndDialog(dialog, 1);
}

}  // namespace

INT_PTR CALLBACK CalculatorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        initialise(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_CURRENT_MONTH:
        if (HIWORD(wParam) == CBN_SELCHANGE) monthChosen(dialog);
        return FALSE;
    case IDC_SE_INCOME:
        addIncome(dialog, SelfEmployment);
        return FALSE;
    case IDC_W2_INCOME:
        addIncome(dialog, W2Employment);
        return FALSE;
    case IDOK:
        calc(dialog);
        return TRUE;
    case IDCANCEL:
        ReleaseRecords();
        EndDialog(dialog, 2);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace ql::tax
