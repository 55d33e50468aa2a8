// For the unit tests and fuzz targets: installing a fake behind a platform
// seam for one scope, and a progress platform that makes no window.
#ifndef QL_TESTS_UNIT_PLATFORM_FAKES_H
#define QL_TESTS_UNIT_PLATFORM_FAKES_H

#include "shell/progress_platform.h"

namespace qltest {

// Installs `fake` with the seam's setter and puts back what was there
// before when the scope ends:
//   ScopedPlatform<ql::PickerPlatform> installed(ql::setPickerPlatform, &fake);
template <class Platform>
class ScopedPlatform {
public:
    using Setter = Platform* (*)(Platform*);
    ScopedPlatform(Setter set, Platform* fake) : set_(set), previous_(set(fake)) {}
    ~ScopedPlatform() { set_(previous_); }
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Setter set_;
    Platform* previous_;
};

// BeginProgress only names the owner of the warnings with this: no window
// is ever made.
struct NoWindows final : ql::ProgressPlatform {
    int32_t clock() override { return 0; }
    bool InitCommonControlsEx(uint32_t) override { return true; }
    bool GetClientRect(void*, ql::QLRect*) override { return false; }
    void* CreateWindowExW(uint32_t, const QLWChar*, const QLWChar*, uint32_t, int32_t, int32_t, int32_t, int32_t,
                          void*, void*, void*, void*) override {
        return nullptr;
    }
    intptr_t SendMessageW(void*, uint32_t, uintptr_t, intptr_t) override { return 0; }
    bool ShowWindow(void*, int32_t) override { return true; }
    bool InvalidateRect(void*, const ql::QLRect*, bool) override { return true; }
    bool WaitMessage() override { return true; }
    bool DestroyWindow(void*) override { return true; }
};

}  // namespace qltest

#endif
