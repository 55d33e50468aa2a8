// Missing-resource warnings as a host sees them: one real message box per
// name, owned by the window the last BeginProgress named.  A second thread
// reads each box and presses OK.
// QL_TEST_NEEDS_DISPLAY
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "hostkit/dialogs.h"
#include "hostkit/host.h"

namespace {

struct SeenBox {
    HWND owner;
    std::wstring caption, text;
};

// Watches this process's windows for message boxes, records each one and
// closes it with OK.
class BoxCloser {
public:
    BoxCloser() : thread_([this] { run(); }) {}
    ~BoxCloser() {
        stop_ = true;
        thread_.join();
    }
    BoxCloser(const BoxCloser&) = delete;
    BoxCloser& operator=(const BoxCloser&) = delete;

    std::vector<SeenBox> seen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

private:
    void run() {
        HWND last = nullptr;
        while (!stop_) {
            HWND box = hostkit::findOwnDialog();
            if (box && box != last) {
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    seen_.push_back({GetWindow(box, GW_OWNER), hostkit::windowText(box), hostkit::messageBoxText(box)});
                }
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                last = box;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::thread thread_;
};

TEST(Warnings, OneBoxPerNameWithExactTexts) {
    const hostkit::HostWindow firstWindow(L"First"), ownerWindow(L"Owner");
    HWND first = firstWindow.get(), owner = ownerWindow.get();
    ASSERT_TRUE(first && owner);
    std::vector<SeenBox> seen;
    {
        BoxCloser closer;
        hostkit::Object obj;
        obj->WarnMissingResource(L"Before", warnImage);  // no owner yet: nothing
        obj->BeginProgress(first, GetModuleHandleW(nullptr), 10);
        obj->BeginProgress(owner, GetModuleHandleW(nullptr), 10);  // the last parent owns the boxes
        obj->EndProgress();
        obj->WarnMissingResource(L"Script", warnFontSingleLine);
        obj->WarnMissingResource(L"Script", warnFontSingleLine);
        obj->WarnMissingResource(L"Script", warnImage);
        obj->WarnMissingResource(L"Gothic", warnFontArial);
        obj->WarnMissingResource(L"gothic", warnFontArial);
        obj->WarnMissingResource(L"logo.bmp", warnImage);
        obj->WarnMissingResource(L"part.xlg", warnXlgImage);
        obj->WarnMissingResource(L"odd", 9);
        obj->WarnMissingResource(L"odd", warnFontArial);
        obj->WarnMissingResource(L"Before", warnImage);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        seen = closer.seen();
    }
    const std::vector<SeenBox> expected = {
        {owner, L"Font is either missing or irrelevant", L"Script\n\nReplacing with Elementary Single Line"},
        {owner, L"Font is either missing or irrelevant", L"Gothic\n\nReplacing with Arial"},
        {owner, L"Font is either missing or irrelevant", L"gothic\n\nReplacing with Arial"},
        {owner, L"Image is either missing or irrelevant", L"logo.bmp"},
        {owner, L"XLG Image is either missing or irrelevant", L"part.xlg"},
        {owner, L"Image is either missing or irrelevant", L"Before"},
    };
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].owner, expected[i].owner) << i;
        EXPECT_EQ(seen[i].caption, expected[i].caption) << i;
        EXPECT_EQ(seen[i].text, expected[i].text) << i;
    }
}

TEST(Warnings, EachObjectKeepsItsOwnList) {
    const hostkit::HostWindow owner(L"Owner");
    BoxCloser closer;
    for (int i = 0; i < 2; ++i) {
        hostkit::Object obj;
        obj->BeginProgress(owner.get(), GetModuleHandleW(nullptr), 10);
        obj->WarnMissingResource(L"Shared", warnImage);
        obj->WarnMissingResource(L"Shared", warnImage);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(closer.seen().size(), 2u);
}

}  // namespace
