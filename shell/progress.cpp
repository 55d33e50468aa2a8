// The delayed progress window: a smooth progress bar in a top-most window
// owned by the host's window, created hidden and shown only once an
// operation has lasted more than a second, so short operations never flash
// a window.  BeginProgress also names the owner of the missing-resource
// messages (warnings.cpp).
#include "object/qlcommon_impl.h"
#include "shell/progress_platform.h"
#include "object/wide_text.h"


namespace ql {

namespace {

const QLWChar kProgressClass[] = QL_WIDE("msctls_progress32");

void* createProgressWindow(ProgressPlatform& p, void* parent, void* instance) {
    QLRect client{};
    if (!p.GetClientRect(parent, &client)) client = QLRect{};
    p.InitCommonControlsEx(progress::kIccProgressClass);
    return p.CreateWindowExW(progress::kExStyle, kProgressClass, nullptr, progress::kStyle,
                             progress::kDefaultPosition, progress::kDefaultPosition,
                             client.right - client.left, progress::kHeight,
                             parent, nullptr, instance, nullptr);
}

// Shown once more than a second has passed since the last start; the
// difference is taken in 32 bits so that a wrapped clock still counts.
void applyShowRule(ProgressPlatform& p, const QLState& s) {
    const int32_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(p.clock()) -
                                                 static_cast<uint32_t>(s.progressStartTime));
    if (elapsed > progress::kShowAfterMs) p.ShowWindow(s.progressWindow, progress::kShow);
}

// Moves the bar, asks for a repaint and lets the thread's messages in.
void moveTo(ProgressPlatform& p, QLState& s, int32_t pos) {
    applyShowRule(p, s);
    s.progressPos = pos;
    p.SendMessageW(s.progressWindow, progress::kSetPos, static_cast<uintptr_t>(pos), 0);
    p.InvalidateRect(s.progressWindow, nullptr, false);
    p.WaitMessage();
}

}  // namespace

void QLCommon::BeginProgress(QLWindow parent, QLInstance instance, int32_t range) {
    if (!state_) return;
    QLState& s = *state_;
    ProgressPlatform& p = progressPlatform();
    // Without a parent there is no width to take and no owner to name: no
    // window is made, and the owner of the warnings stays as it was.
    if (!s.progressWindow && parent) s.progressWindow = createProgressWindow(p, parent, instance);
    if (s.progressWindow) {
        p.SendMessageW(s.progressWindow, progress::kSetRange32, 0, range);
        p.SendMessageW(s.progressWindow, progress::kSetPos, 0, 0);
        p.ShowWindow(s.progressWindow, progress::kHide);
        s.progressStartTime = p.clock();
        s.progressPos = 0;
    }
    if (parent) s.ownerWindow = parent;
}

void QLCommon::EndProgress() {
    if (!state_) return;
    releaseProgressWindow(*state_);
}

void QLCommon::SetProgressPos(int32_t pos) {
    if (!state_ || !state_->progressWindow) return;
    moveTo(progressPlatform(), *state_, pos);
}

void QLCommon::StepProgress() {
    if (!state_ || !state_->progressWindow) return;
    // Wraps rather than overflows at the top of the range of int32_t.
    const int32_t next = static_cast<int32_t>(static_cast<uint32_t>(state_->progressPos) + 1u);
    moveTo(progressPlatform(), *state_, next);
}

void QLCommon::IdleProgress() {
    if (!state_ || !state_->progressWindow) return;
    ProgressPlatform& p = progressPlatform();
    applyShowRule(p, *state_);
    p.WaitMessage();
}

// The clock, position and owner stay as they were: only the window goes.
void releaseProgressWindow(QLState& s) {
    if (!s.progressWindow) return;
    progressPlatform().DestroyWindow(s.progressWindow);
    s.progressWindow = nullptr;
}

}  // namespace ql
