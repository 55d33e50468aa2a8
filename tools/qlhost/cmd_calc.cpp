// qlhost calc: opens the self-employment tax calculator (slot 68) on a
// host window, as the host application does.
//   qlhost calc              the calculator, for a person to use
//   qlhost calc --tour DIR   a guided run for screenshots: the calculator
//                            drives itself through each dialog, prints
//                            "SHOT name x y width height" when a window is
//                            ready and waits for DIR\name.done
#include <atomic>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>

#include "qlhost.h"

namespace qlhost {
namespace {

// The host's own top-level window, owner of the calculator.
class HostWindow {
public:
    HostWindow() {
        window_ = CreateWindowExW(0, L"STATIC", L"qlhost - tax calculator host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  20, 20, 420, 260, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~HostWindow() {
        if (window_) DestroyWindow(window_);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

const char* endName(int32_t code) {
    switch (code) {
    case 1: return "results shown";
    case 2: return "cancelled";
    default: return "no dialog";
    }
}

// The tour: the second of the worked examples, step by step, with a pause
// for a screenshot at each window.
class Tour {
public:
    Tour(DWORD uiThread, std::wstring dir) : ui_(uiThread), dir_(std::move(dir)) {}

    void run() {
        HWND main = wait(L"Self Employment Tax Calculator");
        choose(main, 1001, 11);
        pause(200);
        shot("taxcalc-main", main);
        addEntry(main, false, L"Consulting", L"150000.00", L"", "taxcalc-se-income");
        addEntry(main, true, L"Big Corp", L"80000.00", L"9000.00", "taxcalc-w2-income");
        post(main, IDOK);
        values(L"Enter Standard Deduction", nullptr, "taxcalc-values-deduction");
        values(L"Enter Tax From Table", L"30000.00", "taxcalc-values-table-tax");
        values(L"Enter Prior SE Tax Payments", L"20000.00", "taxcalc-values-prior");
        HWND results = wait(L"Results");
        shot("taxcalc-results", results);
        if (dir_.empty()) {
            wchar_t body[4096] = {};
            GetDlgItemTextW(results, 0xFFFF, body, 4096);
            std::printf("%s\n", narrow(body).c_str());
        }
        post(results, IDOK);
    }

private:
    void addEntry(HWND main, bool w2, const wchar_t* employer, const wchar_t* net, const wchar_t* withholding,
                  const char* name) {
        post(main, w2 ? 1004 : 1003);
        HWND d = wait(w2 ? L"W2 Employment Income" : L"Self Employment Income");
        SetDlgItemTextW(d, 1005, employer);
        choose(d, 1006, 0);
        choose(d, 1008, 11);
        pause(200);
        SetDlgItemTextW(d, 1010, net);
        if (w2) SetDlgItemTextW(d, 1012, withholding);
        shot(name, d);
        post(d, IDOK);
        gone(d);
    }

    void values(const wchar_t* title, const wchar_t* second, const char* name) {
        HWND d = wait(title);
        if (second) SetDlgItemTextW(d, 1012, second);
        shot(name, d);
        post(d, IDOK);
        gone(d);
    }

    void post(HWND dialog, int id) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    void choose(HWND dialog, int id, int index) {
        SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        pause(100);
    }
    static void pause(int ms) { Sleep(ms); }

    HWND wait(const wchar_t* title) {
        for (int i = 0; i < 1000; ++i) {
            struct Search {
                const wchar_t* title;
                HWND found;
            } s{title, nullptr};
            EnumThreadWindows(ui_, [](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                wchar_t text[128] = {}, cls[16] = {};
                GetWindowTextW(w, text, 128);
                GetClassNameW(w, cls, 16);
                if (IsWindowVisible(w) && std::wstring(cls) == L"#32770" && std::wstring(text) == s->title) {
                    s->found = w;
                    return FALSE;
                }
                return TRUE;
            }, reinterpret_cast<LPARAM>(&s));
            if (s.found) return s.found;
            Sleep(10);
        }
        throw std::runtime_error("window did not appear: " + narrow(title));
    }
    static void gone(HWND w) {
        for (int i = 0; i < 1000 && IsWindow(w) && IsWindowVisible(w); ++i) Sleep(10);
    }

    // Announces a window ready to be photographed, then waits (at most
    // 30 s) for the photographer's DIR\name.done.
    void shot(const char* name, HWND w) {
        if (dir_.empty()) return;  // a run without screenshots
        RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        pause(300);
        RECT r;
        GetWindowRect(w, &r);
        std::printf("SHOT %s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
        std::fflush(stdout);
        std::wstring done = dir_ + L"\\" + std::wstring(name, name + std::char_traits<char>::length(name)) + L".done";
        for (int i = 0; i < 300 && GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
    }

    DWORD ui_;
    std::wstring dir_;
};

// After a failed tour: cancels every dialog of the UI thread until the
// calculator has returned.
void cancelAll(DWORD ui, const std::atomic<bool>& closed) {
    for (int i = 0; i < 200 && !closed; ++i) {
        EnumThreadWindows(ui, [](HWND w, LPARAM) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (std::wstring(cls) == L"#32770") PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }, 0);
        Sleep(100);
    }
}

// Runs the calculator on `owner`; with `tour` set, a second thread drives it
// through the worked example (with screenshots when `dir` is not empty).
int runOn(Library& lib, HWND owner, bool guided, const std::wstring& dir) {
    Service service(lib);
    std::thread tour;
    std::atomic<bool> failed{false};
    std::atomic<bool> closed{false};
    if (guided) {
        tour = std::thread([&, dir, ui = GetCurrentThreadId()] {
            try {
                Tour(ui, dir).run();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "qlhost calc: %s\n", e.what());
                failed = true;
                cancelAll(ui, closed);
            }
        });
    }
    const int32_t code = service->ShowTaxCalculator(owner);
    closed = true;
    if (tour.joinable()) tour.join();
    std::printf("calculator closed: %d (%s)\n", code, endName(code));
    return failed ? 1 : 0;
}

int runCalc(Library& lib, const Args& args) {
    HostWindow host;
    if (!host.get()) {
        std::fprintf(stderr, "qlhost calc: cannot create the host window\n");
        return 1;
    }
    const bool guided = args.size() >= 2 && args[0] == L"--tour";
    return runOn(lib, host.get(), guided, guided ? args[1] : std::wstring());
}

const bool registered = registerCommand(
    {"calc", "[--tour DIR]", "opens the self-employment tax calculator on a host window", runCalc});

}  // namespace

// The worked example for the demo: driven, no screenshots, results printed.
int runCalculatorExample(Library& lib, HWND owner) { return runOn(lib, owner, true, std::wstring()); }

}  // namespace qlhost
