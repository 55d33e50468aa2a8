// The demo host's shared pieces: arguments, strict readers of them, paths
// as the user typed them, and the watch that closes and photographs the
// windows a command shows.  The library itself is reached through
// tools/hostkit (hostkit::library(), hostkit::Object).
#ifndef QLHOST_QLHOST_H
#define QLHOST_QLHOST_H

#include <windows.h>

#include <atomic>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "hostkit/host.h"

namespace qlhost {

using Args = std::vector<std::wstring>;
using hostkit::Object;

// How the window commands end: after closeAfterMs (0: when the user closes
// them), with a screenshot of each window in shotsFolder (empty: none).
struct WindowOptions {
    int closeAfterMs = 0;
    std::wstring shotsFolder;
};

// A wrong argument: what() is the one-line reason; main prints it with the
// command's usage and exits with 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A failure with its cause (exit 1).
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string narrow(const std::wstring& text);

// A whole number from min to max, or UsageError naming `what`.
int wholeNumber(const std::wstring& text, int min, int max, const char* what);

// Refuses arguments past the first `count`.
void noMoreThan(const Args& args, size_t count);

// The Windows path of what the user typed: a Unix path ("/tmp/x") becomes
// the Windows path of the same file under Wine; others pass unchanged and
// relative ones count from the current folder, where the user stands.
std::wstring hostPath(const std::wstring& typed);

inline bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The message of a system error code.
std::string systemMessage(DWORD code);

// Closes (after options.closeAfterMs) and photographs (into
// options.shotsFolder, as COMMAND-N-TITLE.bmp, the title
// with a dash for each character other than a letter or digit) every window this process shows while
// it is alive.
class WindowWatch {
public:
    WindowWatch(const WindowOptions& options, std::string name);
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;
    bool closedAny() const { return closed_; }

private:
    std::atomic<bool> stop_{false}, closed_{false};
    std::thread thread_;
};

// Saves the screen's picture of a window as a 24-bit BMP file.
bool saveWindowShot(HWND window, const std::wstring& path);

// The commands, one per cmd_*.cpp file.
int runCalc(const Args& args, const WindowOptions& options);
int runCopy(const Args& args, const WindowOptions& options);
int runDemo(const Args& args, const WindowOptions& options);
int runFolders(const Args& args, const WindowOptions& options);
int runInflate(const Args& args, const WindowOptions& options);
int runMeasure(const Args& args, const WindowOptions& options);
int runOpen(const Args& args, const WindowOptions& options);
int runSave(const Args& args, const WindowOptions& options);
int runFolder(const Args& args, const WindowOptions& options);
int runProgress(const Args& args, const WindowOptions& options);
int runSettings(const Args& args, const WindowOptions& options);
int runVersion(const Args& args, const WindowOptions& options);
int runWarn(const Args& args, const WindowOptions& options);

// The worked example of the calculator for the demo (cmd_calc.cpp).
int runCalculatorExample(HWND owner);

}  // namespace qlhost

#endif
