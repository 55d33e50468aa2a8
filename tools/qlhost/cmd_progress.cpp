// qlhost progress [SECONDS]: a host window and the library's progress bar
// moving across it; the bar appears after the first second.
#include <cstdio>

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

int runProgress(Library& lib, const Args& args) {
    const int seconds = args.empty() ? 4 : _wtoi(args[0].c_str());
    const int steps = seconds > 0 ? seconds * 20 : 80;
    HWND owner = CreateWindowExW(0, L"STATIC", L"qlhost progress", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 640,
                                 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    // Each update waits for a message to this thread: a thread timer
    // provides one every 10 ms.
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
    {
        Service service(lib);
        service->BeginProgress(owner, GetModuleHandleW(nullptr), steps);
        const DWORD start = GetTickCount();
        for (int i = 1; i <= steps; ++i) {
            Sleep(50);
            pump();
            service->SetProgressPos(i);
            if (i % 20 == 0) std::printf("position %d of %d after %lu ms\n", i, steps, GetTickCount() - start);
        }
        pump();
        service->EndProgress();
    }
    KillTimer(nullptr, timer);
    DestroyWindow(owner);
    return 0;
}

const bool registered = registerCommand(
    {"progress", "[SECONDS]", "shows the delayed progress bar for a few seconds (default 4)", runProgress});

}  // namespace
}  // namespace qlhost
