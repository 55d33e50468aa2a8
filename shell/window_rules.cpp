// The rules of the window operations that need no window.
#include "shell/window_rules.h"

#include "base/wide_text.h"
#include "shell/names.h"

namespace ql {

namespace {

// Case folds A-Z only, as the runtime's comparison does in the "C" locale.
QLWChar fold(QLWChar c) {
    return (c >= QL_WIDE('A') && c <= QL_WIDE('Z')) ? static_cast<QLWChar>(c - QL_WIDE('A') + QL_WIDE('a')) : c;
}

constexpr size_t kComparedChars = 3;
constexpr int32_t kShowAfterMs = 1000;

const QLWChar kImageCaption[] = QL_WIDE("Image is either missing or irrelevant");
const QLWChar kFontCaption[] = QL_WIDE("Font is either missing or irrelevant");
const QLWChar kXlgCaption[] = QL_WIDE("XLG Image is either missing or irrelevant");

// By kind; the substitution line follows a font's name.
const struct {
    const QLWChar* caption;
    const QLWChar* substitution;
} kWarnings[] = {
    {kImageCaption, nullptr},
    {kFontCaption, QL_WIDE("\n\nReplacing with Elementary Single Line")},
    {kFontCaption, QL_WIDE("\n\nReplacing with Arial")},
    {kXlgCaption, nullptr},
};

}  // namespace

uint32_t openFilterIndex(const QLWChar* filters, const QLWChar* defaultExt) {
    if (!filters || !defaultExt) return 0;
    const QLWChar* pair = filters;
    for (uint32_t index = 1; *pair; ++index) {
        const QLWChar* pattern = pair + textLength(pair) + 1;
        const size_t n = textLength(pattern);
        // A description without a pattern ends the list as well.
        if (n == 0) return 0;
        if (n >= kComparedChars && sameText(pattern + n - kComparedChars, defaultExt, fold)) return index;
        pair = pattern + n + 1;
    }
    return 0;
}

uint32_t saveFilterIndex(const QLWChar* defaultExt) {
    return defaultExt && sameText(defaultExt, QL_WIDE("pdf")) ? 2 : 1;
}

bool progressDue(int32_t now, int32_t start) {
    return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(start)) > kShowAfterMs;
}

WarningMessage warningMessage(int32_t kind, const QLWChar* name, QLWChar* work) {
    if (kind < 0 || kind >= static_cast<int32_t>(sizeof kWarnings / sizeof kWarnings[0])) return {nullptr, nullptr};
    const auto& w = kWarnings[kind];
    if (!w.substitution) return {w.caption, name};
    const size_t n = textLength(name, kWorkingSize - 1);
    copyCounted(work, kWorkingSize, name, n);
    const size_t room = kWorkingSize - 1 - n;
    copyCounted(work + n, room + 1, w.substitution, textLength(w.substitution, room));
    return {w.caption, work};
}

}  // namespace ql
