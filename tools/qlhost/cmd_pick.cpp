// qlhost open / save / folder: shows one of the library's pickers and
// prints what the user chose.
#include <objbase.h>

#include <cstdio>
#include <string>

#include "cmd_pick_closer.h"
#include "qlhost.h"

namespace qlhost {
namespace {

const wchar_t kFilters[] = L"Job files (*.job)\0*.job\0PDF files (*.pdf)\0*.pdf\0Pictures (*.bmp;*.png)\0*.bmp;*.png\0\0";

const wchar_t* argOr(const Args& args, size_t i, const wchar_t* fallback) {
    return i < args.size() ? args[i].c_str() : fallback;
}

void printResult(int32_t result, const wchar_t* buffer) {
    std::printf("result: %d\n", result);
    if (result != 1) return;
    // With multiple selection the buffer holds the folder, then each name,
    // each ended by a zero, the list by an empty one.
    const wchar_t* part = buffer;
    const char* label = "path";
    while (*part) {
        std::printf("%s: %s\n", label, narrow(part).c_str());
        part += wcslen(part) + 1;
        label = "name";
    }
}

int runOpen(Library& lib, const Args& given) {
    Args args = given;
    DialogCloser closer(takeCloseAfter(args));
    Service service(lib);
    wchar_t file[4096] = L"";
    const bool multi = argOr(args, 1, L"")[0] == L'm';
    const int32_t result = service->BrowseOpenFile(nullptr, kFilters, argOr(args, 0, L"pdf"), file, 4096, multi ? 1 : 0);
    printResult(result, file);
    return 0;
}

int runSave(Library& lib, const Args& given) {
    Args args = given;
    DialogCloser closer(takeCloseAfter(args));
    Service service(lib);
    wchar_t file[MAX_PATH] = L"";
    const int32_t result = service->BrowseSaveFile(nullptr, kFilters, argOr(args, 1, L"pdf"), file, MAX_PATH,
                                                   argOr(args, 0, L"Save the job"), 1);
    printResult(result, file);
    return 0;
}

int runFolder(Library& lib, const Args& given) {
    Args args = given;
    DialogCloser closer(takeCloseAfter(args));
    // The host's part of the bargain: COM on the calling thread.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "qlhost: COM could not be initialised\n");
        return 1;
    }
    int32_t result = 0;
    wchar_t path[512] = L"";
    {
        Service service(lib);
        wcsncpy(path, argOr(args, 0, L""), 511);
        result = service->BrowseFolder(nullptr, path, 512);
    }
    CoUninitialize();
    std::printf("result: %d\nbuffer: %s\n", result, narrow(path).c_str());
    return 0;
}

const bool registeredOpen = registerCommand(
    {"open", "[EXT [multi]] [--close-after MS]",
     "the open-file picker; starts on the filter whose pattern ends in EXT (default pdf)", runOpen});
const bool registeredSave = registerCommand(
    {"save", "[TITLE [EXT]] [--close-after MS]", "the save-file picker with a title and an overwrite prompt",
     runSave});
const bool registeredFolder = registerCommand(
    {"folder", "[START] [--close-after MS]",
     "the folder picker, starting in START or else the jobs folder", runFolder});

}  // namespace
}  // namespace qlhost
