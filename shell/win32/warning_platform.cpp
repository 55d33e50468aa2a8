// The warnings' message box on Windows.
#include <windows.h>

#include "shell/warning_platform.h"

namespace ql {

namespace {

struct Win32WarningPlatform final : WarningPlatform {
    int32_t MessageBoxW(void* owner, const QLWChar* text, const QLWChar* caption, uint32_t type) override {
        return ::MessageBoxW(static_cast<HWND>(owner), text, caption, type);
    }
};

}  // namespace

WarningPlatform& nativeWarningPlatform() {
    static Win32WarningPlatform platform;
    return platform;
}

}  // namespace ql
