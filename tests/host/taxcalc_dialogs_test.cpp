// The calculator through its real dialogs: slot 68 runs on the test's
// thread while a second thread walks the dialogs as a user would, step by
// step from a table.  QL_TEST_NEEDS_DISPLAY
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/taxcalc_golden.h"
#include "hostkit/dialogs.h"
#include "hostkit/host.h"

namespace {

using namespace std::chrono_literals;
constexpr const wchar_t* kMain = L"Self Employment Tax Calculator";

// 'w' waits for the dialog titled text and acts on it from then on; 'c' chooses item index of list id;
// 't' types text into id; 'p' presses id; 'g' presses id and waits for the dialog to close; 'r' reads
// the values dialog; 'v' which of the end month list, net income and withholding fields show (as in
// message, waiting a moment for it).  A step with a box expects that message box next, reads it and closes it.
struct Step { char action; int id = 0, index = 0; const wchar_t *text = nullptr, *box = nullptr, *message = nullptr; };

struct Walker {
    DWORD ui = GetCurrentThreadId();
    HWND d = nullptr;
    std::vector<std::wstring> seen;  // values dialogs and message boxes, in order

    HWND wait(const wchar_t* title, size_t step) {
        HWND w = nullptr;
        if (hostkit::waitFor([&] { return (w = hostkit::findThreadDialog(ui, title)) != nullptr; }, 10s)) return w;
        throw std::runtime_error("step " + std::to_string(step) + ": no window " + golden::narrow(std::wstring(title)));
    }
    std::wstring field(int id, const std::wstring& label) {
        return label + L" [" + hostkit::itemText(d, id) + L"]" + (IsWindowEnabled(GetDlgItem(d, id)) ? L"" : L" off");
    }
    void run(const Step& s, size_t step) {
        if (s.action == 'w') d = wait(s.text, step);
        if (s.action == 't') SetDlgItemTextW(d, s.id, s.text);
        if (s.action == 'c') SendDlgItemMessageW(d, s.id, CB_SETCURSEL, s.index, 0), PostMessageW(d, WM_COMMAND, MAKEWPARAM(s.id, CBN_SELCHANGE), 0);
        if (s.action == 'p' || s.action == 'g') hostkit::press(d, s.id);
        if (s.action == 'g' && !hostkit::waitGone(d, 10s)) throw std::runtime_error("step " + std::to_string(step) + ": still open");
        HWND label = GetWindow(d, GW_CHILD);  // the first label has the identifier -1
        while (s.action == 'r' && label && (GetDlgCtrlID(label) & 0xFFFF) != 0xFFFF) label = GetWindow(label, GW_HWNDNEXT);
        if (s.action == 'r') seen.push_back(hostkit::windowText(d) + L" | " + field(1014, hostkit::windowText(label)) + L" | " + field(1012, hostkit::itemText(d, 1015)));
        std::wstring shown;
        auto visible = [&] { shown = L"shown:"; for (int id : {1008, 1010, 1012}) if (IsWindowVisible(GetDlgItem(d, id))) shown += L" " + std::to_wstring(id); return shown == s.message; };
        if (s.action == 'v') hostkit::waitFor(visible, 2s), seen.push_back(shown);
        if (!s.box) return;
        HWND box = wait(s.box, step);
        seen.push_back(std::wstring(s.box) + L":\n" + hostkit::messageBoxText(box));
        hostkit::press(box, IDOK), hostkit::waitGone(box, 10s);
    }
};

// Runs slot 68 on a host window while the steps are walked; what was seen.
std::vector<std::wstring> walk(const std::vector<Step>& steps, int32_t endCode) {
    hostkit::Object object;
    hostkit::HostWindow host(L"Tax calculator host", 0, 0, 320, 200);
    Walker w;
    std::atomic<bool> done{false};
    std::string failure;
    std::thread driver([&] {
        try {
            for (size_t i = 0; i < steps.size(); ++i) w.run(steps[i], i);
        } catch (const std::exception& e) {
            for (failure = e.what(); !done; Sleep(100)) hostkit::cancelThreadDialogs(w.ui);
        }
    });
    EXPECT_EQ(object->ShowTaxCalculator(host.get()), endCode);
    done = true;
    driver.join();
    EXPECT_EQ(failure, "");
    return w.seen;
}

TEST(TaxCalculator, RefusesEachWrongInputInTurn) {
    ASSERT_TRUE(hostkit::library().loaded());
    EXPECT_EQ(hostkit::Object()->ShowTaxCalculator(nullptr), 0);
    const std::vector<Step> steps = {
        {'w', 0, 0, kMain}, {'c', 1001, 2}, {'p', 1004}, {'w', 0, 0, L"W2 Employment Income"},  // March
        {'c', 1006, 4, nullptr, L"Error", L"Start Month must be same as current month or earlier"},
        {'p', IDOK, 0, nullptr, L"Employer Name Blank", L"You must have valid employer name"},
        {'t', 1005, 0, L"Shop"}, {'p', IDOK, 0, nullptr, L"Invalid Start Month", L"You must have valid start month"},
        {'c', 1006, 1}, {'p', IDOK, 0, nullptr, L"Invalid End Month", L"You must have valid end month equal or greater than start month"},
        {'c', 1008, 3}, {'v', 0, 0, nullptr, nullptr, L"shown: 1008 1010 1012"},  // an end month, then one before the start
        {'c', 1008, 0, nullptr, L"Error", L"End Month must be same as start month or later"}, {'v', 0, 0, nullptr, nullptr, L"shown: 1008"},
        {'c', 1008, 3}, {'v', 0, 0, nullptr, nullptr, L"shown: 1008 1010 1012"}, {'p', IDOK, 0, nullptr, L"Invalid Net Income", L"You must enter valid net income"},
        {'t', 1010, 0, L"100"}, {'p', IDOK, 0, nullptr, L"Invalid W2 Withholding", L"You must enter W2 withholding"},
        {'t', 1012, 0, L"0"}, {'g', IDOK}, {'w', 0, 0, kMain}, {'p', IDOK}, {'w', 0, 0, L"Enter Standard Deduction"},
        {'t', 1014, 0, L"0"}, {'p', IDOK, 0, nullptr, L"Error", L"You must enter social security threshhold"},
        {'t', 1014, 0, L"0.01"}, {'t', 1012, 0, L""}, {'p', IDOK, 0, nullptr, L"Error", L"You must enter standard deduction"},
        {'g', IDCANCEL}, {'w', 0, 0, kMain}, {'g', IDCANCEL},  // a cancelled "Calc" keeps the calculator open
    };
    std::vector<std::wstring> expected;
    for (const Step& s : steps) if (s.message) expected.push_back(s.box ? std::wstring(s.box) + L":\n" + s.message : s.message);
    EXPECT_EQ(walk(steps, 2), expected);
}

TEST(TaxCalculator, TwoEntriesGiveTheirTranscript) {
    std::wstring transcript;
    for (const std::wstring& seen : walk({
             {'w', 0, 0, kMain}, {'c', 1001, 11}, {'p', 1003}, {'w', 0, 0, L"Self Employment Income"},
             {'t', 1005, 0, L"Consulting"}, {'c', 1006, 0}, {'c', 1008, 11}, {'t', 1010, 0, L"150000.00"}, {'g', IDOK},
             {'w', 0, 0, kMain}, {'p', 1004}, {'w', 0, 0, L"W2 Employment Income"}, {'t', 1005, 0, L"Big Corp"},
             {'c', 1006, 0}, {'c', 1008, 11}, {'t', 1010, 0, L"80000.00"}, {'t', 1012, 0, L"9000.00"}, {'g', IDOK},
             {'w', 0, 0, kMain}, {'p', IDOK}, {'w', 0, 0, L"Enter Standard Deduction"}, {'r'}, {'g', IDOK},
             {'w', 0, 0, L"Enter Tax From Table"}, {'r'}, {'t', 1012, 0, L"30000.00"}, {'g', IDOK},
             {'w', 0, 0, L"Enter Prior SE Tax Payments"}, {'r'}, {'t', 1012, 0, L"20000.00"}, {'p', IDOK, 0, nullptr, L"Results"},
         }, 1))
        transcript += (transcript.empty() ? L"" : L"\n") + seen;
    EXPECT_EQ(golden::compare(golden::narrow(transcript), "two_entries.txt", true), "");
}

}  // namespace
