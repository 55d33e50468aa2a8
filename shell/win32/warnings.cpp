// Once-per-name warnings about missing fonts and images.  Each service
// object keeps the names it has reported and stays silent for a name it has
// seen; the messages belong to the window the last BeginProgress named.
#include <windows.h>

#include <algorithm>
#include <memory>

#include "object/win32/qlcommon_impl.h"
#include "shell/names.h"
#include "shell/window_rules.h"

namespace ql {

void QLCommon::WarnMissingResource(const QLWChar* name, int32_t kind) {
    if (!state_ || !name || !state_->ownerWindow) return;
    QLState& s = *state_;
    if (!s.warningNames) s.warningNames = std::make_unique<WarningNames>();
    WarningNames& names = *s.warningNames;
    if (std::find(names.begin(), names.end(), name) != names.end()) return;
    // The count covers the new name before the box opens, so a report made
    // while the box is up (from the owner's window procedure) finds it.  A
    // name that cannot be stored leaves list and count as they were.
    names.emplace_back(name);
    s.warningCount = static_cast<int32_t>(names.size());
    QLWChar work[kWorkingSize];
    const WarningMessage message = warningMessage(kind, name, work);
    if (message.caption) MessageBoxW(s.ownerWindow, message.text, message.caption, MB_OK);
}

}  // namespace ql
