// The host toolkit, for qlhost and the host tests that meet real windows: a host window to own them,
// finding this process's dialogs and message boxes ("#32770"), reading
// them, pressing their buttons, and waits that always end.
#ifndef QL_HOSTKIT_DIALOGS_H
#define QL_HOSTKIT_DIALOGS_H

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace hostkit {

// A plain visible top-level window standing in for the host's main window.
class HostWindow {
public:
    explicit HostWindow(const wchar_t* title, int x = 50, int y = 50, int width = 400, int height = 300)
        : window_(CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width, height,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
    ~HostWindow() {
        if (window_) DestroyWindow(window_);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

inline bool isDialog(HWND w) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    return wcscmp(cls, L"#32770") == 0;
}

inline std::wstring windowText(HWND w) {
    wchar_t buffer[4096] = {};
    GetWindowTextW(w, buffer, 4096);
    return buffer;
}

inline std::wstring itemText(HWND dialog, int id) {
    wchar_t buffer[4096] = {};
    GetDlgItemTextW(dialog, id, buffer, 4096);
    return buffer;
}

// The text of a message box (its static control has the id 0xFFFF).
inline std::wstring messageBoxText(HWND box) { return itemText(box, 0xFFFF); }

// A visible dialog or message box of this process, or null.
inline HWND findOwnDialog() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid != GetCurrentProcessId() || !isDialog(w) || !IsWindowVisible(w)) return TRUE;
            *reinterpret_cast<HWND*>(p) = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The visible dialog or message box of a thread with this title, or null.
inline HWND findThreadDialog(DWORD thread, const std::wstring& title) {
    struct Search {
        const std::wstring* title;
        HWND found;
    } s{&title, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (!isDialog(w) || !IsWindowVisible(w) || windowText(w) != *s->title) return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Cancels every dialog and message box of a thread.
inline void cancelThreadDialogs(DWORD thread) {
    EnumThreadWindows(
        thread,
        [](HWND w, LPARAM) -> BOOL {
            if (isDialog(w)) PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        },
        0);
}

// A button press as the button itself reports it.  Posted, so a press that
// opens a modal window never blocks the thread that presses.
inline void press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Polls the condition every `step` until it holds (true) or `limit` has
// passed (false).
inline bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit,
                    std::chrono::milliseconds step = std::chrono::milliseconds(20)) {
    for (auto end = std::chrono::steady_clock::now() + limit; !condition();) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(step);
    }
    return true;
}

// Whether the window is closed or hidden within `limit`.
inline bool waitGone(HWND w, std::chrono::milliseconds limit) {
    return waitFor([w] { return !IsWindow(w) || !IsWindowVisible(w); }, limit);
}

}  // namespace hostkit

#endif
