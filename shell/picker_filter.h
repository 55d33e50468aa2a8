// The open picker's choice of initial filter.
#ifndef QL_SHELL_PICKER_FILTER_H
#define QL_SHELL_PICKER_FILTER_H

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

}  // namespace ql

#endif
