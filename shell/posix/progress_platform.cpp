// The progress window's platform calls in the native build: there is no
// window system, so no window is ever made and the updates stay inert.  The
// clock is real (a monotonic millisecond count).
#include <chrono>

#include "shell/progress_platform.h"

namespace ql {

namespace {

struct PosixProgressPlatform final : ProgressPlatform {
    int32_t clock() override {
        using namespace std::chrono;
        static const steady_clock::time_point start = steady_clock::now();
        return static_cast<int32_t>(duration_cast<milliseconds>(steady_clock::now() - start).count());
    }
    bool InitCommonControlsEx(uint32_t) override { return false; }
    bool GetClientRect(void*, QLRect*) override { return false; }
    void* CreateWindowExW(uint32_t, const QLWChar*, const QLWChar*, uint32_t, int32_t, int32_t, int32_t,
                          int32_t, void*, void*, void*, void*) override {
        return nullptr;
    }
    intptr_t SendMessageW(void*, uint32_t, uintptr_t, intptr_t) override { return 0; }
    bool ShowWindow(void*, int32_t) override { return false; }
    bool InvalidateRect(void*, const QLRect*, bool) override { return false; }
    bool WaitMessage() override { return false; }
    bool DestroyWindow(void*) override { return false; }
};

}  // namespace

ProgressPlatform& nativeProgressPlatform() {
    static PosixProgressPlatform platform;
    return platform;
}

}  // namespace ql
