// The calculator's three dialogs and slot 68.
//
// Each dialog is a struct naming its template and its handlers; one
// procedure (dialogProcedure) answers the messages of all three:
//   initialise(dialog)       WM_INITDIALOG
//   command(dialog, id, n)   a command of any other control, n its notification
//   ok(dialog)               OK; it ends the dialog or keeps it open
//   cancel(dialog)           Cancel, Escape or the close box; the dialog then ends with 2
// The checks and the computation are the portable code's (income_entry.h,
// values_entry.h, tax_computation.h, results_text.h); what is here reads
// the controls, shows what those functions return, and opens the windows.
#include <windows.h>

#include <vector>

#include "base/owned.h"
#include "object/win32/qlcommon_impl.h"
#include "object/win32/state.h"
#include "resources/resource_ids.h"
#include "taxcalc/calculator_state.h"
#include "taxcalc/income_entry.h"
#include "taxcalc/results_text.h"
#include "taxcalc/tax_computation.h"
#include "taxcalc/values_entry.h"

namespace ql::tax {
namespace {

void releaseScreenContext(HDC dc) { ReleaseDC(nullptr, dc); }
using ScreenContext = Owned<HDC, releaseScreenContext>;

template <class Dialog>
INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        Dialog::initialise(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        Dialog::ok(dialog);
        return TRUE;
    case IDCANCEL:
        Dialog::cancel(dialog);
        EndDialog(dialog, 2);
        return TRUE;
    default:
        Dialog::command(dialog, LOWORD(wParam), HIWORD(wParam));
        return FALSE;
    }
}

// Opens the dialog modally, owned by owner; its end code, or -1 when it
// could not be created.
template <class Dialog>
intptr_t openDialog(HWND owner) {
    return DialogBoxParamW(moduleInstance, MAKEINTRESOURCEW(Dialog::kTemplate), owner,
                           dialogProcedure<Dialog>, 0);
}

// Empties a month list and inserts the twelve names at its end, so that a
// sorted list still holds them in calendar order.
void fillMonthList(HWND dialog, int id) {
    static const wchar_t* const names[12] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                             L"July",    L"August",   L"September", L"October", L"November", L"December"};
    SendDlgItemMessageW(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* name : names)
        SendDlgItemMessageW(dialog, id, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
}

// The selected index of a list, -1 when none.
int selectedIndex(HWND dialog, int id) {
    const LRESULT i = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return i < 0 ? -1 : static_cast<int>(i);
}

void clearSelection(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(-1), 0); }

// A control's text read with a buffer of capacity characters.
Text controlText(HWND dialog, int id, std::size_t capacity) {
    std::vector<wchar_t> buffer(capacity, L'\0');
    GetDlgItemTextW(dialog, id, buffer.data(), static_cast<int>(capacity));
    return Text(buffer.data(), textLength(buffer.data(), capacity));
}

void show(HWND dialog, int id, bool shown) { ShowWindow(GetDlgItem(dialog, id), shown ? SW_SHOW : SW_HIDE); }
void enable(HWND dialog, int id, bool enabled) { EnableWindow(GetDlgItem(dialog, id), enabled); }

// A refusal as a message box owned by the dialog, OK button only.
void refuse(HWND dialog, const Refusal& r) { MessageBoxW(dialog, r.message, r.title, MB_OK); }

// Template 103: one self-employment or W2 entry.
struct IncomeDialog {
    static constexpr int kTemplate = IDD_INCOME;

    static void initialise(HWND dialog) {
        fillMonthList(dialog, IDC_START_MONTH);
        fillMonthList(dialog, IDC_END_MONTH);
        CalculatorState& s = calculatorState();
        s.selectedStartMonth = -1;
        s.selectedEndMonth = -1;
        if (s.pendingKind == SelfEmployment) SetWindowTextW(dialog, L"Self Employment Income");
        if (s.pendingKind == W2Employment) SetWindowTextW(dialog, L"W2 Employment Income");
        for (int id : {IDC_EMPLOYER, IDC_NET_INCOME, IDC_SECOND_FIELD}) SetDlgItemTextW(dialog, id, L"");
    }

    static void showAmounts(HWND dialog, bool net, bool withholding) {
        show(dialog, IDC_NET_INCOME, net);
        show(dialog, IDC_NET_INCOME_LABEL, net);
        show(dialog, IDC_SECOND_FIELD, withholding);
        show(dialog, IDC_WITHHOLDING_LABEL, withholding);
    }

    static void command(HWND dialog, int id, int notification) {
        if (notification != CBN_SELCHANGE || (id != IDC_START_MONTH && id != IDC_END_MONTH)) return;
        const int index = selectedIndex(dialog, id);
        if (index < 0) return;
        CalculatorState& s = calculatorState();
        const bool start = id == IDC_START_MONTH;
        const Refusal r = start ? checkStartMonthChoice(index, s.currentMonth)
                                : checkEndMonthChoice(index, s.selectedStartMonth);
        if (r.refused()) {
            refuse(dialog, r);
            clearSelection(dialog, id);
            if (!start) showAmounts(dialog, false, false);
        } else if (start) {
            show(dialog, IDC_END_MONTH, true);
            show(dialog, IDC_END_MONTH_LABEL, true);
            s.selectedStartMonth = index;
        } else {
            s.selectedEndMonth = index;
            if (s.pendingKind == SelfEmployment || s.pendingKind == W2Employment)
                showAmounts(dialog, true, s.pendingKind == W2Employment);
        }
    }

    static void ok(HWND dialog) {
        CalculatorState& s = calculatorState();
        IncomeInputs in;
        in.employer = controlText(dialog, IDC_EMPLOYER, kEmployerCapacity);
        s.selectedStartMonth = in.startIndex = selectedIndex(dialog, IDC_START_MONTH);
        s.selectedEndMonth = in.endIndex = selectedIndex(dialog, IDC_END_MONTH);
        in.netIncome = controlText(dialog, IDC_NET_INCOME, kNumberCapacity);
        // read for every kind; hidden and empty for a self-employment entry
        in.withholding = controlText(dialog, IDC_SECOND_FIELD, kNumberCapacity);
        in.kind = s.pendingKind;
        IncomeCheck check = checkIncome(in, s.currentMonth);
        if (check.refusal.refused()) return refuse(dialog, check.refusal);
        s.records.push_back(std::move(check.record));
        EndDialog(dialog, 1);
    }

    static void cancel(HWND) {}
};

// Template 105: two labelled amounts, in the mode the computation set.
struct ValuesDialog {
    static constexpr int kTemplate = IDD_VALUES;

    // The first label has no identifier of its own (-1): it is the first
    // child of the dialog whose identifier is -1.
    static HWND firstLabel(HWND dialog) {
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if ((GetDlgCtrlID(child) & 0xFFFF) == 0xFFFF) return child;
        return nullptr;
    }

    static void initialise(HWND dialog) {
        const ValuesSetup v = setupValues(calculatorState().valuesMode, calculatorState());
        if (!v.known) return;
        SetWindowTextW(dialog, v.title.c_str());
        SetDlgItemTextW(dialog, IDC_FIRST_FIELD, v.firstText.c_str());
        enable(dialog, IDC_FIRST_FIELD, v.firstEnabled);
        if (HWND label = firstLabel(dialog)) SetWindowTextW(label, v.firstLabel.c_str());
        SetDlgItemTextW(dialog, IDC_SECOND_FIELD, v.secondText.c_str());
        enable(dialog, IDC_SECOND_FIELD, v.secondEnabled);
        SetDlgItemTextW(dialog, IDC_VALUE2_LABEL, v.secondLabel.c_str());
    }

    static void command(HWND, int, int) {}

    static void ok(HWND dialog) {
        const Refusal r = acceptValues(calculatorState().valuesMode, controlText(dialog, IDC_FIRST_FIELD, kNumberCapacity),
                                       controlText(dialog, IDC_SECOND_FIELD, kNumberCapacity), calculatorState());
        if (r.refused()) return refuse(dialog, r);
        EndDialog(dialog, 1);
    }

    static void cancel(HWND) {}
};

// "Calc": the computation between the three values dialogs, then the
// results owned by owner.  False when a values dialog was not ended with
// OK; true otherwise, also when there was no screen context to measure on
// and nothing was shown.
bool computeResults(HWND owner) {
    CalculatorState& s = calculatorState();
    TaxFigures f;
    if (!computeFigures(s, [owner](ValuesMode) { return openDialog<ValuesDialog>(owner) == 1; }, f)) return false;
    const ScreenContext screen(GetDC(nullptr));
    if (!screen) return true;
    const Text text = buildResultsText(s, f, [&](const Text& t, int32_t tabCount, const int32_t* stops) {
        return static_cast<uint32_t>(GetTabbedTextExtentW(screen.get(), t.c_str(), static_cast<int>(t.size()), tabCount,
                                                          const_cast<INT*>(stops)));
    });
    MessageBoxW(owner, text.c_str(), L"Results", MB_OK);
    return true;  // the context is released after the message box closed
}

// Template 101: the month, the income entries, and "Calc".
struct MainDialog {
    static constexpr int kTemplate = IDD_CALCULATOR;

    static void initialise(HWND dialog) {
        fillMonthList(dialog, IDC_CURRENT_MONTH);
        SetWindowTextW(GetDlgItem(dialog, IDOK), L"Calc");
        enable(dialog, IDOK, false);
        // Nothing of an earlier opening carries over.
        CalculatorState& s = calculatorState();
        s.selectedStartMonth = -1;
        s.pendingKind = NoIncomeKind;
        releaseRecords(s);
        s.selectedEndMonth = -1;
        s.currentMonth = -1;
    }

    static void command(HWND dialog, int id, int notification) {
        CalculatorState& s = calculatorState();
        if (id == IDC_CURRENT_MONTH && notification == CBN_SELCHANGE) {
            const int month = selectedIndex(dialog, IDC_CURRENT_MONTH);
            if (month < 0) return;
            s.currentMonth = month;
            show(dialog, IDC_SE_INCOME, true);
            show(dialog, IDC_W2_INCOME, true);
        } else if (id == IDC_SE_INCOME || id == IDC_W2_INCOME) {
            s.pendingKind = id == IDC_SE_INCOME ? SelfEmployment : W2Employment;
            if (openDialog<IncomeDialog>(dialog) != 1) return;
            // Every entry's months to date were counted from the current
            // month, so it can no longer change.
            enable(dialog, IDC_CURRENT_MONTH, false);
            enable(dialog, IDOK, true);
        }
    }

    static void ok(HWND dialog) {
        // "Calc" counts only while it is enabled, that is with entries present.
        if (!IsWindowEnabled(GetDlgItem(dialog, IDOK)) || !computeResults(dialog)) return;
        releaseRecords(calculatorState());
        EndDialog(dialog, 1);
    }

    static void cancel(HWND) { releaseRecords(calculatorState()); }
};

}  // namespace
}  // namespace ql::tax

namespace ql {

// Returns the main dialog's end code: 1 after the results were shown, 2
// after Cancel.  0 when no dialog ran: a null parent, or a dialog that
// could not be created.  The service object's state record is not used.
int32_t QLCommon::ShowTaxCalculator(QLWindow parent) {
    if (!parent) return 0;
    const intptr_t code = tax::openDialog<tax::MainDialog>(hostWindow(parent));
    return code == 1 || code == 2 ? static_cast<int32_t>(code) : 0;
}

}  // namespace ql
