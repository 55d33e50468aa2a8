// The open, save and folder pickers as a host sees them: the real modal
// dialogs, driven from a second thread that finds the "#32770" window,
// reads it, types into it and presses its buttons.
// QL_TEST_NEEDS_DISPLAY
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "hostkit/dialogs.h"
#include "hostkit/host.h"

#include <objbase.h>

namespace {

using namespace std::chrono_literals;
using hostkit::findOwnDialog;
using hostkit::press;
using hostkit::waitFor;
using hostkit::waitGone;

constexpr int kFilterCombo = 0x470;    // cmb1
constexpr int kFileNameCombo = 0x47C;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1

// The first visible edit field inside the dialog: the file name field.
HWND findEdit(HWND dialog) {
    for (int id : {kFileNameCombo, kFileNameEdit}) {
        HWND item = GetDlgItem(dialog, id);
        if (!item) continue;
        HWND edit = FindWindowExW(item, nullptr, L"Edit", nullptr);
        return edit ? edit : item;
    }
    HWND found = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND w, LPARAM p) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (_wcsicmp(cls, L"Edit") != 0 || !IsWindowVisible(w)) return TRUE;
            *reinterpret_cast<HWND*>(p) = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Drives the next dialog from a second thread while the test's thread runs
// the modal call.  Every wait is bounded: a dialog that does not appear
// fails the test, and one that will not close is cancelled, then closed,
// and as a last resort the program ends rather than hang the test run.
class Driver {
public:
    explicit Driver(std::function<void(HWND)> act) : thread_([this, act] { run(act); }) {}
    ~Driver() { join(); }
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;
    void join() {
        if (thread_.joinable()) thread_.join();
    }
    bool sawDialog() const { return dialog_ != nullptr; }
    HWND dialog() const { return dialog_; }

private:
    void run(const std::function<void(HWND)>& act) {
        HWND w = nullptr;
        if (!waitFor([&] { return (w = findOwnDialog()) != nullptr; }, 20s, 50ms)) return;
        std::this_thread::sleep_for(200ms);  // let the dialog finish filling itself
        dialog_ = w;
        act(w);
        if (waitGone(w, 10s)) return;
        press(w, IDCANCEL);
        if (waitGone(w, 5s)) return;
        PostMessageW(w, WM_CLOSE, 0, 0);
        if (waitGone(w, 5s)) return;
        std::fprintf(stderr, "a dialog would not close; ending the test program\n");
        ExitProcess(3);
    }
    std::atomic<HWND> dialog_{nullptr};
    std::thread thread_;
};

const wchar_t kFilters[] = L"ABC files\0*.abc\0PDF files\0*.pdf\0Pictures\0*.jpg;*.png\0\0";

std::wstring tempFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, path);
    std::wstring dir(path, n);
    if (!dir.empty() && dir.back() == L'\\') dir.pop_back();
    return dir;
}

// The open picker's filter combo box shows the filter chosen by the scan.
int initialFilter(const wchar_t* defaultExt) {
    hostkit::Object obj;
    wchar_t file[MAX_PATH] = L"";
    int selected = -2;
    Driver driver([&](HWND d) {
        selected = static_cast<int>(SendMessageW(GetDlgItem(d, kFilterCombo), CB_GETCURSEL, 0, 0));
        press(d, IDCANCEL);
    });
    EXPECT_EQ(obj->BrowseOpenFile(nullptr, kFilters, defaultExt, file, MAX_PATH, 0), 0);  // cancelled
    driver.join();
    EXPECT_TRUE(driver.sawDialog());
    return selected;
}

TEST(Pickers, OpenStartsOnTheFilterOfTheDefaultExtension) {
    // The scan itself is checked natively; here the real dialog honours it.
    EXPECT_EQ(initialFilter(L"PDF"), 1);  // the second filter, compared without case
    EXPECT_EQ(initialFilter(L"xyz"), 0);  // no match: index 0, the first filter
}

TEST(Pickers, OpenReturnsATypedFileName) {
    const std::wstring path = tempFolder() + L"\\ql picker test.pdf";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    hostkit::Object obj;
    wchar_t file[MAX_PATH] = L"";
    Driver driver([&](HWND d) {
        SetWindowTextW(findEdit(d), path.c_str());
        press(d, IDOK);
    });
    EXPECT_EQ(obj->BrowseOpenFile(nullptr, kFilters, L"pdf", file, MAX_PATH, 0), 1);
    driver.join();
    EXPECT_EQ(_wcsicmp(file, path.c_str()), 0) << file;
    DeleteFileW(path.c_str());
}

TEST(Pickers, SaveShowsTheTitleAndReturnsTheName) {
    hostkit::Object obj;
    wchar_t file[MAX_PATH] = L"";
    wchar_t title[64] = L"";
    Driver cancel([&](HWND d) {
        GetWindowTextW(d, title, 64);
        press(d, IDCANCEL);
    });
    EXPECT_EQ(obj->BrowseSaveFile(nullptr, kFilters, L"pdf", file, MAX_PATH, L"Save the job", 1), 0);
    cancel.join();
    EXPECT_STREQ(title, L"Save the job");

    const std::wstring path = tempFolder() + L"\\ql saved.pdf";
    DeleteFileW(path.c_str());
    Driver save([&](HWND d) {
        SetWindowTextW(findEdit(d), path.c_str());
        press(d, IDOK);
    });
    EXPECT_EQ(obj->BrowseSaveFile(nullptr, kFilters, L"pdf", file, MAX_PATH, nullptr, 0), 1);
    save.join();
    EXPECT_EQ(_wcsicmp(file, path.c_str()), 0) << file;
}

// COM on the test's thread, as the host initialises it.
class ComApartment {
public:
    ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool ok_;
};

// Picks the subfolder typed into the dialog, relative to where it started.
int pickSubfolder(ICommon* obj, wchar_t* path, const wchar_t* name) {
    Driver driver([&](HWND d) {
        SetWindowTextW(findEdit(d), name);
        press(d, IDOK);
    });
    const int result = obj->BrowseFolder(nullptr, path, 512);
    driver.join();
    return result;
}

TEST(Pickers, FolderStartsInTheGivenFolder) {
    ComApartment com;
    const std::wstring base = tempFolder() + L"\\ql folder test";
    CreateDirectoryW(base.c_str(), nullptr);
    CreateDirectoryW((base + L"\\inner").c_str(), nullptr);
    hostkit::Object obj;
    wchar_t path[512];
    wcscpy(path, base.c_str());
    EXPECT_EQ(pickSubfolder(obj.get(), path, L"inner"), 1);
    EXPECT_EQ(_wcsicmp(path, (base + L"\\inner").c_str()), 0) << path;

    wcscpy(path, base.c_str());
    Driver cancel([](HWND d) { press(d, IDCANCEL); });
    EXPECT_EQ(obj->BrowseFolder(nullptr, path, 512), 0);
    cancel.join();
    EXPECT_TRUE(cancel.sawDialog());
    EXPECT_STREQ(path, base.c_str());
    RemoveDirectoryW((base + L"\\inner").c_str());
    RemoveDirectoryW(base.c_str());
}

TEST(Pickers, FolderFallsBackToTheJobsFolder) {
    ComApartment com;
    hostkit::Object obj;
    wchar_t jobs[512] = L"";
    obj->GetCommonProductFolder(jobs, 512);
    const bool haveFolders = jobs[0] != 0;
    wcscat(jobs, L"\\Jobs");

    // The jobs folder is not made here: without it there is no dialog.
    RemoveDirectoryW(jobs);
    if (GetFileAttributesW(jobs) == INVALID_FILE_ATTRIBUTES) {
        wchar_t path[512] = L"Q:\\no such folder";
        EXPECT_EQ(obj->BrowseFolder(nullptr, path, 512), 0);
        const std::wstring got = path;
        EXPECT_EQ(got.substr(got.size() - 5), L"\\Jobs");
        if (haveFolders) {
            EXPECT_STREQ(path, jobs);
        }
    }
    if (!haveFolders) GTEST_SKIP() << "the folder tree is not built on this branch";

    // With the jobs folder present the dialog starts there.
    obj->GetJobsFolder(jobs, 512);
    const std::wstring sub = std::wstring(jobs) + L"\\picked";
    CreateDirectoryW(sub.c_str(), nullptr);
    wchar_t path[512] = L"Q:\\no such folder";
    EXPECT_EQ(pickSubfolder(obj.get(), path, L"picked"), 1);
    EXPECT_EQ(_wcsicmp(path, sub.c_str()), 0) << path;
    RemoveDirectoryW(sub.c_str());
}

}  // namespace
