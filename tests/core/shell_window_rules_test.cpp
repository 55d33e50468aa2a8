// The window operations' rules that need no window: the pickers' initial
// filter and the progress window's show rule.  (The warning texts are
// checked on real boxes by the host test, a font's cut to 511 units too.)
#include <gtest/gtest.h>

#include "object/wide_text.h"
#include "shell/window_rules.h"

namespace {

const char16_t kList[] = u"ABC files\0*.abc\0PDF files\0*.pdf\0Pictures\0*.jpg;*.png\0";  // + the final empty string

TEST(ShellWindowRules, FilterIndexesAndProgressShownAfterMoreThanOneSecond) {
    const struct { const char16_t *filters, *ext; uint32_t open, save; } rows[] = {
        {kList, u"abc", 1, 1}, {kList, u"PDF", 2, 1}, {kList, u"pdf", 2, 2},
        {kList, u"png", 3, 1},  // open ignores case, save does not
        {kList, u"jpg", 0, 1},  // only the pattern's last three characters
        {kList, u"xyz", 0, 1}, {kList, u"pd", 0, 1}, {kList, u"pdfx", 0, 1}, {kList, u"", 0, 1},
        {kList, nullptr, 0, 1}, {nullptr, u"pdf", 0, 2},
        {u"No pattern\0\0A\0*.abc\0", u"abc", 0, 1},  // a description without a pattern ends the list
        {u"Short\0df\0PDF\0*.pdf\0", u"pdf", 2, 2}, {u"Bare\0pdf\0", u"pdf", 1, 2},
    };
    for (const auto& r : rows)
        EXPECT_EQ(std::make_pair(ql::openFilterIndex(r.filters, r.ext), ql::saveFilterIndex(r.ext)),
                  std::make_pair(r.open, r.save))
            << "ext " << (r.ext ? ql::toUtf8(r.ext) : "(null)") << ", (open, save)";
    const struct { int32_t now, start; bool due; } times[] = {
        {0, 0, false}, {1000, 0, false}, {1001, 0, true}, {5000, 4000, false}, {5001, 3999, true}, {10, 20, false},
        {INT32_MIN + 500, INT32_MAX - 600, true}, {INT32_MIN + 300, INT32_MAX - 600, false}};  // the clock wrapped
    for (const auto& r : times) EXPECT_EQ(ql::progressDue(r.now, r.start), r.due) << "now " << r.now << " start " << r.start;
}

}  // namespace
