// The dialog procedures of the calculator's three templates, and the small
// helpers they share.
#ifndef QL_TAXCALC_WIN32_DIALOG_PROCS_H
#define QL_TAXCALC_WIN32_DIALOG_PROCS_H

#include <windows.h>

#include <cstddef>

#include "taxcalc/income_entry.h"
#include "taxcalc/text.h"

namespace ql::tax {

INT_PTR CALLBACK CalculatorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);  // template 101
INT_PTR CALLBACK IncomeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);      // template 103
INT_PTR CALLBACK ValuesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);      // template 105

// Empties a month list and inserts the twelve names at its end, so that a
// sorted list still holds them in calendar order.
void fillMonthList(HWND dialog, int id);

// The selected index of a list, -1 when none.
int selectedIndex(HWND dialog, int id);

// A control's text read with a buffer of capacity characters.
Text controlText(HWND dialog, int id, std::size_t capacity);

void showControl(HWND dialog, int id, bool show);

// A refusal as a message box owned by the dialog, OK button only.
void showRefusal(HWND dialog, const Refusal& refusal);

}  // namespace ql::tax

#endif
