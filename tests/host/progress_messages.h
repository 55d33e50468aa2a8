// For the progress host tests: messages kept coming to the test's thread,
// and the progress-bar window a host window owns.
#ifndef QL_TESTS_WINE_PROGRESS_MESSAGES_H
#define QL_TESTS_WINE_PROGRESS_MESSAGES_H

#include "hostkit/host.h"
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace qltest {
using namespace hostkit;

// WaitMessage inside the updates returns when this thread gets a message:
// a thread timer keeps them coming, and a second thread posts a message
// every 20 ms as well, because a timer message left in the queue is not
// sent again until it is taken, and the data file's updates come several
// to one call with no chance to take it.
class MessageSource {
public:
    MessageSource() : thread_(GetCurrentThreadId()), timer_(SetTimer(nullptr, 0, 10, nullptr)) {
        poster_ = std::thread([this] {
            while (!stop_) {
                PostThreadMessageW(thread_, WM_NULL, 0, 0);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    ~MessageSource() {
        stop_ = true;
        poster_.join();
        KillTimer(nullptr, timer_);
        pump();
    }
    MessageSource(const MessageSource&) = delete;
    MessageSource& operator=(const MessageSource&) = delete;

    static void pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    // Waits while the thread's windows get their messages.
    static void pumpFor(int ms) {
        const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
        while (static_cast<int32_t>(end - GetTickCount()) > 0) {
            pump();
            Sleep(10);
        }
    }

private:
    DWORD thread_;
    UINT_PTR timer_;
    std::atomic<bool> stop_{false};
    std::thread poster_;
};

// The progress-bar window of this thread owned by the given window.
inline HWND progressWindowOf(HWND owner) {
    struct Found {
        HWND owner, window;
    } found{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Found*>(p);
            wchar_t cls[64] = {};
            GetClassNameW(w, cls, 64);
            if (wcscmp(cls, L"msctls_progress32") != 0 || GetWindow(w, GW_OWNER) != f->owner) return TRUE;
            f->window = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

}  // namespace qltest

#endif
