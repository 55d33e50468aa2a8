// The income entry dialog (template 103): one self-employment or W2 entry.
#include "resources/resource_ids.h"
#include "taxcalc/calculator_state.h"
#include "taxcalc/income_entry.h"
#include "taxcalc/win32/dialog_procs.h"

namespace ql::tax {
namespace {

void initialise(HWND dialog) {
    fillMonthList(dialog, IDC_START_MONTH);
    fillMonthList(dialog, IDC_END_MONTH);
    CalculatorState& s = calculatorState();
    s.selectedStartMonth = -1;
    s.selectedEndMonth = -1;
    if (s.pendingKind == SelfEmployment) SetWindowTextW(dialog, L"Self Employment Income");
    if (s.pendingKind == W2Employment) SetWindowTextW(dialog, L"W2 Employment Income");
    SetDlgItemTextW(dialog, IDC_EMPLOYER, L"");
    SetDlgItemTextW(dialog, IDC_NET_INCOME, L"");
    SetDlgItemTextW(dialog, IDC_SECOND_FIELD, L"");
}

void showAmountFields(HWND dialog, bool net, bool withholding) {
    showControl(dialog, IDC_NET_INCOME, net);
    showControl(dialog, IDC_NET_INCOME_LABEL, net);
    showControl(dialog, IDC_SECOND_FIELD, withholding);
    showControl(dialog, IDC_WITHHOLDING_LABEL, withholding);
}

void startChosen(HWND dialog) {
    const int index = selectedIndex(dialog, IDC_START_MONTH);
    if (index < 0) return;
    CalculatorState& s = calculatorState();
    const Refusal r = CheckStartMonthChoice(index, s.currentMonth);
    if (r.refused()) {
        showRefusal(dialog, r);
        SendDlgItemMessageW(dialog, IDC_START_MONTH, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        return;
    }
    showControl(dialog, IDC_END_MONTH, true);
    showControl(dialog, IDC_END_MONTH_LABEL, true);
    s.selectedStartMonth = index;
}

void endChosen(HWND dialog) {
    const int index = selectedIndex(dialog, IDC_END_MONTH);
    if (index < 0) return;
    CalculatorState& s = calculatorState();
    const Refusal r = CheckEndMonthChoice(index, s.selectedStartMonth);
    if (r.refused()) {
        showRefusal(dialog, r);
        SendDlgItemMessageW(dialog, IDC_END_MONTH, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        showAmountFields(dialog, false, false);
        return;
    }
    s.selectedEndMonth = index;
    const AmountFields f = AmountFieldsFor(s.pendingKind);
    if (f.change) showAmountFields(dialog, f.netIncome, f.withholding);
}

void accept(HWND dialog) {
    CalculatorState& s = calculatorState();
    IncomeInputs in;
    in.employer = controlText(dialog, IDC_EMPLOYER, kEmployerCapacity);
    s.selectedStartMonth = in.startIndex = selectedIndex(dialog, IDC_START_MONTH);
    s.selectedEndMonth = in.endIndex = selectedIndex(dialog, IDC_END_MONTH);
    in.netIncome = controlText(dialog, IDC_NET_INCOME, kNumberCapacity);
    // read for every kind; hidden and empty for a self-employment entry
    in.withholding = controlText(dialog, IDC_SECOND_FIELD, kNumberCapacity);
    in.kind = s.pendingKind;
    IncomeCheck check = CheckIncome(in, s.currentMonth);
    if (check.refusal.refused()) {
        showRefusal(dialog, check.refusal);
        return;
    }
    s.records.push_back(std::move(check.record));
    EndDialog(dialog, 1);
}

}  // namespace

INT_PTR CALLBACK IncomeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        initialise(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_START_MONTH:
        if (HIWORD(wParam) == CBN_SELCHANGE) startChosen(dialog);
        return FALSE;
    case IDC_END_MONTH:
        if (HIWORD(wParam) == CBN_SELCHANGE) endChosen(dialog);
        return FALSE;
    case IDOK:
        accept(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 2);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace ql::tax
