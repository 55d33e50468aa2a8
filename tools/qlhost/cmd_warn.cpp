// qlhost warn NAME KIND: a missing-resource warning, owned by a small host
// window, reported twice to show that the second report is silent.
#include <cstdio>

#include "cmd_pick_closer.h"
#include "qlhost.h"

namespace qlhost {
namespace {

int runWarn(Library& lib, const Args& given) {
    Args args = given;
    DialogCloser closer(takeCloseAfter(args));
    if (args.empty()) {
        std::fprintf(stderr, "usage: qlhost warn NAME [KIND]  (0 image, 1 font, 2 font, 3 XLG image)\n");
        return 2;
    }
    const int32_t kind = args.size() > 1 ? _wtoi(args[1].c_str()) : warnFontArial;
    HWND owner = CreateWindowExW(0, L"STATIC", L"qlhost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 640, 400, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    {
        Service service(lib);
        // Warnings are owned by the window of the last BeginProgress.
        service->BeginProgress(owner, GetModuleHandleW(nullptr), 1);
        service->EndProgress();
        std::printf("first report of %s (kind %d)\n", narrow(args[0]).c_str(), kind);
        service->WarnMissingResource(args[0].c_str(), kind);
        std::printf("second report: silent\n");
        service->WarnMissingResource(args[0].c_str(), kind);
    }
    DestroyWindow(owner);
    return 0;
}

const bool registered = registerCommand(
    {"warn", "NAME [KIND] [--close-after MS]", "warns once about a missing font (KIND 1, 2) or image (0, 3)",
     runWarn});

}  // namespace
}  // namespace qlhost
