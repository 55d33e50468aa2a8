// The rules of the shell's window operations that need no window: the
// pickers' initial filter, the progress window's show rule and the texts of
// the missing-resource messages.  shell/win32/ applies them.
#ifndef QL_SHELL_WINDOW_RULES_H
#define QL_SHELL_WINDOW_RULES_H

#include <cstdint>

#include "qlcommon.h"

namespace ql {

// Walks the filter list (description, pattern, ..., empty string) and
// returns the 1-based number of the first pair whose pattern ends in the
// default extension, compared without regard to case; 0 when none does,
// when the list is null, or when the extension is null.  Only the last
// three characters of a pattern take part, so an extension of any other
// length matches nothing.
uint32_t openFilterIndex(const QLWChar* filters, const QLWChar* defaultExt);

// The save picker's initial filter: 2 for exactly "pdf", else 1.
uint32_t saveFilterIndex(const QLWChar* defaultExt);

// Whether the progress window is due to be shown: more than 1000 ms on the
// millisecond clock since `start`, as a 32-bit difference, so a clock that
// wraps still counts.
bool progressDue(int32_t now, int32_t start);

// A missing-resource message box.  A kind without a message has a null
// caption.
struct WarningMessage {
    const QLWChar* caption;
    const QLWChar* text;
};

// The message for `kind` about `name`.  A font's text (the name, then the
// substitution line) is composed in `work`, kWorkingSize units, and cut at
// its end; an image's text is the name itself.
WarningMessage warningMessage(int32_t kind, const QLWChar* name, QLWChar* work);

}  // namespace ql

#endif
