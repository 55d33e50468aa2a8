// The tax calculator as a user meets it: slot 68 opens the real dialogs on
// the test's main thread, and a second thread drives them - choosing the
// month, adding entries, pressing "Calc", answering the values dialogs and
// reading the results back.  QL_TEST_NEEDS_DISPLAY
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "hostkit/dialogs.h"
#include "hostkit/host.h"

namespace {

using hostkit::itemText;
using hostkit::windowText;

// Control identifiers of the calculator's templates.
constexpr int kMonthList = 1001, kSeButton = 1003, kW2Button = 1004;
constexpr int kEmployer = 1005, kStartList = 1006, kEndList = 1008, kEndLabel = 1009;
constexpr int kNet = 1010, kNetLabel = 1011, kWithholding = 1012, kWithholdingLabel = 1013;
constexpr int kFirstValue = 1014, kSecondValue = 1012, kSecondLabel = 1015;

constexpr DWORD kWaitMs = 10000;  // no step waits longer

struct Timeout : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(c < 128 ? static_cast<char>(c) : '?');
    return s;
}

bool visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
int selection(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

// Drives the dialogs of the UI thread from another thread.  Actions that
// may open a modal window are posted, so the driver never waits inside one;
// every wait polls with a time limit.
class Driver {
public:
    explicit Driver(DWORD uiThread) : uiThread_(uiThread) {}

    // The visible dialog or message box with this title, once it appears.
    HWND wait(const wchar_t* title) {
        HWND found = nullptr;
        until([&] { return (found = hostkit::findThreadDialog(uiThread_, title)) != nullptr; }, narrow(title));
        return found;
    }
    void waitGone(HWND w) {
        until([&] { return !IsWindow(w) || !IsWindowVisible(w); }, "window to close");
    }
    void until(const std::function<bool()>& condition, const std::string& what) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end) throw Timeout("timed out waiting for " + what);
            Sleep(10);
        }
    }

    void press(HWND dialog, int id) { hostkit::press(dialog, id); }
    void choose(HWND dialog, int id, int index) {
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    void type(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(dialog, id, text); }

    // Reads the message box with this title, presses OK, and returns
    // "text" as shown.
    std::wstring readBox(const wchar_t* title) {
        HWND box = wait(title);
        std::wstring text = hostkit::messageBoxText(box);
        press(box, IDOK);
        waitGone(box);
        return text;
    }

    HWND main() { return wait(L"Self Employment Tax Calculator"); }

    void chooseMonth(HWND main, int month) {
        choose(main, kMonthList, month);
        until([&] { return visible(main, kSeButton) && selection(main, kMonthList) == month; }, "income buttons");
    }

    // One entry through "SE Income..." or "W2 Income...", accepted.
    void addEntry(HWND main, bool w2, const wchar_t* employer, int start, int end, const wchar_t* net,
                  const wchar_t* withholding = L"") {
        press(main, w2 ? kW2Button : kSeButton);
        HWND d = wait(w2 ? L"W2 Employment Income" : L"Self Employment Income");
        type(d, kEmployer, employer);
        choose(d, kStartList, start);
        until([&] { return visible(d, kEndList); }, "end month list");
        choose(d, kEndList, end);
        until([&] { return visible(d, kNet); }, "net income field");
        type(d, kNet, net);
        if (w2) type(d, kWithholding, withholding);
        press(d, IDOK);
        waitGone(d);
    }

    // Answers one values dialog: second field typed unless null, then OK.
    // Returns what it showed: title | first | label | second | label.
    std::wstring answerValues(const wchar_t* title, const wchar_t* second, bool ok = true) {
        HWND d = wait(title);
        std::wstring shown = itemText(d, kFirstValue) + L"|" + firstLabel(d) + L"|" + itemText(d, kSecondValue) +
                             L"|" + itemText(d, kSecondLabel) + L"|" + (enabled(d, kFirstValue) ? L"on" : L"off") +
                             L"|" + (enabled(d, kSecondValue) ? L"on" : L"off");
        if (second) type(d, kSecondValue, second);
        press(d, ok ? IDOK : IDCANCEL);
        waitGone(d);
        return shown;
    }

    static std::wstring firstLabel(HWND d) {
        for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if ((GetDlgCtrlID(c) & 0xFFFF) == 0xFFFF) return windowText(c);
        return L"?";
    }

    // After a failure: cancel every dialog and box of the UI thread until
    // the calculator has returned.
    void bailOut(const std::atomic<bool>& done) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done && std::chrono::steady_clock::now() < end) {
            hostkit::cancelThreadDialogs(uiThread_);
            Sleep(100);
        }
    }

private:
    DWORD uiThread_;
};


class TaxCalculator : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(hostkit::library().loaded()); }

    // Runs slot 68 on this thread while script drives it from another.
    // Returns the slot's result; failures of the script land in failure.
    int32_t run(const std::function<void(Driver&)>& script) {
        std::atomic<bool> done{false};
        Driver driver(GetCurrentThreadId());
        failure.clear();
        std::thread t([&] {
            try {
                script(driver);
            } catch (const std::exception& e) {
                failure = e.what();
                driver.bailOut(done);
            }
        });
        const int32_t code = object->ShowTaxCalculator(host.get());
        done = true;
        t.join();
        return code;
    }

    hostkit::Object object;
    hostkit::HostWindow host{L"Tax calculator host", 0, 0, 320, 200};
    std::string failure;
};

// The non-empty fields of each results line, tabs dropped.
std::vector<std::string> fields(const std::wstring& results) {
    std::vector<std::string> out;
    std::istringstream in(narrow(results));
    std::string line;
    while (std::getline(in, line)) {
        std::string joined, field;
        for (char c : line + "\t") {
            if (c != '\t') {
                field.push_back(c);
            } else if (!field.empty()) {
                joined += (joined.empty() ? "" : "|") + field;
                field.clear();
            }
        }
        out.push_back(joined);
    }
    return out;
}

TEST_F(TaxCalculator, NullParentShowsNothing) {
    EXPECT_EQ(object->ShowTaxCalculator(nullptr), 0);
}

TEST_F(TaxCalculator, OneSelfEmploymentEntry) {
    std::wstring values1, values2, values3, results;
    bool calcBefore = true, calcAfter = false, listAfter = true, buttonsBefore = true;
    const int32_t code = run([&](Driver& d) {
        HWND main = d.main();
        buttonsBefore = visible(main, kSeButton) || visible(main, kW2Button);
        d.chooseMonth(main, 5);
        calcBefore = enabled(main, IDOK);
        d.addEntry(main, false, L"Acme Design", 0, 11, L"30000.00");
        d.until([&] { return enabled(main, IDOK); }, "Calc enabled");
        calcAfter = enabled(main, IDOK);
        listAfter = enabled(main, kMonthList);
        d.press(main, IDOK);
        values1 = d.answerValues(L"Enter Standard Deduction", nullptr);
        values2 = d.answerValues(L"Enter Tax From Table", L"4500.00");
        values3 = d.answerValues(L"Enter Prior SE Tax Payments", L"2000.00");
        results = d.readBox(L"Results");
    });
    ASSERT_EQ(failure, "");
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(buttonsBefore);
    EXPECT_FALSE(calcBefore);
    EXPECT_TRUE(calcAfter);
    EXPECT_FALSE(listAfter);
    EXPECT_EQ(narrow(values1), "176100.00|Soc Sec Thresh|15000.00|Standard Deduction|on|on");
    EXPECT_EQ(narrow(values2), "40761.13|Taxable Income||Tax From Table|off|on");
    EXPECT_EQ(narrow(values3), "6488.87|Current Tax Liability||Prior Payments|off|on");
    EXPECT_EQ(fields(results), (std::vector<std::string>{
                                   "Acme Design|30000.00|60000.00",
                                   "",
                                   "Totals|30000.00|60000.00",
                                   "",
                                   "SE Tax|4238.87|-4238.86",
                                   "STD Deduction|-15000.00",
                                   "",
                                   "Taxable Income|40761.13",
                                   "",
                                   "Income Tax|2250.00|4500.00",
                                   "",
                                   "Current Liability|6488.87|21.63%",
                                   "Current W2 Withholding|-0.00",
                                   "Prior SE Payments|-2000.00",
                                   "",
                                   "Amount Due|4488.87",
                               }))
        << narrow(results);
}

TEST_F(TaxCalculator, ShortW2PeriodEnteredLater) {
    std::wstring values2, values3, results;
    const int32_t code = run([&](Driver& d) {
        HWND main = d.main();
        d.chooseMonth(main, 8);
        d.addEntry(main, true, L"Corner Shop", 3, 5, L"1200.00", L"5000.00");
        d.press(main, IDOK);
        d.answerValues(L"Enter Standard Deduction", nullptr);
        values2 = d.answerValues(L"Enter Tax From Table", nullptr);
        values3 = d.answerValues(L"Enter Prior SE Tax Payments", nullptr);
        results = d.readBox(L"Results");
    });
    ASSERT_EQ(failure, "");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(narrow(values2), "0.00|Taxable Income|0|Tax From Table|off|off");
    EXPECT_EQ(narrow(values3), "-4846.51|Current Tax Liability||Prior Payments|off|on");
    std::vector<std::string> f = fields(results);
    ASSERT_EQ(f.size(), 16u) << narrow(results);
    EXPECT_EQ(f[0], "Corner Shop|1200.00|600.00");
    EXPECT_EQ(f[7], "Taxable Income|0.00");
    EXPECT_EQ(f[11], "Current Liability|153.49|12.79%");
    EXPECT_EQ(f[15], "Amount Due|0.00");
}

TEST_F(TaxCalculator, IncomeDialogRefusals) {
    std::vector<std::string> seen;
    auto note = [&](const std::wstring& s) { seen.push_back(narrow(s)); };
    bool endListShown = false, netShownAfterBadEnd = true, withholdingShownForSe = true, calcAfterCancel = true;
    int startAfterRefusal = 0;
    const int32_t code = run([&](Driver& d) {
        HWND main = d.main();
        d.chooseMonth(main, 2);  // March
        d.press(main, kSeButton);
        HWND e = d.wait(L"Self Employment Income");
        d.choose(e, kStartList, 4);  // May
        note(d.readBox(L"Error"));
        // the selection is cleared once the message box has returned
        d.until([&] { return selection(e, kStartList) == -1; }, "start month cleared");
        startAfterRefusal = selection(e, kStartList);
        d.press(e, IDOK);
        note(L"Employer Name Blank: " + d.readBox(L"Employer Name Blank"));
        d.type(e, kEmployer, L"Sole Trader");
        d.press(e, IDOK);
        note(L"Invalid Start Month: " + d.readBox(L"Invalid Start Month"));
        d.choose(e, kStartList, 1);
        d.until([&] { return visible(e, kEndList) && visible(e, kEndLabel); }, "end month list");
        endListShown = true;
        d.press(e, IDOK);  // no end month yet
        note(L"Invalid End Month: " + d.readBox(L"Invalid End Month"));
        d.choose(e, kEndList, 6);
        d.until([&] { return visible(e, kNet) && visible(e, kNetLabel); }, "net income field");
        withholdingShownForSe = visible(e, kWithholding) || visible(e, kWithholdingLabel);
        d.choose(e, kEndList, 0);  // before the start month
        note(d.readBox(L"Error"));
        d.until([&] { return !visible(e, kNet) && selection(e, kEndList) == -1; }, "amount fields hidden");
        netShownAfterBadEnd = visible(e, kNet) || visible(e, kNetLabel);
        d.choose(e, kEndList, 6);
        d.until([&] { return visible(e, kNet); }, "net income field");
        d.press(e, IDOK);
        note(L"Invalid Net Income: " + d.readBox(L"Invalid Net Income"));
        // A start month after the current one that slipped past its own
        // check is caught at OK.
        SendDlgItemMessageW(e, kStartList, CB_SETCURSEL, 5, 0);
        d.press(e, IDOK);
        note(L"Invalid Start Month: " + d.readBox(L"Invalid Start Month"));
        d.press(e, IDCANCEL);
        d.waitGone(e);
        calcAfterCancel = enabled(main, IDOK);

        // W2: empty withholding refused, "0" accepted.
        d.press(main, kW2Button);
        HWND w = d.wait(L"W2 Employment Income");
        d.type(w, kEmployer, L"Employer");
        d.choose(w, kStartList, 0);
        d.until([&] { return visible(w, kEndList); }, "end month list");
        d.choose(w, kEndList, 2);
        d.until([&] { return visible(w, kWithholding) && visible(w, kWithholdingLabel); }, "withholding field");
        d.type(w, kNet, L"100");
        d.press(w, IDOK);
        note(L"Invalid W2 Withholding: " + d.readBox(L"Invalid W2 Withholding"));
        d.type(w, kWithholding, L"0");
        // Start changed after the end month: caught at OK.
        d.choose(w, kStartList, 2);
        d.choose(w, kEndList, 1);
        note(d.readBox(L"Error"));
        d.until([&] { return selection(w, kEndList) == -1; }, "end month cleared");
        d.choose(w, kEndList, 2);
        d.until([&] { return visible(w, kNet); }, "net income field");
        d.press(w, IDOK);
        d.waitGone(w);
        d.until([&] { return enabled(main, IDOK); }, "Calc enabled");
        d.press(main, IDCANCEL);
    });
    ASSERT_EQ(failure, "");
    EXPECT_EQ(code, 2);
    EXPECT_EQ(startAfterRefusal, -1);
    EXPECT_TRUE(endListShown);
    EXPECT_FALSE(withholdingShownForSe);
    EXPECT_FALSE(netShownAfterBadEnd);
    EXPECT_FALSE(calcAfterCancel);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "Start Month must be same as current month or earlier",
                        "Employer Name Blank: You must have valid employer name",
                        "Invalid Start Month: You must have valid start month",
                        "Invalid End Month: You must have valid end month equal or greater than start month",
                        "End Month must be same as start month or later",
                        "Invalid Net Income: You must enter valid net income",
                        "Invalid Start Month: Start Month cannot be greater than current month",
                        "Invalid W2 Withholding: You must enter W2 withholding",
                        "End Month must be same as start month or later",
                    }));
}

TEST_F(TaxCalculator, ValuesRefusalsAndCancelKeepTheMainDialog) {
    std::vector<std::string> seen;
    bool mainOpenAfterCancel = false, calcStillEnabled = false, listStillDisabled = false;
    std::wstring results;
    const int32_t code = run([&](Driver& d) {
        HWND main = d.main();
        d.chooseMonth(main, 5);
        d.chooseMonth(main, 4);  // the month may change before the first entry
        d.addEntry(main, false, L"Acme", 0, 11, L"25000");
        d.press(main, IDOK);
        HWND v = d.wait(L"Enter Standard Deduction");
        d.type(v, kFirstValue, L"0");
        d.press(v, IDOK);
        seen.push_back(narrow(d.readBox(L"Error")));
        d.type(v, kFirstValue, L"0.01");
        d.type(v, kSecondValue, L"");
        d.press(v, IDOK);
        seen.push_back(narrow(d.readBox(L"Error")));
        d.type(v, kFirstValue, L"176100");
        d.type(v, kSecondValue, L"15000");
        d.press(v, IDOK);
        d.waitGone(v);
        d.answerValues(L"Enter Tax From Table", L"100", false);  // Cancel
        Sleep(200);
        mainOpenAfterCancel = IsWindowVisible(main) != FALSE;
        calcStillEnabled = enabled(main, IDOK);
        listStillDisabled = !enabled(main, kMonthList);
        // A second "Calc" asks all three again.
        d.press(main, IDOK);
        d.answerValues(L"Enter Standard Deduction", nullptr);
        d.answerValues(L"Enter Tax From Table", L"1000");
        d.answerValues(L"Enter Prior SE Tax Payments", L"");
        results = d.readBox(L"Results");
    });
    ASSERT_EQ(failure, "");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(seen, (std::vector<std::string>{"You must enter social security threshhold",
                                              "You must enter standard deduction"}));
    EXPECT_TRUE(mainOpenAfterCancel);
    EXPECT_TRUE(calcStillEnabled);
    EXPECT_TRUE(listStillDisabled);
    // May is month 4: five months to date, projected over twelve.
    EXPECT_EQ(fields(results)[0], "Acme|25000.00|60000.00");
}

TEST_F(TaxCalculator, CancelReleasesAndTheNextOpeningStartsEmpty) {
    bool laterCancelKept = false;
    int32_t first = run([&](Driver& d) {
        HWND main = d.main();
        d.chooseMonth(main, 3);
        d.addEntry(main, false, L"One", 0, 3, L"10");
        d.addEntry(main, true, L"Two", 1, 3, L"20", L"1");
        // A later income dialog cancelled changes neither the list nor "Calc".
        d.press(main, kSeButton);
        HWND e = d.wait(L"Self Employment Income");
        d.press(e, IDCANCEL);
        d.waitGone(e);
        Sleep(100);
        laterCancelKept = enabled(main, IDOK) && !enabled(main, kMonthList);
        d.press(main, IDCANCEL);
    });
    ASSERT_EQ(failure, "");
    EXPECT_EQ(first, 2);
    EXPECT_TRUE(laterCancelKept);

    bool calc = true, list = false, buttons = true;
    int month = 0;
    std::wstring results;
    int32_t second = run([&](Driver& d) {
        HWND main = d.main();
        calc = enabled(main, IDOK);
        list = enabled(main, kMonthList);
        buttons = visible(main, kSeButton) || visible(main, kW2Button);
        month = selection(main, kMonthList);
        // Only this opening's entry reaches the results.
        d.chooseMonth(main, 0);
        d.addEntry(main, false, L"Three", 0, 0, L"30");
        d.press(main, IDOK);
        d.answerValues(L"Enter Standard Deduction", nullptr);
        d.answerValues(L"Enter Tax From Table", nullptr);
        d.answerValues(L"Enter Prior SE Tax Payments", nullptr);
        results = d.readBox(L"Results");
    });
    ASSERT_EQ(failure, "");
    EXPECT_EQ(second, 1);
    EXPECT_FALSE(calc);
    EXPECT_TRUE(list);
    EXPECT_FALSE(buttons);
    EXPECT_EQ(month, -1);
    EXPECT_EQ(fields(results)[2], "Totals|30.00|30.00");
}

}  // namespace
