// The progress window's platform calls on Windows.
#include <windows.h>
#include <commctrl.h>

#include <ctime>

#include "shell/progress_platform.h"

namespace ql {

namespace {

HWND hwnd(void* window) { return static_cast<HWND>(window); }

struct Win32ProgressPlatform final : ProgressPlatform {
    // The runtime's clock counts wall-clock milliseconds since the process
    // started (CLOCKS_PER_SEC is 1000), not processor time.
    int32_t clock() override { return static_cast<int32_t>(std::clock()); }

    bool InitCommonControlsEx(uint32_t classes) override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), classes};
        return ::InitCommonControlsEx(&icc) != FALSE;
    }

    bool GetClientRect(void* window, QLRect* rect) override {
        RECT r{};
        if (!::GetClientRect(hwnd(window), &r)) return false;
        *rect = QLRect{r.left, r.top, r.right, r.bottom};
        return true;
    }

    void* CreateWindowExW(uint32_t exStyle, const QLWChar* className, const QLWChar* title,
                          uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height,
                          void* parent, void* menu, void* instance, void* param) override {
        return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, hwnd(parent),
                                 static_cast<HMENU>(menu), static_cast<HINSTANCE>(instance), param);
    }

    intptr_t SendMessageW(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        return ::SendMessageW(hwnd(window), message, wParam, lParam);
    }

    bool ShowWindow(void* window, int32_t command) override { return ::ShowWindow(hwnd(window), command) != FALSE; }

    bool InvalidateRect(void* window, const QLRect* rect, bool erase) override {
        RECT r{};
        if (rect) r = RECT{rect->left, rect->top, rect->right, rect->bottom};
        return ::InvalidateRect(hwnd(window), rect ? &r : nullptr, erase) != FALSE;
    }

    bool WaitMessage() override { return ::WaitMessage() != FALSE; }

    bool DestroyWindow(void* window) override { return ::DestroyWindow(hwnd(window)) != FALSE; }
};

}  // namespace

ProgressPlatform& nativeProgressPlatform() {
    static Win32ProgressPlatform platform;
    return platform;
}

}  // namespace ql
