// The warnings' message box in the native build: there is no window system
// to show it on, so the call reports that no box was shown.
#include "shell/warning_platform.h"

namespace ql {

namespace {

struct PosixWarningPlatform final : WarningPlatform {
    int32_t MessageBoxW(void*, const QLWChar*, const QLWChar*, uint32_t) override { return 0; }
};

}  // namespace

WarningPlatform& nativeWarningPlatform() {
    static PosixWarningPlatform platform;
    return platform;
}

}  // namespace ql
