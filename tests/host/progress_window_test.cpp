// The progress window as a host sees it: a real progress-bar window owned
// by the host's window, hidden for the first second, moved by the updates.
// QL_TEST_NEEDS_DISPLAY
#include <gtest/gtest.h>

#include "hostkit/dialogs.h"
#include "hostkit/host.h"
#include "progress_messages.h"

#include <commctrl.h>

namespace {

using qltest::MessageSource;
using qltest::progressWindowOf;

int position(HWND bar) { return static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)); }

TEST(ProgressWindow, HiddenOwnedBarShownAfterOneSecond) {
    const hostkit::HostWindow host(L"Host", 100, 100, 700, 400);
    ASSERT_NE(host.get(), nullptr);
    MessageSource messages;
    hostkit::Object obj;
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
    const hostkit::HostWindow host(L"Host", 100, 100, 700, 400);
    MessageSource messages;
    HWND bar = nullptr;
    {
        hostkit::Object obj;
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
