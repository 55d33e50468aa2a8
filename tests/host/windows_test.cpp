// The library's windows, walked from a table by a second thread as a user would.  QL_TEST_NEEDS_DISPLAY
// QL_TEST_CHANGES_HOST_TREE: the folder picker falls back to the jobs folder.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "folders_files.h"
#include "hostkit/dialogs.h"

#include <commctrl.h>

namespace {

using namespace std::chrono_literals;

// 'w' waits for the dialog titled text and acts on it from then on; 't' types text into id, 'e' into the
// first visible edit field; 'c' chooses item index of list id; 'p' presses id; 'g' presses id and waits for
// the dialog to close.  Steps that look: 'b' the message box titled as text up to its colon, read and closed;
// 'r' the values dialog's title, labels and fields; 'l' which lists, fields and OK are live (shown and
// enabled), waiting a moment for text; 'n' the item chosen in the filter list and the owner's title.
struct Step {
    char action;
    const wchar_t* text = nullptr;
    int id = 0, index = 0;
};

BOOL CALLBACK firstEdit(HWND w, LPARAM found) {
    wchar_t cls[8] = {};
    GetClassNameW(w, cls, 8);
    if (_wcsicmp(cls, L"Edit") != 0 || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}

struct Walker {
    DWORD ui = GetCurrentThreadId();
    HWND d = nullptr;
    std::vector<std::wstring> seen, wanted;  // what the looking steps saw, and their texts

    HWND wait(const std::wstring& title) {
        HWND w = nullptr;
        if (hostkit::waitFor([&] { return (w = hostkit::findThreadDialog(ui, title)) != nullptr; }, 10s)) return w;
        throw std::runtime_error("no window " + std::string(title.begin(), title.end()));
    }
    std::wstring field(int id, const std::wstring& label) {
        return label + L" [" + hostkit::itemText(d, id) + L"]" + (IsWindowEnabled(GetDlgItem(d, id)) ? L"" : L" off");
    }
    std::wstring live() {
        std::wstring ids;
        for (int id : {1001, 1008, 1010, 1012, IDOK})
            if (IsWindowVisible(GetDlgItem(d, id)) && IsWindowEnabled(GetDlgItem(d, id)))
                ids += std::to_wstring(id) + L" ";
        return ids;
    }
    void run(const Step& s) {
        HWND child = nullptr;
        const std::wstring text = s.text ? s.text : L"";
        if (std::wstring(L"blnr").find(s.action) != std::wstring::npos) wanted.push_back(text);
        switch (s.action) {
        case 'w': d = wait(text); break;
        case 't': SetDlgItemTextW(d, s.id, s.text); break;
        case 'e':
            std::this_thread::sleep_for(300ms);  // the pickers fill themselves after they appear
            EnumChildWindows(d, firstEdit, reinterpret_cast<LPARAM>(&child));
            SetWindowTextW(child, s.text);
            break;
        case 'c':
            SendDlgItemMessageW(d, s.id, CB_SETCURSEL, s.index, 0);
            PostMessageW(d, WM_COMMAND, MAKEWPARAM(s.id, CBN_SELCHANGE), 0);
            break;
        case 'p': hostkit::press(d, s.id); break;
        case 'g':
            hostkit::press(d, s.id);
            if (!hostkit::waitGone(d, 10s)) throw std::runtime_error("still open");
            break;
        case 'l':
            hostkit::waitFor([&] { return live() == text; }, 2s);
            seen.push_back(live());
            break;
        case 'n':
            std::this_thread::sleep_for(300ms);
            seen.push_back(std::to_wstring(SendDlgItemMessageW(d, 0x470, CB_GETCURSEL, 0, 0)) + L" " +
                           hostkit::windowText(GetWindow(d, GW_OWNER)));
            break;
        case 'r':  // the first label has the identifier -1
            for (child = GetWindow(d, GW_CHILD); (GetDlgCtrlID(child) & 0xFFFF) != 0xFFFF;)
                child = GetWindow(child, GW_HWNDNEXT);
            seen.push_back(hostkit::windowText(d) + L" | " + field(1014, hostkit::windowText(child)) + L" | " +
                           field(1012, hostkit::itemText(d, 1015)));
            break;
        case 'b':
            child = wait(text.substr(0, text.find(L':')));
            seen.push_back(hostkit::windowText(child) + L":\n" + hostkit::messageBoxText(child));
            hostkit::press(child, IDOK);
            hostkit::waitGone(child, 10s);
        }
    }
};

// Runs `modal` while the steps are walked; the looking steps must see their texts.
void walk(const std::vector<Step>& steps, const std::function<void()>& modal) {
    Walker w;
    std::atomic<bool> done{false};
    std::string failure;
    std::thread driver([&] {
        size_t i = 0;
        try {
            for (; i < steps.size(); ++i) w.run(steps[i]);
        } catch (const std::exception& e) {
            failure = "step " + std::to_string(i) + ": " + e.what();
            for (; !done; Sleep(100)) hostkit::cancelThreadDialogs(w.ui);
        }
    });
    modal();
    done = true;
    driver.join();
    EXPECT_EQ(failure, "");
    EXPECT_EQ(w.seen, w.wanted);
}

TEST(Windows, PickersStartWhereToldAndReturnThePath) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // as the host does
    const hostkit::HostWindow host(L"Host");
    hostkit::Object obj;
    wchar_t path[512] = L"";
    obj->GetJobsFolder(path, 512);
    const std::wstring jobs = path, dir = qltest::systemFolder(CSIDL_LOCAL_APPDATA) + L"\\ql picked";
    for (const std::wstring& f : {dir, dir + L"\\inner", jobs + L"\\picked"}) CreateDirectoryW(f.c_str(), nullptr);
    CloseHandle(CreateFileW((dir + L"\\a.pdf").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const wchar_t filters[] = L"ABC files\0*.abc\0PDF files\0*.pdf\0Pictures\0*.jpg;*.png\0";
    const auto open = [&] { return obj->BrowseOpenFile(host.get(), filters, L"PDF", path, 512, 0); };
    const auto save = [&] { return obj->BrowseSaveFile(nullptr, filters, L"pdf", path, 512, L"Save it", 0); };
    const auto folder = [&] { return obj->BrowseFolder(nullptr, path, 512); };
    const auto narrow = [&] { return obj->BrowseFolder(nullptr, path, static_cast<int32_t>(dir.size()) + 3); };
    // A file picker shows filter 1; a folder picker starts in the folder given, else in the jobs folder.  Cancel,
    // or a path too long for the buffer, gives 0.
    const struct { std::function<int32_t()> call; std::wstring start, title, note, typed, result; } rows[] = {
        {open, L"", L"Open", L"1 Host", dir + L"\\a.pdf", dir + L"\\a.pdf"},
        {save, L"", L"Save it", L"1 ", dir + L"\\b.pdf", dir + L"\\b.pdf"},
        {folder, dir, L"Select Folder", L"-1 ", L"", dir},
        {narrow, dir, L"Select Folder", L"-1 ", L"inner", dir},
        {folder, dir + L"\\none", L"Select Folder", L"-1 ", L"picked", jobs + L"\\picked"},
    };
    for (const auto& r : rows) {
        wcscpy(path, r.start.c_str());
        const std::vector<Step> steps = {{'w', r.title.c_str()}, {'n', r.note.c_str()}, {'e', r.typed.c_str()},
                                         {'g', nullptr, r.typed.empty() ? IDCANCEL : IDOK}};
        walk(steps, [&] { EXPECT_EQ(r.call(), r.result == r.start ? 0 : 1); });
        EXPECT_EQ(_wcsicmp(path, r.result.c_str()), 0) << "came " << path << " for " << r.result.c_str();
    }
    DeleteFileW((dir + L"\\a.pdf").c_str());
    for (const std::wstring& f : {dir + L"\\inner", jobs + L"\\picked", dir}) RemoveDirectoryW(f.c_str());
    CoUninitialize();
}

TEST(Windows, ProgressBarAfterASecondAndOneWarningBoxPerName) {
    const hostkit::HostWindow host(L"Host", 100, 100, 700, 400), owner(L"Owner");
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);  // each update ends in WaitMessage
    hostkit::Object obj;
    obj->WarnMissingResource(L"Before", warnImage);  // no owner yet: nothing, not recorded
    obj->BeginProgress(host.get(), GetModuleHandleW(nullptr), 150000);
    const HWND bar = FindWindowExW(nullptr, nullptr, PROGRESS_CLASSW, nullptr);
    RECT client{}, frame{};
    GetClientRect(host.get(), &client);
    GetWindowRect(bar, &frame);
    EXPECT_EQ(GetWindow(bar, GW_OWNER), host.get());
    EXPECT_NE(GetWindowLongW(bar, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(frame.right - frame.left, client.right);
    EXPECT_EQ(frame.bottom - frame.top, 50);
    // Hidden for the first second; each 65536-byte buffer written moves the bar; a new begin hides it at 0.
    const std::wstring file = qltest::systemFolder(CSIDL_LOCAL_APPDATA) + L"\\ql " + std::to_wstring(GetTickCount());
    const std::string bytes(150000, 'x');
    const std::function<void()> steps[] = {
        [&] { obj->SetProgressPos(300); obj->StepProgress(); },
        [&] { Sleep(1100); obj->IdleProgress(); },
        [&] { obj->OpenFileHandle(file.c_str(), qlModeWrite, 0); obj->WriteBytesHandle(bytes.data(), 150000); },
        [&] { obj->CloseFileHandle(); },
        [&] { obj->BeginProgress(owner.get(), GetModuleHandleW(nullptr), 10); },
    };
    std::vector<std::wstring> seen, wanted;  // what the looking steps saw, and their texts
    for (const auto& step : steps) {
        step();
        seen.push_back(std::to_wstring(SendMessageW(bar, PBM_GETPOS, 0, 0)) + (IsWindowVisible(bar) ? L"+" : L"-"));
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"301-", L"301+", L"131072+", L"150000+", L"0-"}));
    DeleteFileW(file.c_str());
    obj->EndProgress();
    EXPECT_FALSE(IsWindow(bar));
    KillTimer(nullptr, timer);
    // The last parent, "Owner", owns the boxes; a font's text is cut to 511 units.
    const std::wstring font = L"Font is either missing or irrelevant:\n", arial = L"\n\nReplacing with Arial";
    const std::wstring image = L"Image is either missing or irrelevant:\n", x500(500, L'x');
    const std::wstring texts[] = {font + L"Script\n\nReplacing with Elementary Single Line", font + L"Gothic" + arial,
                                  font + L"gothic" + arial, image + L"logo.bmp", L"XLG " + image + L"part.xlg",
                                  image + L"Before", font + x500 + L"\n\nReplacing"};
    std::vector<Step> boxes = {{'w', L"Font is either missing or irrelevant"}, {'n', L"0 Owner"}};
    for (const std::wstring& text : texts) boxes.push_back({'b', text.c_str()});
    walk(boxes, [&] {
        const std::pair<const wchar_t*, int32_t> reports[] = {
            {L"Script", warnFontSingleLine}, {L"Script", warnFontSingleLine}, {L"Script", warnImage},
            {L"Gothic", warnFontArial}, {L"gothic", warnFontArial}, {L"logo.bmp", warnImage},
            {L"part.xlg", warnXlgImage}, {L"odd", 9}, {L"odd", warnFontArial}, {L"Before", warnImage},
            {x500.c_str(), warnFontArial}};
        for (const auto& r : reports) obj->WarnMissingResource(r.first, r.second);
    });
}

// A W2 entry for February to April, in March: refusals and what each dialog shows; its taxable income is 0.
// A self-employment entry, cancelled, shows no withholding field.
TEST(Windows, CalculatorDialogsFollowTheirEntries) {
    const wchar_t* const main = L"Self Employment Tax Calculator";
    const wchar_t* const badStart = L"Error:\nStart Month must be same as current month or earlier";
    const std::vector<Step> steps = {
        {'w', main}, {'l', L"1001 "}, {'c', nullptr, 1001, 2}, {'p', nullptr, 1004}, {'w', L"W2 Employment Income"},
        {'c', nullptr, 1006, 4}, {'b', badStart}, {'c', nullptr, 1006, 1}, {'c', nullptr, 1008, 3},
        {'l', L"1008 1010 1012 1 "}, {'c', nullptr, 1008, 0},
        {'b', L"Error:\nEnd Month must be same as start month or later"}, {'l', L"1008 1 "}, {'t', L"Shop", 1005},
        {'c', nullptr, 1006, 4}, {'b', badStart}, {'p', nullptr, IDOK},
        {'b', L"Invalid Start Month:\nYou must have valid start month"}, {'c', nullptr, 1006, 1},
        {'c', nullptr, 1008, 3}, {'t', L"100", 1010}, {'t', L"0", 1012}, {'g', nullptr, IDOK}, {'w', main},
        {'l', L"1 "}, {'p', nullptr, 1003}, {'w', L"Self Employment Income"}, {'c', nullptr, 1006, 0},
        {'c', nullptr, 1008, 2}, {'l', L"1008 1010 1 "}, {'g', nullptr, IDCANCEL}, {'w', main}, {'l', L"1 "},
        {'p', nullptr, IDOK}, {'w', L"Enter Standard Deduction"}, {'t', L"0", 1014},
        {'p', nullptr, IDOK}, {'b', L"Error:\nYou must enter social security threshhold"}, {'t', L"0.01", 1014},
        {'g', nullptr, IDOK}, {'w', L"Enter Tax From Table"},
        {'r', L"Enter Tax From Table | Taxable Income [0.00] off | Tax From Table [0] off"}, {'g', nullptr, IDOK},
        {'w', L"Enter Prior SE Tax Payments"},
        {'r', L"Enter Prior SE Tax Payments | Current Tax Liability [1.34] off | Prior Payments []"},
        {'g', nullptr, IDCANCEL}, {'w', main}, {'g', nullptr, IDCANCEL},  // a cancelled "Calc" keeps it open
    };
    walk(steps, [] {
        const hostkit::HostWindow host(L"Tax calculator host", 0, 0, 320, 200);
        EXPECT_EQ(hostkit::Object()->ShowTaxCalculator(host.get()), 2);
    });
}

}  // namespace
