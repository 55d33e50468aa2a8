// qlhost: a small command-line host for QLCommon.dll.
//   qlhost                       the default scenario (demo)
//   qlhost --help                the commands
//   qlhost [OPTIONS] NAME ARGS   one command
// Exit status: 0 done (a dialog confirmed), 1 failed or a dialog cancelled
// or closed, 2 a wrong argument.
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "qlhost.h"

namespace qlhost {
namespace {

struct Command {
    const char* name;
    const char* usage;    // its arguments
    const char* summary;  // what it does
    bool windows;         // shows windows: takes --close-after and --shots
    int (*run)(const Args&, const WindowOptions&);
};

const Command kCommands[] = {
    {"demo", "", "the default scenario: folders, measures, a data file under the progress bar, inflate, "
                 "the calculator's worked example", false, runDemo},
    {"version", "", "the release versions, the interface version and the live-object count", false, runVersion},
    {"folders", "", "the folder tree, [x] marking what exists (asking creates what the operations create)",
     false, runFolders},
    {"settings", "[--job PATH] [--graphix PATH]", "sets the given remembered paths, then shows both", false,
     runSettings},
    {"measure", "TEXT [--from UNIT] [--to UNIT] [--decimals N]",
     "TEXT in the --from unit (default inches) to thousandths, or whole thousandths to the --to unit "
     "(default thousandths); units: feet inches thousandths centimetres millimetres; decimals 0 to 12 "
     "(default 3)", false, runMeasure},
    {"copy", "IN OUT [--handle]", "copies IN to OUT through the data file (stream reads; stream or, with "
                                  "--handle, system-handle writes) and prints the byte counts", false, runCopy},
    {"inflate", "IN OUT", "decompresses the zlib stream in IN into OUT (ZLIB1.dll in the cache folder); "
                          "nothing is left in OUT when it fails", false, runInflate},
    {"open", "[EXT [multi]]", "the open-file picker, on the filter whose pattern ends in EXT (default pdf); "
                              "prints the chosen paths", true, runOpen},
    {"save", "[TITLE [EXT]]", "the save-file picker with TITLE (default \"Save the job\") and an overwrite "
                              "prompt; EXT pdf chooses the PDF filter", true, runSave},
    {"folder", "[START]", "the folder picker, starting in the existing folder START (none: the desktop); "
                          "prints the chosen folder", true, runFolder},
    {"progress", "[SECONDS]", "a host window and the progress bar over it for SECONDS (1 to 60, default 4); "
                              "the bar appears after the first second", true, runProgress},
    {"warn", "NAME [KIND]", "warns about a missing resource twice (the second report is silent); KIND 0 image, "
                            "1 font (single-line), 2 font (Arial, the default), 3 XLG image", true, runWarn},
    {"calc", "[--tour FOLDER]", "the tax calculator on a host window; --tour drives the worked example and "
                                "saves a screenshot of each window into FOLDER", true, runCalc},
};

std::string program() {
    const char* name = std::getenv("QLHOST_PROGRAM");  // tools/demo names itself
    return name && *name ? name : "qlhost";
}

void printUsage(std::FILE* to, const Command& c) {
    std::fprintf(to, "usage: %s %s%s%s%s\n", program().c_str(), c.name, *c.usage ? " " : "", c.usage,
                 c.windows ? " [--close-after MS] [--shots FOLDER]" : "");
}

int help() {
    std::printf("usage: %s [--close-after MS] [--shots FOLDER] [COMMAND [ARGS...]]\n\n", program().c_str());
    std::printf("With no command, runs demo.  Commands that show windows leave them to the user, or close\n"
                "them after --close-after MS (1 to 3600000) and save a screenshot of each into --shots.\n\n");
    for (const Command& c : kCommands) {
        std::printf("  %s %s\n      %s\n", c.name, c.usage, c.summary);
    }
    return 0;
}

// Takes the window options (--close-after MS, --shots FOLDER) at args[i].
bool takeWindowOption(const Args& args, size_t& i, WindowOptions& options) {
    if (args[i] != L"--close-after" && args[i] != L"--shots") return false;
    if (i + 1 >= args.size()) throw UsageError(narrow(args[i]) + " needs a value");
    if (args[i] == L"--close-after")
        options.closeAfterMs = wholeNumber(args[i + 1], 1, 3600000, "--close-after (milliseconds)");
    else
        options.shotsFolder = hostPath(args[i + 1]);
    i += 2;
    return true;
}

int run(const Args& all) {
    WindowOptions options;
    size_t i = 0;
    while (i < all.size() && takeWindowOption(all, i, options)) {
    }
    if (i < all.size() && (all[i] == L"--help" || all[i] == L"-h" || all[i] == L"help")) return help();
    const std::string name = i < all.size() ? narrow(all[i++]) : "demo";
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (name == c.name) command = &c;
    if (!command) {
        std::fprintf(stderr, "%s: unknown command '%s' (%s --help lists them)\n", program().c_str(), name.c_str(),
                     program().c_str());
        return 2;
    }
    try {
        Args rest;
        while (i < all.size())
            if (!command->windows || !takeWindowOption(all, i, options)) rest.push_back(all[i++]);
        if (!hostkit::library().loaded()) {
            throw Failure("cannot load QLCommon.dll beside qlhost.exe: " + systemMessage(GetLastError()));
        }
        return command->run(rest, options);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "%s %s: %s\n", program().c_str(), command->name, e.what());
        printUsage(stderr, *command);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s %s: %s\n", program().c_str(), command->name, e.what());
        return 1;
    }
}

}  // namespace

std::string narrow(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

int wholeNumber(const std::wstring& text, int min, int max, const char* what) {
    wchar_t* end = nullptr;
    errno = 0;
    const long long value = text.empty() ? 0 : std::wcstoll(text.c_str(), &end, 10);
    if (text.empty() || *end || errno || value < min || value > max) {
        throw UsageError(std::string(what) + " must be a whole number from " + std::to_string(min) + " to " +
                         std::to_string(max) + ", not '" + narrow(text) + "'");
    }
    return static_cast<int>(value);
}

void noMoreThan(const Args& args, size_t count) {
    if (args.size() > count) throw UsageError("unexpected argument '" + narrow(args[count]) + "'");
}

std::wstring hostPath(const std::wstring& typed) {
    using DosName = WCHAR* (*)(const char*);
    auto dosName = reinterpret_cast<DosName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (typed.empty() || typed[0] != L'/' || !dosName) return typed;  // on Windows "/x" is already Windows's
    WCHAR* converted = dosName(narrow(typed).c_str());
    if (!converted) throw Failure("no Windows path for " + narrow(typed));
    std::wstring path(converted);
    HeapFree(GetProcessHeap(), 0, converted);
    return path;
}

std::string systemMessage(DWORD code) {
    wchar_t text[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, 512, nullptr);
    std::wstring message(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return (message.empty() ? "system error" : narrow(message)) + " (error " + std::to_string(code) + ")";
}

}  // namespace qlhost

int wmain(int argc, wchar_t** argv) {
    // Plain "\n" line ends, also when the output goes to a Unix terminal.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return qlhost::run(qlhost::Args(argv + 1, argv + argc));
}
