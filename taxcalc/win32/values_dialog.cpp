// The tax values dialog (template 105): two labelled amounts, in the mode
// the computation set.
#include "resources/resource_ids.h"
#include "taxcalc/calculator_state.h"
#include "taxcalc/values_entry.h"
#include "taxcalc/win32/dialog_procs.h"

namespace ql::tax {
namespace {

// The first label has no identifier of its own (-1): it is the first
// child of the dialog whose identifier is -1.
HWND firstLabel(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetDlgCtrlID(child) & 0xFFFF) == 0xFFFF) return child;
    return nullptr;
}

void initialise(HWND dialog) {
    const ValuesSetup v = SetupValues(calculatorState().valuesMode, calculatorState());
    if (!v.known) return;
    SetWindowTextW(dialog, v.title.c_str());
    SetDlgItemTextW(dialog, IDC_FIRST_FIELD, v.firstText.c_str());
    EnableWindow(GetDlgItem(dialog, IDC_FIRST_FIELD), v.firstEnabled);
    if (HWND label = firstLabel(dialog)) SetWindowTextW(label, v.firstLabel.c_str());
    SetDlgItemTextW(dialog, IDC_SECOND_FIELD, v.secondText.c_str());
    EnableWindow(GetDlgItem(dialog, IDC_SECOND_FIELD), v.secondEnabled);
    SetDlgItemTextW(dialog, IDC_VALUE2_LABEL, v.secondLabel.c_str());
}

void accept(HWND dialog) {
    const Refusal r = AcceptValues(calculatorState().valuesMode, controlText(dialog, IDC_FIRST_FIELD, kNumberCapacity),
                                   controlText(dialog, IDC_SECOND_FIELD, kNumberCapacity), calculatorState());
    if (r.refused()) {
        showRefusal(dialog, r);
        return;
    }
    EndDialog(dialog, 1);
}

}  // namespace

INT_PTR CALLBACK ValuesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        initialise(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
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
