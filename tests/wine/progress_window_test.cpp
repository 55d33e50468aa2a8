// The progress window as a host sees it: a real progress-bar window owned
// by the host's window, hidden for the first second, moved by the updates.
// QL_TEST_NEEDS_DISPLAY
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "host.h"

#include <commctrl.h>

namespace {

// WaitMessage inside the updates returns when this thread gets a message:
// a thread timer keeps them coming, and a second thread posts a message
// every 20 ms as well, because a timer message left in the queue is not
// re-sent until it is taken.
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

// A plain top-level window standing in for the host's main window.
class HostWindow {
public:
    HostWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QLProgressTestHost";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 700,
                                  400, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~HostWindow() { DestroyWindow(window_); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

struct Found {
    HWND owner;
    HWND window;
};

// The progress-bar windows of this thread owned by the given window.
HWND progressWindowOf(HWND owner) {
    Found found{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Found*>(p);
            wchar_t cls[64] = {};
            GetClassNameW(w, cls, 64);
            if (wcscmp(cls, L"msctls_progress32") == 0 && GetWindow(w, GW_OWNER) == f->owner) {
                f->window = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

int position(HWND bar) { return static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)); }

TEST(ProgressWindow, HiddenOwnedBarShownAfterOneSecond) {
    HostWindow host;
    ASSERT_NE(host.get(), nullptr);
    MessageSource messages;
    qltest::Object obj;
    obj->BeginProgress(host.get(), GetModuleHandleW(nullptr), 1000);
    HWND bar = progressWindowOf(host.get());
    ASSERT_NE(bar, nullptr);

    const LONG_PTR style = GetWindowLongPtrW(bar, GWL_STYLE);
    EXPECT_TRUE(style & PBS_SMOOTH);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_FALSE(style & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT client{}, frame{};
    GetClientRect(host.get(), &client);
    GetWindowRect(bar, &frame);
    EXPECT_EQ(frame.right - frame.left, client.right - client.left);
    EXPECT_EQ(frame.bottom - frame.top, 50);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 1000);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(position(bar), 0);

    MessageSource::pump();
    obj->SetProgressPos(300);
    obj->StepProgress();
    EXPECT_EQ(position(bar), 301);
    EXPECT_FALSE(IsWindowVisible(bar));

    MessageSource::pumpFor(1100);
    obj->IdleProgress();
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(position(bar), 301);
    obj->SetProgressPos(5000);  // beyond the range: the bar shows full
    EXPECT_EQ(position(bar), 1000);

    // A second start keeps the window, hides it and starts again from 0.
    obj->BeginProgress(host.get(), GetModuleHandleW(nullptr), 200);
    EXPECT_EQ(progressWindowOf(host.get()), bar);
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_EQ(position(bar), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 200);

    obj->EndProgress();
    EXPECT_FALSE(IsWindow(bar));
    obj->EndProgress();
}

TEST(ProgressWindow, QuickOperationNeverShowsAndDestroyerCleansUp) {
    HostWindow host;
    MessageSource messages;
    HWND bar = nullptr;
    {
        qltest::Object obj;
        obj->BeginProgress(host.get(), GetModuleHandleW(nullptr), 20);
        bar = progressWindowOf(host.get());
        ASSERT_NE(bar, nullptr);
        for (int i = 0; i < 20; ++i) {
            MessageSource::pump();
            obj->StepProgress();
        }
        EXPECT_EQ(position(bar), 20);
        EXPECT_FALSE(IsWindowVisible(bar));
    }
    EXPECT_FALSE(IsWindow(bar));  // destroyed with the object
}

}  // namespace
