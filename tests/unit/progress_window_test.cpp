// The progress window's platform calls, checked through a recording fake
// with a clock the test sets.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <utility>
#include <string>
#include <vector>

#include "object/qlcommon_impl.h"
#include "platform_fakes.h"
#include "shell/progress_platform.h"

namespace {

using ql::QLRect;

std::string ascii(const QLWChar* text) {
    if (!text) return "null";
    std::string out;
    while (*text) out += static_cast<char>(*text++);
    return out;
}

void* const kParent = reinterpret_cast<void*>(0x1000);
void* const kInstance = reinterpret_cast<void*>(0x2000);
void* const kWindow = reinterpret_cast<void*>(0x3000);

struct FakeProgress final : ql::ProgressPlatform {
    int32_t now = 0;
    bool createFails = false;
    std::vector<std::string> calls;

    void log(std::string call) { calls.push_back(std::move(call)); }
    int32_t clock() override { return now; }
    bool InitCommonControlsEx(uint32_t classes) override {
        log("InitCommonControlsEx " + std::to_string(classes));
        return true;
    }
    bool GetClientRect(void*, QLRect* r) override {
        *r = QLRect{10, 20, 650, 500};  // 640 wide
        log("GetClientRect");
        return true;
    }
    void* CreateWindowExW(uint32_t ex, const QLWChar* cls, const QLWChar* title, uint32_t style, int32_t x,
                          int32_t y, int32_t w, int32_t h, void* parent, void* menu, void* instance,
                          void* param) override {
        log("CreateWindowExW " + std::to_string(ex) + " " + ascii(cls) + " " + ascii(title) + " " +
            std::to_string(style) + " " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) +
            " " + std::to_string(h) + (parent == kParent ? " parent" : " ?") + (menu ? " menu" : " null") +
            (instance == kInstance ? " instance" : " ?") + (param ? " param" : " null"));
        return createFails ? nullptr : kWindow;
    }
    intptr_t SendMessageW(void* w, uint32_t msg, uintptr_t wp, intptr_t lp) override {
        EXPECT_EQ(w, kWindow);
        char text[64];
        std::snprintf(text, sizeof text, "SendMessageW %#x %llu %lld", msg, (unsigned long long)wp, (long long)lp);
        log(text);
        return 0;
    }
    bool ShowWindow(void* w, int32_t cmd) override {
        EXPECT_EQ(w, kWindow);
        log("ShowWindow " + std::to_string(cmd));
        return true;
    }
    bool InvalidateRect(void* w, const QLRect* r, bool erase) override {
        EXPECT_EQ(w, kWindow);
        log(std::string("InvalidateRect ") + (r ? "rect" : "null") + (erase ? " erase" : " noerase"));
        return true;
    }
    bool WaitMessage() override {
        log("WaitMessage");
        return true;
    }
    bool DestroyWindow(void* w) override {
        EXPECT_EQ(w, kWindow);
        log("DestroyWindow");
        return true;
    }
};

class Progress : public ::testing::Test {
protected:
    void TearDown() override { QLDestroy(obj); }
    ql::QLState& state() { return *static_cast<ql::QLCommon*>(obj)->state(); }
    std::vector<std::string> take() { return std::exchange(fake.calls, {}); }

    FakeProgress fake;
    qltest::ScopedPlatform<ql::ProgressPlatform> installed{ql::setProgressPlatform, &fake};
    ICommon* obj = GetQLObject(nullptr);
};

TEST_F(Progress, BeginCreatesHiddenOwnedWindowWithExactValues) {
    fake.now = 777;
    obj->BeginProgress(kParent, kInstance, 150000);
    const std::vector<std::string> expected = {
        "GetClientRect",
        "InitCommonControlsEx 32",
        "CreateWindowExW 8 msctls_progress32 null 1 -2147483648 -2147483648 640 50 parent null instance null",
        "SendMessageW 0x406 0 150000",
        "SendMessageW 0x402 0 0",
        "ShowWindow 0",
    };
    EXPECT_EQ(take(), expected);
    EXPECT_EQ(state().progressWindow, kWindow);
    EXPECT_EQ(state().progressStartTime, 777);
    EXPECT_EQ(state().progressPos, 0);
    EXPECT_EQ(state().ownerWindow, kParent);
}

TEST_F(Progress, ShownOnlyAfterMoreThanOneSecond) {
    fake.now = 5000;
    obj->BeginProgress(kParent, kInstance, 100);
    take();
    fake.now = 5999;
    obj->SetProgressPos(3);
    fake.now = 6000;  // exactly 1000 ms: still hidden
    obj->StepProgress();
    EXPECT_EQ(take(), (std::vector<std::string>{"SendMessageW 0x402 3 0", "InvalidateRect null noerase", "WaitMessage",
                                                 "SendMessageW 0x402 4 0", "InvalidateRect null noerase", "WaitMessage"}));
    fake.now = 6001;
    obj->SetProgressPos(500);  // beyond the range: stored as given
    obj->IdleProgress();       // every update after the second shows again
    EXPECT_EQ(take(), (std::vector<std::string>{"ShowWindow 5", "SendMessageW 0x402 500 0", "InvalidateRect null noerase",
                                                 "WaitMessage", "ShowWindow 5", "WaitMessage"}));
    EXPECT_EQ(state().progressPos, 500);
}

TEST_F(Progress, ClockDifferenceIsTakenInThirtyTwoBits) {
    fake.now = INT32_MAX - 100;
    obj->BeginProgress(kParent, kInstance, 10);
    take();
    fake.now = INT32_MIN + 900;  // 1001 ms later, across the wrap
    obj->IdleProgress();
    EXPECT_EQ(take(), (std::vector<std::string>{"ShowWindow 5", "WaitMessage"}));
}

TEST_F(Progress, StepsCountFromTheLastPosition) {
    obj->BeginProgress(kParent, kInstance, 100);
    obj->StepProgress();
    obj->StepProgress();
    EXPECT_EQ(state().progressPos, 2);
    obj->SetProgressPos(10);
    take();
    obj->StepProgress();
    EXPECT_EQ(take().front(), "SendMessageW 0x402 11 0");
}

TEST_F(Progress, SecondBeginReusesTheWindowAndRestarts) {
    obj->BeginProgress(kParent, kInstance, 100);
    obj->SetProgressPos(40);
    take();
    void* otherParent = reinterpret_cast<void*>(0x1100);
    fake.now = 9000;
    obj->BeginProgress(otherParent, nullptr, 200);
    EXPECT_EQ(take(), (std::vector<std::string>{"SendMessageW 0x406 0 200", "SendMessageW 0x402 0 0", "ShowWindow 0"}));
    EXPECT_EQ(state().progressPos, 0);
    EXPECT_EQ(state().progressStartTime, 9000);
    EXPECT_EQ(state().ownerWindow, otherParent);
}

TEST_F(Progress, EndDestroysOnceAndKeepsTheRest) {
    obj->EndProgress();  // nothing to end
    EXPECT_TRUE(take().empty());
    fake.now = 42;
    obj->BeginProgress(kParent, kInstance, 100);
    obj->SetProgressPos(7);
    take();
    obj->EndProgress();
    obj->EndProgress();
    EXPECT_EQ(take(), std::vector<std::string>{"DestroyWindow"});
    EXPECT_EQ(state().progressWindow, nullptr);
    EXPECT_EQ(state().progressPos, 7);
    EXPECT_EQ(state().progressStartTime, 42);
    EXPECT_EQ(state().ownerWindow, kParent);
    obj->SetProgressPos(8);  // no window: no calls
    obj->StepProgress();
    obj->IdleProgress();
    EXPECT_TRUE(take().empty());
}

TEST_F(Progress, FailedCreationStillNamesTheOwner) {
    fake.createFails = true;
    obj->BeginProgress(kParent, kInstance, 100);
    EXPECT_EQ(take().size(), 3u);  // rectangle, classes, creation; nothing sent
    EXPECT_EQ(state().progressWindow, nullptr);
    EXPECT_EQ(state().ownerWindow, kParent);
    obj->SetProgressPos(1);
    EXPECT_TRUE(take().empty());
}

TEST_F(Progress, NullParentMakesNoWindowAndKeepsTheOwner) {
    obj->BeginProgress(nullptr, kInstance, 100);
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(state().ownerWindow, nullptr);
    obj->BeginProgress(kParent, kInstance, 100);
    take();
    obj->BeginProgress(nullptr, kInstance, 300);  // resets the existing window
    EXPECT_EQ(take().front(), "SendMessageW 0x406 0 300");
    EXPECT_EQ(state().ownerWindow, kParent);
}

TEST_F(Progress, DestroyerDestroysTheWindowAndNoRecordMeansNoCalls) {
    obj->BeginProgress(kParent, kInstance, 100);
    take();
    QLDestroy(obj);
    EXPECT_EQ(take(), std::vector<std::string>{"DestroyWindow"});
    obj = GetQLObject(nullptr);
    auto* impl = static_cast<ql::QLCommon*>(obj);
    ql::QLState* s = impl->state();
    impl->setState(nullptr);
    obj->BeginProgress(kParent, kInstance, 1);
    obj->SetProgressPos(1);
    obj->StepProgress();
    obj->IdleProgress();
    obj->EndProgress();
    impl->setState(s);
    EXPECT_TRUE(take().empty());
}

}  // namespace
