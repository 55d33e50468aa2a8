// The pickers' choice of initial filter.
#include "shell/picker_filter.h"
#include "object/wide_text.h"


namespace ql {

namespace {

// Case folds A-Z only, as the runtime's comparison does in the "C" locale.
QLWChar fold(QLWChar c) {
    return (c >= QL_WIDE('A') && c <= QL_WIDE('Z')) ? static_cast<QLWChar>(c - QL_WIDE('A') + QL_WIDE('a')) : c;
}

bool equalIgnoringCase(const QLWChar* a, const QLWChar* b) {
    while (*a && fold(*a) == fold(*b)) ++a, ++b;
    return fold(*a) == fold(*b);
}

constexpr size_t kComparedChars = 3;

}  // namespace

uint32_t openFilterIndex(const QLWChar* filters, const QLWChar* defaultExt) {
    if (!filters || !defaultExt) return 0;
    const QLWChar* pair = filters;
    for (uint32_t index = 1; *pair; ++index) {
        const QLWChar* pattern = pair + textLength(pair) + 1;
        const size_t n = textLength(pattern);
        // A description without a pattern ends the list as well.
        if (n == 0) return 0;
        if (n >= kComparedChars && equalIgnoringCase(pattern + n - kComparedChars, defaultExt)) return index;
        pair = pattern + n + 1;
    }
    return 0;
}

uint32_t saveFilterIndex(const QLWChar* defaultExt) {
    static const QLWChar kPdf[] = QL_WIDE("pdf");
    if (!defaultExt) return 1;
    const QLWChar* a = defaultExt;
    const QLWChar* b = kPdf;
    while (*a && *a == *b) ++a, ++b;
    return *a == *b ? 2 : 1;
}

}  // namespace ql
