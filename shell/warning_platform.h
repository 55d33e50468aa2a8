// The platform call behind the missing-resource warnings: a modal message
// box.  shell/win32/ shows it; shell/posix/ has no window system and
// reports failure.  Unit tests install a recording fake.
#ifndef QL_SHELL_WARNING_PLATFORM_H
#define QL_SHELL_WARNING_PLATFORM_H

#include <cstdint>

#include "qlcommon.h"

namespace ql {

struct WarningPlatform {
    // Returns the button pressed, 0 when the box could not be shown.
    virtual int32_t MessageBoxW(void* owner, const QLWChar* text, const QLWChar* caption, uint32_t type) = 0;

protected:
    ~WarningPlatform() = default;
};

WarningPlatform& nativeWarningPlatform();

// The implementation in use; setWarningPlatform(nullptr) restores the
// native one and each call returns the one it replaced.
WarningPlatform& warningPlatform();
WarningPlatform* setWarningPlatform(WarningPlatform* platform);

}  // namespace ql

#endif
