// The window operations' rules that need no window: the pickers' initial
// filter and the progress window's show rule.  (The warning texts are
// checked on real boxes by the host test, their bounds by the fuzz target.)
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "object/wide_text.h"
#include "shell/window_rules.h"

namespace {

std::string show(const QLWChar* t) { return t ? ql::toUtf8(t) : "(null)"; }

const char16_t kList[] = u"ABC files\0*.abc\0PDF files\0*.pdf\0Pictures\0*.jpg;*.png\0";  // + the final empty string

TEST(ShellWindowRules, OpenFilterIndex) {
    const struct { const char16_t* filters; const char16_t* ext; uint32_t index; } rows[] = {
        {kList, u"abc", 1}, {kList, u"PDF", 2}, {kList, u"png", 3},  // case ignored
        {kList, u"jpg", 0},  // only the pattern's last three characters
        {kList, u"xyz", 0}, {kList, u"pd", 0}, {kList, u"xpdf", 0}, {kList, nullptr, 0},
        {nullptr, u"pdf", 0},
        {u"No pattern\0\0A\0*.abc\0", u"abc", 0},  // a description without a pattern ends the list
        {u"Short\0df\0PDF\0*.pdf\0", u"pdf", 2}, {u"Bare\0pdf\0", u"pdf", 1},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ql::openFilterIndex(r.filters, r.ext), r.index) << "ext " << show(r.ext);
}

TEST(ShellWindowRules, SaveFilterIndex) {
    const struct { const char16_t* ext; uint32_t index; } rows[] = {
        {u"pdf", 2}, {u"PDF", 1}, {u"pdfx", 1}, {u"pd", 1}, {u"", 1}, {nullptr, 1}};
    for (const auto& r : rows) EXPECT_EQ(ql::saveFilterIndex(r.ext), r.index) << "ext " << show(r.ext);
}

TEST(ShellWindowRules, ProgressShownAfterMoreThanOneSecond) {
    const struct { int32_t now, start; bool due; } rows[] = {
        {0, 0, false}, {1000, 0, false}, {1001, 0, true}, {5000, 4000, false}, {5001, 3999, true},
        {INT32_MIN + 500, INT32_MAX - 600, true},  // the clock wrapped
        {INT32_MIN + 300, INT32_MAX - 600, false}, {10, 20, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ql::progressDue(r.now, r.start), r.due) << "now " << r.now << " start " << r.start;
}

}  // namespace
