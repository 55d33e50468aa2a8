// The current implementation of the progress window's platform calls.
#include "shell/progress_platform.h"

namespace ql {

namespace {
ProgressPlatform* current = nullptr;  // null: the native implementation
}  // namespace

ProgressPlatform& progressPlatform() {
    return current ? *current : nativeProgressPlatform();
}

ProgressPlatform* setProgressPlatform(ProgressPlatform* platform) {
    ProgressPlatform* previous = &progressPlatform();
    current = platform;
    return previous;
}

}  // namespace ql
