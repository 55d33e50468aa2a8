// The watch over a window command: photographs each window the process
// shows once it has been drawn, and after the close time cancels every
// dialog and message box, so that no command waits for a person who is not
// there.
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

#include "hostkit/dialogs.h"
#include "base/owned.h"
#include "qlhost.h"

namespace qlhost {
namespace {

void releaseScreen(HDC dc) { ReleaseDC(nullptr, dc); }
void deleteDc(HDC dc) { DeleteDC(dc); }
void deleteBitmap(HBITMAP bitmap) { DeleteObject(bitmap); }
void closeFile(std::FILE* file) { std::fclose(file); }
using ScreenDc = ql::Owned<HDC, releaseScreen>;
using MemoryDc = ql::Owned<HDC, deleteDc>;
using Bitmap = ql::Owned<HBITMAP, deleteBitmap>;
using File = ql::Owned<std::FILE*, closeFile>;

// This process's visible top-level windows.
std::vector<HWND> ownWindows() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            RECT r{};
            GetWindowRect(w, &r);
            if (pid == GetCurrentProcessId() && IsWindowVisible(w) && r.right > r.left && r.bottom > r.top)
                reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void deleteFont(HFONT font) { DeleteObject(font); }
using Font = ql::Owned<HFONT, deleteFont>;

// Wine sizes a message box by its text alone, where Windows also makes room
// for the caption.  Before its screenshot, a dialog too narrow for its
// caption is widened and its controls moved along to stay in the middle.
void fitCaption(HWND dialog) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    Font font(CreateFontIndirectW(&metrics.lfCaptionFont));
    ScreenDc screen(GetDC(nullptr));
    HGDIOBJ previous = SelectObject(screen.get(), font.get());
    const std::wstring title = hostkit::windowText(dialog);
    SIZE text{};
    GetTextExtentPoint32W(screen.get(), title.c_str(), static_cast<int>(title.size()), &text);
    SelectObject(screen.get(), previous);
    RECT r{};
    GetWindowRect(dialog, &r);
    const int extra = text.cx + 2 * GetSystemMetrics(SM_CXSIZE) + 4 * GetSystemMetrics(SM_CXFRAME) + 8 -
                      (r.right - r.left);
    if (extra <= 0) return;
    SetWindowPos(dialog, nullptr, r.left - extra / 2, r.top, r.right - r.left + extra, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT c{};
        GetWindowRect(child, &c);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&c), 2);
        wchar_t kind[8] = {};
        GetClassNameW(child, kind, 8);
        if (_wcsicmp(kind, L"Static") == 0 && GetWindowTextLengthW(child) > 0)  // the text: as wide as the box
            SetWindowPos(child, nullptr, c.left, c.top, c.right - c.left + extra, c.bottom - c.top, SWP_NOZORDER | SWP_NOACTIVATE);
        else
            SetWindowPos(child, nullptr, c.left + extra / 2, c.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace

bool saveWindowShot(HWND window, const std::wstring& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(200);
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u, size = stride * static_cast<DWORD>(height);
    ScreenDc screen(GetDC(nullptr));
    MemoryDc memory(CreateCompatibleDC(screen.get()));
    void* pixels = nullptr;
    Bitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!memory || !bitmap) return false;
    HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    const bool copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
    GdiFlush();
    SelectObject(memory.get(), previous);
    File file(_wfopen(path.c_str(), L"wb"));
    if (!copied || !file) return false;
    info.bmiHeader.biSizeImage = size;
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const BITMAPFILEHEADER header{0x4D42, offset + size, 0, 0, offset};
    return std::fwrite(&header, sizeof header, 1, file.get()) == 1 &&
           std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file.get()) == 1 &&
           std::fwrite(pixels, 1, size, file.get()) == size;
}

WindowWatch::WindowWatch(const WindowOptions& options, std::string name) {
    if (options.closeAfterMs <= 0 && options.shotsFolder.empty()) return;
    thread_ = std::thread([this, options, name] {
        using Clock = std::chrono::steady_clock;
        const auto closeAt = Clock::now() + std::chrono::milliseconds(options.closeAfterMs);
        std::map<HWND, Clock::time_point> firstSeen;
        int shots = 0;
        while (!stop_) {
            Sleep(100);
            for (HWND w : ownWindows()) {
                auto [seen, fresh] = firstSeen.emplace(w, Clock::now());
                // A window is photographed once, when it has had time to draw.
                if (options.shotsFolder.empty() || seen->second == Clock::time_point{}) continue;
                if (fresh || Clock::now() - seen->second < std::chrono::milliseconds(600)) continue;
                seen->second = Clock::time_point{};
                if (hostkit::isDialog(w)) fitCaption(w);
                std::wstring title = hostkit::windowText(w);
                for (wchar_t& c : title)
                    if (!iswalnum(c)) c = L'-';
                const std::wstring file = options.shotsFolder + L"\\" + std::wstring(name.begin(), name.end()) +
                                          L"-" + std::to_wstring(++shots) + L"-" + title + L".bmp";
                if (!saveWindowShot(w, file)) std::fprintf(stderr, "cannot save %s\n", narrow(file).c_str());
            }
            if (options.closeAfterMs <= 0 || Clock::now() < closeAt) continue;
            if (HWND dialog = hostkit::findOwnDialog()) {
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                closed_ = true;
                Sleep(100);
            }
        }
    });
}

WindowWatch::~WindowWatch() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

}  // namespace qlhost
