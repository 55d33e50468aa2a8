// The current implementation of the warnings' platform call.
#include "shell/warning_platform.h"

namespace ql {

namespace {
WarningPlatform* current = nullptr;  // null: the native implementation
}  // namespace

WarningPlatform& warningPlatform() {
    return current ? *current : nativeWarningPlatform();
}

WarningPlatform* setWarningPlatform(WarningPlatform* platform) {
    WarningPlatform* previous = &warningPlatform();
    current = platform;
    return previous;
}

}  // namespace ql
