// qlhost open / save / folder: shows one of the library's pickers and
// prints what was chosen.  Exit status 0 when something was chosen, 1 when
// the picker was cancelled or closed.
#include <objbase.h>

#include <cstdio>
#include <string>

#include "qlhost.h"

namespace qlhost {
namespace {

const wchar_t kFilters[] =
    L"Job files (*.job)\0*.job\0PDF files (*.pdf)\0*.pdf\0Pictures (*.bmp;*.png)\0*.bmp;*.png\0\0";

const wchar_t* argOr(const Args& args, size_t i, const wchar_t* fallback) {
    return i < args.size() ? args[i].c_str() : fallback;
}

int printResult(int32_t result, const wchar_t* buffer, const WindowWatch& watch) {
    std::printf("result: %d (%s)\n", result,
                result == 1 ? "chosen" : watch.closedAny() ? "nothing chosen: closed after --close-after" : "nothing chosen");
    if (result != 1) return 1;
    // With multiple selection the buffer holds the folder, then each name,
    // each ended by a zero, the list by an empty one.
    const char* label = "path";
    for (const wchar_t* part = buffer; *part; part += wcslen(part) + 1, label = "name")
        std::printf("%s: %s\n", label, narrow(part).c_str());
    return 0;
}

}  // namespace

int runOpen(const Args& args, const WindowOptions& options) {
    noMoreThan(args, 2);
    if (args.size() == 2 && args[1] != L"multi") throw UsageError("the second argument can only be 'multi'");
    Object service;
    wchar_t file[4096] = L"";
    WindowWatch watch(options, "open");
    const int32_t result = service->BrowseOpenFile(nullptr, kFilters, argOr(args, 0, L"pdf"), file, 4096,
                                                   args.size() == 2);
    return printResult(result, file, watch);
}

int runSave(const Args& args, const WindowOptions& options) {
    noMoreThan(args, 2);
    Object service;
    wchar_t file[MAX_PATH] = L"";
    WindowWatch watch(options, "save");
    const int32_t result = service->BrowseSaveFile(nullptr, kFilters, argOr(args, 1, L"pdf"), file, MAX_PATH,
                                                   argOr(args, 0, L"Save the job"), 1);
    return printResult(result, file, watch);
}

int runFolder(const Args& args, const WindowOptions& options) {
    noMoreThan(args, 1);
    wchar_t path[512] = L"";
    const std::wstring start = hostPath(argOr(args, 0, L""));
    if (start.size() >= 512) throw UsageError("START is longer than 511 characters");
    if (!start.empty() && !isFolder(start)) throw Failure("no folder " + narrow(start));
    wcscpy(path, start.c_str());
    // The host's part of the bargain: COM on the calling thread.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) throw Failure("COM could not be initialised");
    int32_t result = 0;
    {
        Object service;
        WindowWatch watch(options, "folder");
        result = service->BrowseFolder(nullptr, path, 512);
        std::printf("result: %d (%s)\n", result,
                    result == 1 ? "chosen" : watch.closedAny() ? "nothing chosen: closed after --close-after" : "nothing chosen");
    }
    CoUninitialize();
    std::printf("buffer: %s\n", narrow(path).c_str());
    return result == 1 ? 0 : 1;
}

}  // namespace qlhost
