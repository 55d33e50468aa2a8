// qlhost progress [SECONDS]: a host window and the library's progress bar
// moving across it; the bar appears after the first second.
#include <cstdio>

#include "hostkit/dialogs.h"
#include "base/owned.h"
#include "qlhost.h"

namespace qlhost {
namespace {

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void stopTimer(UINT_PTR timer) { KillTimer(nullptr, timer); }
using ThreadTimer = ql::Owned<UINT_PTR, stopTimer>;

}  // namespace

int runProgress(const Args& args, const WindowOptions& options) {
    noMoreThan(args, 1);
    const int seconds = args.empty() ? 4 : wholeNumber(args[0], 1, 60, "SECONDS");
    const int steps = seconds * 20;
    hostkit::HostWindow owner(L"qlhost progress", 40, 40, 640, 400);
    // Each update waits for a message to this thread: a thread timer
    // provides one every 10 ms.
    ThreadTimer timer(SetTimer(nullptr, 0, 10, nullptr));
    Object service;
    WindowWatch watch(options, "progress");
    service->BeginProgress(owner.get(), GetModuleHandleW(nullptr), steps);
    for (int i = 1; i <= steps; ++i) {
        Sleep(50);
        pump();
        service->SetProgressPos(i);
        if (i % 20 == 0) std::printf("position %d of %d\n", i, steps);
    }
    pump();
    service->EndProgress();
    return 0;
}

}  // namespace qlhost
