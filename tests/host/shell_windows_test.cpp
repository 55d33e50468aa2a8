// The shell's windows as a host sees them: the pickers, the delayed
// progress bar (also moved by a data-file write) and one warning box per
// name.  A second thread finds each dialog or message box, reads it, types
// into it and presses its buttons.
// QL_TEST_NEEDS_DISPLAY
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "folders_files.h"
#include "hostkit/dialogs.h"
#include "hostkit/host.h"

#include <commctrl.h>

namespace {

using namespace std::chrono_literals;

const qltest::HostTreeLock hostTreeLock;  // the folder picker falls back to the jobs folder
const std::wstring scratch = qltest::systemFolder(CSIDL_LOCAL_APPDATA) + L"\\ql " + std::to_wstring(GetCurrentProcessId()),
                   file = scratch + L"\\open.pdf", saved = scratch + L"\\saved.pdf", inner = scratch + L"\\inner";

// Runs `modal` on this thread while a second thread takes each new dialog or message box of this process:
// notes "title: text (owner's title) filter shown", types `name` into its first visible edit field and presses
// OK; one still open 10 s later is cancelled.  Returns the notes.
std::vector<std::wstring> withDialogs(const std::wstring& name, const std::function<void()>& modal) {
    std::atomic<bool> done{false};
    std::vector<std::wstring> seen;
    std::thread driver([&] {
        for (HWND last = nullptr, d, field = nullptr; !done; std::this_thread::sleep_for(20ms)) {
            if (!(d = hostkit::findOwnDialog()) || d == last) continue;
            std::this_thread::sleep_for(300ms);  // let it finish filling itself
            seen.push_back(hostkit::windowText(last = d) + L": " + hostkit::messageBoxText(d) + L" (" +
                           hostkit::windowText(GetWindow(d, GW_OWNER)) + L") " +
                           std::to_wstring(SendDlgItemMessageW(d, 0x470, CB_GETCURSEL, 0, 0)));
            EnumChildWindows(d, [](HWND w, LPARAM p) -> BOOL {
                wchar_t cls[8] = {};
                GetClassNameW(w, cls, 8);
                return _wcsicmp(cls, L"Edit") != 0 || !IsWindowVisible(w) || (*reinterpret_cast<HWND*>(p) = w, FALSE);
            }, reinterpret_cast<LPARAM>(&field));
            if (field) SetWindowTextW(field, name.c_str()), field = nullptr;
            hostkit::press(d, IDOK);
            if (!hostkit::waitGone(d, 10s)) hostkit::press(d, IDCANCEL);
        }
    });
    modal();
    done = true;
    driver.join();
    return seen;
}

TEST(ShellWindows, PickersStartWhereToldAndReturnThePath) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as the host does
    hostkit::Object obj;
    wchar_t path[512] = L"";
    obj->GetJobsFolder(path, 512);
    const std::wstring picked = path + std::wstring(L"\\picked");
    for (const std::wstring& f : {scratch, inner, picked}) CreateDirectoryW(f.c_str(), nullptr);
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const wchar_t filters[] = L"ABC files\0*.abc\0PDF files\0*.pdf\0Pictures\0*.jpg;*.png\0";
    const auto folder = [&] { return obj->BrowseFolder(nullptr, path, 512); };
    // The open picker shows the second filter (1), the save picker its title; the folder picker starts in the
    // folder given, and instead of one that does not exist in the jobs folder.
    const struct { std::function<int32_t()> call; std::wstring start, typed, seen, result; } rows[] = {
        {[&] { return obj->BrowseOpenFile(0, filters, L"PDF", path, 512, 0); }, L"", file, L") 1", file},
        {[&] { return obj->BrowseSaveFile(0, filters, L"pdf", path, 512, L"Save it", 0); }, L"", saved, L"Save it:", saved},
        {folder, scratch, L"inner", L"", inner}, {folder, scratch + L"\\none", L"picked", L"", picked}};
    for (const auto& r : rows) {
        wcscpy(path, r.start.c_str());
        const auto seen = withDialogs(r.typed, [&] { EXPECT_EQ(r.call(), 1) << r.result.c_str(); });
        EXPECT_EQ(_wcsicmp(path, r.result.c_str()), 0) << "came " << path << " for " << r.result.c_str();
        EXPECT_NE(seen.at(0).find(r.seen), std::wstring::npos) << seen[0];
    }
    for (const std::wstring& f : {file, saved, picked, inner, scratch}) DeleteFileW(f.c_str()), RemoveDirectoryW(f.c_str());
    CoUninitialize();
}

TEST(ShellWindows, ProgressBarAfterASecondAndOneWarningBoxPerName) {
    const hostkit::HostWindow host(L"Host", 100, 100, 700, 400), owner(L"Owner");
    std::atomic<bool> stop{false};  // each update ends in WaitMessage, which returns once a message comes
    std::thread poster([&, t = GetCurrentThreadId()] { while (!stop) PostThreadMessageW(t, WM_NULL, 0, 0), Sleep(20); });
    hostkit::Object obj;
    obj->WarnMissingResource(L"Before", warnImage);  // no owner yet: nothing, not recorded
    obj->BeginProgress(host.get(), GetModuleHandleW(nullptr), 150000);
    const HWND bar = FindWindowExW(nullptr, nullptr, PROGRESS_CLASSW, nullptr);
    RECT client{}, frame{};
    GetClientRect(host.get(), &client), GetWindowRect(bar, &frame);
    EXPECT_EQ(GetWindow(bar, GW_OWNER), host.get());
    EXPECT_EQ(std::make_pair(frame.right - frame.left, frame.bottom - frame.top), std::make_pair(client.right, 50L));
    // Position and visibility after each step: hidden for the first second, each full 65536-byte buffer of a
    // data-file write moves the bar and the close the rest, a new begin reuses the window hidden at 0.
    std::vector<std::wstring> seen;
    for (const std::function<void()>& step : std::vector<std::function<void()>>{
             [&] { obj->SetProgressPos(300), obj->StepProgress(); }, [&] { Sleep(1100), obj->IdleProgress(); },
             [&] { obj->OpenFileHandle(file.c_str(), qlModeWrite, 0), obj->WriteBytesHandle(std::string(150000, 'x').data(), 150000); },
             [&] { obj->CloseFileHandle(); }, [&] { obj->BeginProgress(owner.get(), GetModuleHandleW(nullptr), 10); }})
        step(), seen.push_back(std::to_wstring(SendMessageW(bar, PBM_GETPOS, 0, 0)) + (IsWindowVisible(bar) ? L" shown" : L" hidden"));
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"301 hidden", L"301 shown", L"131072 shown", L"150000 shown", L"0 hidden"}));
    DeleteFileW(file.c_str());
    obj->EndProgress();
    EXPECT_FALSE(IsWindow(bar));
    stop = true;
    poster.join();
    const std::wstring longName(500, L'x');  // a font's text is cut to 511 units
    const auto boxes = withDialogs(L"", [&] {  // the last parent, "Owner", owns the boxes
        for (const auto& r : std::vector<std::pair<const wchar_t*, int32_t>>{
                 {L"Script", warnFontSingleLine}, {L"Script", warnFontSingleLine}, {L"Script", warnImage},
                 {L"Gothic", warnFontArial}, {L"gothic", warnFontArial}, {L"logo.bmp", warnImage},
                 {L"part.xlg", warnXlgImage}, {L"odd", 9}, {L"odd", warnFontArial}, {L"Before", warnImage},
                 {longName.c_str(), warnFontArial}})
            obj->WarnMissingResource(r.first, r.second);
    });
    const std::wstring font = L"Font is either missing or irrelevant: ", image = L"Image is either missing or irrelevant: ";
    EXPECT_EQ(boxes, (std::vector<std::wstring>{
        font + L"Script\n\nReplacing with Elementary Single Line (Owner) 0", font + L"Gothic\n\nReplacing with Arial (Owner) 0",
        font + L"gothic\n\nReplacing with Arial (Owner) 0", image + L"logo.bmp (Owner) 0",
        L"XLG " + image + L"part.xlg (Owner) 0", image + L"Before (Owner) 0", font + (longName + L"\n\nReplacing with Arial").substr(0, 511) + L" (Owner) 0"}));
}

}  // namespace
