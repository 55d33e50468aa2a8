// For the window subcommands: closes the process's dialog after a delay,
// so that a demo or a screenshot script can show a picker or a message box
// and carry on without anyone at the keyboard.
#ifndef QLHOST_CMD_PICK_CLOSER_H
#define QLHOST_CMD_PICK_CLOSER_H

#include <windows.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "qlhost.h"

namespace qlhost {

// A visible dialog window ("#32770") of this process, or null.
inline HWND findOwnDialog() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (pid != GetCurrentProcessId() || wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(w)) return TRUE;
            *reinterpret_cast<HWND*>(p) = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// With a delay above 0: after that many milliseconds, cancels whatever
// dialog the process shows (a message box takes Cancel as its OK), every
// 200 ms until the closer goes out of scope.
class DialogCloser {
public:
    explicit DialogCloser(int delayMs) {
        if (delayMs <= 0) return;
        thread_ = std::thread([this, delayMs] {
            const auto start = std::chrono::steady_clock::now();
            while (!stop_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(delayMs)) continue;
                if (HWND d = findOwnDialog()) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
            }
        });
    }
    ~DialogCloser() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    DialogCloser(const DialogCloser&) = delete;
    DialogCloser& operator=(const DialogCloser&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Takes "--close-after MS" out of the arguments; 0 when it is not there.
inline int takeCloseAfter(Args& args) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] != L"--close-after") continue;
        const int ms = _wtoi(args[i + 1].c_str());
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        return ms;
    }
    return 0;
}

}  // namespace qlhost

#endif
