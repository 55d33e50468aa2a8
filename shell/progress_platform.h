// The platform calls behind the progress window.
//
// Each member is named after the Win32 call it wraps and takes portable
// types: windows and instances are void*, messages and styles uint32_t.
// shell/win32/ makes the real calls; shell/posix/ has no window system and
// fails to create a window, which leaves every update inert.  Unit tests
// install a recording fake with setProgressPlatform.
#ifndef QL_SHELL_PROGRESS_PLATFORM_H
#define QL_SHELL_PROGRESS_PLATFORM_H

#include <cstdint>

#include "qlcommon.h"

namespace ql {

struct QLRect {
    int32_t left, top, right, bottom;
};

struct ProgressPlatform {
    // Elapsed wall-clock time since the process started, in milliseconds.
    virtual int32_t clock() = 0;
    // Registers the window classes named by the ICC_* bits (the progress
    // bar needs ICC_PROGRESS_CLASS) before the first window is made.
    virtual bool InitCommonControlsEx(uint32_t classes) = 0;
    virtual bool GetClientRect(void* window, QLRect* rect) = 0;
    virtual void* CreateWindowExW(uint32_t exStyle, const QLWChar* className, const QLWChar* title,
                                  uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height,
                                  void* parent, void* menu, void* instance, void* param) = 0;
    virtual intptr_t SendMessageW(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    virtual bool ShowWindow(void* window, int32_t command) = 0;
    virtual bool InvalidateRect(void* window, const QLRect* rect, bool erase) = 0;
    virtual bool WaitMessage() = 0;
    virtual bool DestroyWindow(void* window) = 0;

protected:
    ~ProgressPlatform() = default;
};

// The platform's own implementation (shell/win32 or shell/posix).
ProgressPlatform& nativeProgressPlatform();

// The implementation the progress operations use: the native one unless a
// test installed another.  setProgressPlatform(nullptr) restores the native
// one; it returns the implementation it replaced.
ProgressPlatform& progressPlatform();
ProgressPlatform* setProgressPlatform(ProgressPlatform* platform);

// The values the progress window is made with.
namespace progress {
constexpr uint32_t kIccProgressClass = 0x20;     // ICC_PROGRESS_CLASS
constexpr uint32_t kExStyle = 0x8;               // WS_EX_TOPMOST
constexpr uint32_t kStyle = 0x1;                 // PBS_SMOOTH: a hidden top-level window
constexpr int32_t kDefaultPosition = INT32_MIN;  // CW_USEDEFAULT, hex 80000000
constexpr int32_t kHeight = 50;
constexpr uint32_t kSetRange32 = 0x406;          // PBM_SETRANGE32
constexpr uint32_t kSetPos = 0x402;              // PBM_SETPOS
constexpr int32_t kHide = 0;                     // SW_HIDE
constexpr int32_t kShow = 5;                     // SW_SHOW
constexpr int32_t kShowAfterMs = 1000;           // shown once more than this has passed
}  // namespace progress

}  // namespace ql

#endif
