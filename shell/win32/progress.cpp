// The delayed progress window: a smooth progress bar in a top-most window
// owned by the host's window, created hidden and shown only once an
// operation has lasted more than a second, so short operations never flash
// a window.  BeginProgress also names the owner of the missing-resource
// messages (warnings.cpp).
#include <windows.h>
#include <commctrl.h>

#include <ctime>

#include "object/win32/qlcommon_impl.h"
#include "shell/window_rules.h"

namespace ql {

namespace {

constexpr int kHeight = 50;

// The runtime's clock counts wall-clock milliseconds since the process
// started (CLOCKS_PER_SEC is 1000), not processor time.
int32_t now() { return static_cast<int32_t>(std::clock()); }

// A hidden top-level window (PBS_SMOOTH and nothing else: neither
// WS_CHILD nor WS_VISIBLE) owned by the parent, as wide as its client area.
HWND createProgressWindow(HWND parent, HINSTANCE instance) {
    RECT client{};
    if (!GetClientRect(parent, &client)) client = RECT{};
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    return CreateWindowExW(WS_EX_TOPMOST, PROGRESS_CLASSW, nullptr, PBS_SMOOTH, CW_USEDEFAULT, CW_USEDEFAULT,
                           client.right - client.left, kHeight, parent, nullptr, instance, nullptr);
}

void applyShowRule(const QLState& s) {
    if (progressDue(now(), s.progressStartTime)) ShowWindow(s.progressWindow.get(), SW_SHOW);
}

// Moves the bar, asks for a repaint and lets the thread's messages in.
void moveTo(QLState& s, int32_t pos) {
    applyShowRule(s);
    s.progressPos = pos;
    SendMessageW(s.progressWindow.get(), PBM_SETPOS, static_cast<WPARAM>(pos), 0);
    InvalidateRect(s.progressWindow.get(), nullptr, FALSE);
    WaitMessage();
}

}  // namespace

void closeWindow(HWND window) { DestroyWindow(window); }

void QLCommon::BeginProgress(QLWindow parent, QLInstance instance, int32_t range) {
    if (!state_) return;
    QLState& s = *state_;
    // Without a parent there is no width to take and no owner to name: no
    // window is made, and the owner of the warnings stays as it was.
    if (!s.progressWindow && parent)
        s.progressWindow.reset(createProgressWindow(hostWindow(parent), hostInstance(instance)));
    if (s.progressWindow) {
        SendMessageW(s.progressWindow.get(), PBM_SETRANGE32, 0, range);
        SendMessageW(s.progressWindow.get(), PBM_SETPOS, 0, 0);
        ShowWindow(s.progressWindow.get(), SW_HIDE);
        s.progressStartTime = now();
        s.progressPos = 0;
    }
    if (parent) s.ownerWindow = hostWindow(parent);
}

// The clock, position and owner stay as they were: only the window goes.
void QLCommon::EndProgress() {
    if (state_) state_->progressWindow.reset();
}

void QLCommon::SetProgressPos(int32_t pos) {
    if (!state_ || !state_->progressWindow) return;
    moveTo(*state_, pos);
}

void QLCommon::StepProgress() {
    if (!state_ || !state_->progressWindow) return;
    // Wraps rather than overflows at the top of the range of int32_t.
    moveTo(*state_, static_cast<int32_t>(static_cast<uint32_t>(state_->progressPos) + 1u));
}

void QLCommon::IdleProgress() {
    if (!state_ || !state_->progressWindow) return;
    applyShowRule(*state_);
    WaitMessage();
}

}  // namespace ql
