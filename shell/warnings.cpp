// Once-per-name warnings about missing fonts and images.  Each service
// object keeps the names it has reported and stays silent for a name it has
// seen; the messages belong to the window the last BeginProgress named.
#include <initializer_list>
#include <memory>

#include "object/qlcommon_impl.h"
#include "shell/warning_platform.h"
#include "object/wide_text.h"


namespace ql {

namespace {

constexpr int32_t kTextChars = 512;  // the composed message, terminator included
constexpr uint32_t kMbOk = 0;        // MB_OK: one OK button, no icon

struct WarningText {
    const QLWChar* caption;
    const QLWChar* substitution;  // appended to the name, or null
};

const QLWChar kImageCaption[] = QL_WIDE("Image is either missing or irrelevant");
const QLWChar kFontCaption[] = QL_WIDE("Font is either missing or irrelevant");
const QLWChar kXlgCaption[] = QL_WIDE("XLG Image is either missing or irrelevant");

// By ResourceWarningKind; other kinds have no message.
const WarningText kTexts[] = {
    {kImageCaption, nullptr},
    {kFontCaption, QL_WIDE("\n\nReplacing with Elementary Single Line")},
    {kFontCaption, QL_WIDE("\n\nReplacing with Arial")},
    {kXlgCaption, nullptr},
};

bool sameText(const QLWChar* a, const QLWChar* b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

bool alreadyWarned(const QLState& s, const QLWChar* name) {
    for (int32_t i = 0; i < s.warningCount; ++i)
        if (s.warningNames[i] && sameText(s.warningNames[i], name)) return true;
    return false;
}

// Adds a copy of the name at the end of the list.  Both allocations come
// before any change, so running out of memory leaves the list as it was.
void recordName(QLState& s, const QLWChar* name) {
    const size_t n = textLength(name);
    std::unique_ptr<QLWChar[]> copy(new QLWChar[n + 1]);
    for (size_t i = 0; i <= n; ++i) copy[i] = name[i];
    const int32_t count = s.warningCount;
    std::unique_ptr<QLWChar*[]> names(new QLWChar*[static_cast<size_t>(count) + 1]);
    for (int32_t i = 0; i < count; ++i) names[i] = s.warningNames[i];
    names[count] = copy.release();
    std::unique_ptr<QLWChar*[]> old(s.warningNames);
    s.warningNames = names.release();
    s.warningCount = count + 1;
}

// The name, then the substitution line; both cut at the buffer's end.
void compose(QLWChar (&text)[kTextChars], const QLWChar* name, const QLWChar* substitution) {
    int32_t n = 0;
    for (const QLWChar* src : {name, substitution})
        for (; src && *src && n < kTextChars - 1; ++src) text[n++] = *src;
    text[n] = 0;
}

}  // namespace

void QLCommon::WarnMissingResource(const QLWChar* name, int32_t kind) {
    if (!state_ || !name || !state_->ownerWindow) return;
    QLState& s = *state_;
    if (alreadyWarned(s, name)) return;
    // The count covers the new name before the box opens, so a report made
    // while the box is up (from the owner's window procedure) finds it.
    recordName(s, name);
    if (kind < 0 || kind >= static_cast<int32_t>(sizeof kTexts / sizeof kTexts[0])) return;
    const WarningText& message = kTexts[kind];
    QLWChar text[kTextChars];
    if (message.substitution) compose(text, name, message.substitution);
    // An image's message is the name itself, whatever its length.
    warningPlatform().MessageBoxW(s.ownerWindow, message.substitution ? text : name, message.caption, kMbOk);
}

void releaseWarnings(QLState& s) {
    if (!s.warningNames) return;
    for (int32_t i = 0; i < s.warningCount; ++i) {
        std::unique_ptr<QLWChar[]> name(s.warningNames[i]);
        s.warningNames[i] = nullptr;
    }
    std::unique_ptr<QLWChar*[]> names(s.warningNames);
    s.warningNames = nullptr;
}

}  // namespace ql
