// The shell's windows as a host sees them: the pickers, the delayed
// progress bar (also moved by a data-file write) and one warning box per
// name.  A second thread finds each dialog or message box, reads it, types
// into it and presses its buttons.
// QL_TEST_NEEDS_DISPLAY
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "folders_files.h"
#include "hostkit/dialogs.h"
#include "hostkit/host.h"

namespace {

using namespace std::chrono_literals;

const qltest::HostTreeLock hostTreeLock;  // the folder picker falls back to the jobs folder

// Runs `modal` on this thread while a second thread hands each dialog of
// this process that appears to `act` once; one still open 10 s later is
// cancelled.
void withDialogs(const std::function<void(HWND)>& act, const std::function<void()>& modal) {
    std::atomic<bool> done{false};
    std::thread driver([&] {
        for (HWND last = nullptr; !done; std::this_thread::sleep_for(20ms)) {
            HWND d = hostkit::findOwnDialog();
            if (!d || d == last) continue;
            std::this_thread::sleep_for(300ms);  // let it finish filling itself
            act(last = d);
            if (!hostkit::waitGone(d, 10s)) hostkit::press(d, IDCANCEL);
        }
    });
    modal();
    done = true;
    driver.join();
}

// Keeps the title and the filter shown (cmb1), types `name` into the first
// visible edit field, the file or folder name, and presses OK.
std::function<void(HWND)> answer(const std::wstring& name, std::wstring* title = nullptr, LRESULT* filter = nullptr) {
    return [=](HWND d) {
        if (filter) *filter = SendMessageW(GetDlgItem(d, 0x470), CB_GETCURSEL, 0, 0);
        if (title) *title = hostkit::windowText(d);
        HWND field = nullptr;
        EnumChildWindows(d, [](HWND w, LPARAM p) -> BOOL {
            wchar_t cls[8] = {};
            GetClassNameW(w, cls, 8);
            return _wcsicmp(cls, L"Edit") != 0 || !IsWindowVisible(w) || (*reinterpret_cast<HWND*>(p) = w, FALSE);
        }, reinterpret_cast<LPARAM>(&field));
        SetWindowTextW(field, name.c_str());
        hostkit::press(d, IDOK);
    };
}

std::wstring scratch(const std::wstring& name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return dir + (L"ql " + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount())) + L" " + name;
}

TEST(ShellWindows, PickersStartWhereToldAndReturnThePath) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as the host does
    hostkit::Object obj;
    const std::wstring file = scratch(L"open.pdf"), saved = file + L"2.pdf", folder = scratch(L"folder");
    wchar_t jobs[512], path[512] = L"";
    obj->GetJobsFolder(jobs, 512);
    const std::wstring inner = folder + L"\\inner", picked = jobs + std::wstring(L"\\picked");
    for (const std::wstring& f : {folder, inner, picked}) CreateDirectoryW(f.c_str(), nullptr);
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const wchar_t filters[] = L"ABC files\0*.abc\0PDF files\0*.pdf\0Pictures\0*.jpg;*.png\0";
    std::wstring title;
    LRESULT filter = -2;

    withDialogs(answer(file, nullptr, &filter), [&] { EXPECT_EQ(obj->BrowseOpenFile(0, filters, L"PDF", path, 512, 0), 1); });
    EXPECT_EQ(filter, 1);  // the second filter
    EXPECT_EQ(_wcsicmp(path, file.c_str()), 0) << path;
    withDialogs(answer(saved, &title), [&] { EXPECT_EQ(obj->BrowseSaveFile(0, filters, L"pdf", path, 512, L"Save it", 0), 1); });
    EXPECT_EQ(title, L"Save it");
    EXPECT_EQ(_wcsicmp(path, saved.c_str()), 0) << path;
    // The folder given, and instead of one that does not exist the jobs folder.
    for (const auto& f : {std::make_pair(folder, inner), std::make_pair(folder + L"\\none", picked)}) {
        wcscpy(path, f.first.c_str());
        const std::wstring typed = f.second.substr(f.second.rfind(L'\\') + 1);
        withDialogs(answer(typed), [&] { EXPECT_EQ(obj->BrowseFolder(nullptr, path, 512), 1); });
        EXPECT_EQ(_wcsicmp(path, f.second.c_str()), 0) << "from " << f.first.c_str() << " came " << path;
    }
    for (const std::wstring& f : {picked, inner, folder}) RemoveDirectoryW(f.c_str());
    DeleteFileW(file.c_str());
    CoUninitialize();
}

LRESULT position(HWND bar) { return SendMessageW(bar, PBM_GETPOS, 0, 0); }
HWND findBar() { return FindWindowExW(nullptr, nullptr, PROGRESS_CLASSW, nullptr); }

TEST(ShellWindows, ProgressBarAppearsAfterASecondAndFollowsADataFileWrite) {
    const hostkit::HostWindow host(L"Host", 100, 100, 700, 400);
    // Each update ends in WaitMessage, which returns once a message comes.
    std::atomic<bool> stop{false};
    std::thread poster([&, thread = GetCurrentThreadId()] {
        while (!stop) PostThreadMessageW(thread, WM_NULL, 0, 0), Sleep(20);
    });
    hostkit::Object obj;
    obj->BeginProgress(host.get(), GetModuleHandleW(nullptr), 150000);
    HWND bar = findBar();
    ASSERT_NE(bar, nullptr);
    RECT client{}, frame{};
    GetClientRect(host.get(), &client), GetWindowRect(bar, &frame);
    EXPECT_EQ(GetWindow(bar, GW_OWNER), host.get());
    EXPECT_EQ(frame.right - frame.left, client.right - client.left);
    EXPECT_EQ(frame.bottom - frame.top, 50);

    obj->SetProgressPos(300);
    obj->StepProgress();
    EXPECT_EQ(position(bar), 301);
    EXPECT_FALSE(IsWindowVisible(bar));  // within the first second
    Sleep(1100);
    obj->IdleProgress();
    EXPECT_TRUE(IsWindowVisible(bar));

    // Each full 65536-byte buffer moves the bar, and the close the rest.
    const std::wstring file = scratch(L"progress.bin");
    const std::vector<char> data(150000, 'x');
    ASSERT_TRUE(obj->OpenFileHandle(file.c_str(), qlModeWrite, 0));
    obj->WriteBytesHandle(data.data(), static_cast<uint32_t>(data.size()));
    EXPECT_EQ(position(bar), 131072);
    obj->CloseFileHandle();
    EXPECT_EQ(position(bar), 150000);
    DeleteFileW(file.c_str());

    obj->BeginProgress(host.get(), GetModuleHandleW(nullptr), 10);  // the same window, hidden, at 0
    EXPECT_EQ(findBar(), bar);
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_EQ(position(bar), 0);
    obj->EndProgress();
    EXPECT_FALSE(IsWindow(bar));
    stop = true;
    poster.join();
}

TEST(ShellWindows, OneWarningBoxPerName) {
    const hostkit::HostWindow first(L"First"), owner(L"Owner");
    std::vector<std::wstring> boxes;
    const auto read = [&](HWND box) {
        const bool owned = GetWindow(box, GW_OWNER) == owner.get();
        boxes.push_back(hostkit::windowText(box) + L": " + hostkit::messageBoxText(box) + (owned ? L"" : L" (not owned)"));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    };
    hostkit::Object obj;
    withDialogs(read, [&] {
        obj->WarnMissingResource(L"Before", warnImage);  // no owner yet: nothing, not recorded
        obj->BeginProgress(first.get(), GetModuleHandleW(nullptr), 10);
        obj->BeginProgress(owner.get(), GetModuleHandleW(nullptr), 10);  // the last parent owns the boxes
        obj->EndProgress();
        const std::pair<const wchar_t*, int32_t> reports[] = {
            {L"Script", warnFontSingleLine}, {L"Script", warnFontSingleLine}, {L"Script", warnImage},
            {L"Gothic", warnFontArial}, {L"gothic", warnFontArial}, {L"logo.bmp", warnImage},
            {L"part.xlg", warnXlgImage}, {L"odd", 9}, {L"odd", warnFontArial}, {L"Before", warnImage}};
        for (const auto& r : reports) obj->WarnMissingResource(r.first, r.second);
    });
    const std::vector<std::wstring> expected = {
        L"Font is either missing or irrelevant: Script\n\nReplacing with Elementary Single Line",
        L"Font is either missing or irrelevant: Gothic\n\nReplacing with Arial",
        L"Font is either missing or irrelevant: gothic\n\nReplacing with Arial",
        L"Image is either missing or irrelevant: logo.bmp",
        L"XLG Image is either missing or irrelevant: part.xlg",
        L"Image is either missing or irrelevant: Before",
    };
    EXPECT_EQ(boxes, expected);
}

}  // namespace
