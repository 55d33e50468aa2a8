// qlhost warn NAME [KIND]: a missing-resource warning owned by a small host
// window, reported twice to show that the second report is silent.
#include <cstdio>

#include "hostkit/dialogs.h"
#include "qlhost.h"

namespace qlhost {

int runWarn(const Args& args, const WindowOptions& options) {
    if (args.empty()) throw UsageError("NAME is missing");
    noMoreThan(args, 2);
    const int32_t kind = args.size() > 1 ? wholeNumber(args[1], 0, 3, "KIND") : warnFontArial;
    hostkit::HostWindow owner(L"qlhost", 40, 40, 640, 400);
    Object service;
    WindowWatch watch(options, "warn");
    // Warnings are owned by the window of the last BeginProgress.
    service->BeginProgress(owner.get(), GetModuleHandleW(nullptr), 1);
    service->EndProgress();
    std::printf("first report of %s (kind %d): a message box\n", narrow(args[0]).c_str(), kind);
    service->WarnMissingResource(args[0].c_str(), kind);
    std::printf("second report: silent\n");
    service->WarnMissingResource(args[0].c_str(), kind);
    return 0;
}

}  // namespace qlhost
