// Helpers shared by the calculator's dialog procedures.
#include <vector>

#include "taxcalc/calculator_platform.h"
#include "taxcalc/win32/dialog_procs.h"

namespace ql::tax {

void fillMonthList(HWND dialog, int id) {
    SendDlgItemMessageW(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const char* name : kMonthNames)
        SendDlgItemMessageW(dialog, id, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(ascii(name).c_str()));
}

int selectedIndex(HWND dialog, int id) {
    LRESULT i = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return i < 0 ? -1 : static_cast<int>(i);
}

Text controlText(HWND dialog, int id, std::size_t capacity) {
    std::vector<wchar_t> buffer(capacity, L'\0');
    GetDlgItemTextW(dialog, id, buffer.data(), static_cast<int>(capacity));
    return bounded(buffer.data(), capacity);
}

void showControl(HWND dialog, int id, bool show) { ShowWindow(GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE); }

void showRefusal(HWND dialog, const Refusal& refusal) {
    calculatorPlatform().MessageBoxW(dialog, ascii(refusal.message).c_str(), ascii(refusal.title).c_str(), MB_OK);
}

}  // namespace ql::tax
