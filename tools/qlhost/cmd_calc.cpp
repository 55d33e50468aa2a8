// qlhost calc: opens the self-employment tax calculator (slot 68) on a
// host window, as the host application does.
//   qlhost calc                  the calculator, for a person to use
//   qlhost calc --tour FOLDER    the worked example, typed in by a second
//                                thread, with a screenshot of each window
//                                saved into FOLDER as NAME.bmp
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>

#include "hostkit/dialogs.h"
#include "qlhost.h"

namespace qlhost {
namespace {

using std::chrono::milliseconds;

const char* endName(int32_t code) {
    switch (code) {
    case 1: return "results shown";
    case 2: return "cancelled";
    default: return "no dialog";
    }
}

// The tour: the second of the worked examples, step by step.
class Tour {
public:
    Tour(DWORD uiThread, std::wstring folder) : ui_(uiThread), folder_(std::move(folder)) {}

    void run() {
        HWND main = wait(L"Self Employment Tax Calculator");
        choose(main, 1001, 11);
        shot("taxcalc-main", main);
        addEntry(main, false, L"Consulting", L"150000.00", L"", "taxcalc-se-income");
        addEntry(main, true, L"Big Corp", L"80000.00", L"9000.00", "taxcalc-w2-income");
        hostkit::press(main, IDOK);
        values(L"Enter Standard Deduction", nullptr, "taxcalc-values-deduction");
        values(L"Enter Tax From Table", L"30000.00", "taxcalc-values-table-tax");
        values(L"Enter Prior SE Tax Payments", L"20000.00", "taxcalc-values-prior");
        HWND results = wait(L"Results");
        shot("taxcalc-results", results);
        if (folder_.empty()) std::printf("%s\n", narrow(hostkit::messageBoxText(results)).c_str());
        hostkit::press(results, IDOK);
    }

private:
    void addEntry(HWND main, bool w2, const wchar_t* employer, const wchar_t* net, const wchar_t* withholding,
                  const char* name) {
        hostkit::press(main, w2 ? 1004 : 1003);
        HWND d = wait(w2 ? L"W2 Employment Income" : L"Self Employment Income");
        SetDlgItemTextW(d, 1005, employer);
        choose(d, 1006, 0);
        choose(d, 1008, 11);
        SetDlgItemTextW(d, 1010, net);
        if (w2) SetDlgItemTextW(d, 1012, withholding);
        shot(name, d);
        hostkit::press(d, IDOK);
        hostkit::waitGone(d, milliseconds(10000));
    }

    void values(const wchar_t* title, const wchar_t* second, const char* name) {
        HWND d = wait(title);
        if (second) SetDlgItemTextW(d, 1012, second);
        shot(name, d);
        hostkit::press(d, IDOK);
        hostkit::waitGone(d, milliseconds(10000));
    }

    static void choose(HWND dialog, int id, int index) {
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        Sleep(100);
    }

    HWND wait(const wchar_t* title) {
        HWND found = nullptr;
        hostkit::waitFor([&] { return (found = hostkit::findThreadDialog(ui_, title)) != nullptr; },
                         milliseconds(10000));
        if (!found) throw Failure("window did not appear: " + narrow(title));
        return found;
    }

    void shot(const char* name, HWND w) {
        if (folder_.empty()) return;
        const std::wstring file = folder_ + L"\\" + std::wstring(name, name + strlen(name)) + L".bmp";
        if (!saveWindowShot(w, file)) throw Failure("cannot save " + narrow(file));
    }

    DWORD ui_;
    std::wstring folder_;
};

// Runs the calculator on `owner`; with `guided`, a second thread drives it
// through the worked example.
int runOn(HWND owner, bool guided, const std::wstring& folder, const WindowOptions& options) {
    Object service;
    std::thread tour;
    std::atomic<bool> failed{false}, closed{false};
    if (guided) {
        tour = std::thread([&, ui = GetCurrentThreadId()] {
            try {
                Tour(ui, folder).run();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "calc --tour: %s\n", e.what());
                failed = true;
                while (!closed) {  // cancels every dialog until the calculator has returned
                    hostkit::cancelThreadDialogs(ui);
                    Sleep(100);
                }
            }
        });
    }
    WindowWatch watch(guided ? WindowOptions{} : options, "calc");
    const int32_t code = service->ShowTaxCalculator(owner);
    closed = true;
    if (tour.joinable()) tour.join();
    std::printf("calculator closed: %d (%s%s)\n", code, endName(code),
                watch.closedAny() ? " after --close-after" : "");
    return !failed && code == 1 ? 0 : 1;
}

}  // namespace

int runCalc(const Args& args, const WindowOptions& options) {
    const bool guided = !args.empty() && args[0] == L"--tour";
    if (guided && args.size() < 2) throw UsageError("--tour needs a FOLDER for the screenshots");
    noMoreThan(args, guided ? 2 : 0);
    const std::wstring folder = guided ? hostPath(args[1]) : std::wstring();
    if (guided && !isFolder(folder))
        throw Failure("no folder " + narrow(folder));
    hostkit::HostWindow host(L"qlhost - tax calculator host", 20, 20, 420, 260);
    if (!host.get()) throw Failure("cannot create the host window: " + systemMessage(GetLastError()));
    return runOn(host.get(), guided, folder, options);
}

// The worked example for the demo: driven, no screenshots, results printed.
int runCalculatorExample(HWND owner) { return runOn(owner, true, std::wstring(), WindowOptions{}); }

}  // namespace qlhost
