// The calculator's platform seam on Windows: the real calls.
#include <windows.h>

#include "object/state.h"
#include "resources/resource_ids.h"
#include "taxcalc/calculator_platform.h"
#include "taxcalc/win32/dialog_procs.h"

namespace ql::tax {
namespace {

DLGPROC procedureFor(int32_t templateId) {
    switch (templateId) {
    case IDD_CALCULATOR: return CalculatorDialogProc;
    case IDD_INCOME: return IncomeDialogProc;
    case IDD_VALUES: return ValuesDialogProc;
    default: return nullptr;
    }
}

struct Win32Platform final : CalculatorPlatform {
    intptr_t DialogBoxParamW(int32_t templateId, void* owner) override {
        DLGPROC proc = procedureFor(templateId);
        if (!proc) return -1;
        return ::DialogBoxParamW(static_cast<HINSTANCE>(moduleInstance), MAKEINTRESOURCEW(templateId),
                                 static_cast<HWND>(owner), proc, 0);
    }
    void* GetDC() override { return ::GetDC(nullptr); }
    uint32_t GetTabbedTextExtentW(void* dc, const QLWChar* text, int32_t count, int32_t tabCount,
                                  const int32_t* tabStops) override {
        // INT and int32_t are the same type on Windows.
        return ::GetTabbedTextExtentW(static_cast<HDC>(dc), text, count, tabCount,
                                      const_cast<INT*>(reinterpret_cast<const INT*>(tabStops)));
    }
    int32_t MessageBoxW(void* owner, const QLWChar* text, const QLWChar* caption, uint32_t type) override {
        return ::MessageBoxW(static_cast<HWND>(owner), text, caption, type);
    }
    int32_t ReleaseDC(void* dc) override { return ::ReleaseDC(nullptr, static_cast<HDC>(dc)); }
};

}  // namespace

CalculatorPlatform& nativeCalculatorPlatform() {
    static Win32Platform platform;
    return platform;
}

}  // namespace ql::tax
