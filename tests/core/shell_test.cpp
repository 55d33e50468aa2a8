// The shell's portable core: path splitting (the documented splits, the
// awkward inputs, buffers that get the whole part or the empty text, never a
// unit past their capacity), the pickers' initial filter and the progress
// window's show rule.  (The warning texts are checked on real boxes by the
// host test, a font's cut to 511 units too.)
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/wide_text.h"
#include "shell/path_split.h"
#include "shell/window_rules.h"

namespace {

using Text = std::u16string;
const Text U = u"(untouched)", k511 = u"C:\\" + Text(508, u'a'), k512 = k511 + u'.';

TEST(ShellPathSplit, Table) {
    const struct { const char16_t* path; int32_t cap, extCap; Text folder, name, ext; } rows[] = {
        // extCap -1: SplitPath, without an extension
        {u"C:\\Data\\report.txt", 64, -1, u"C:\\Data", u"report.txt", U}, {u"C:\\d\\x.abc", 64, 4, u"C:\\d", u"x.abc", u"abc"},
        {u"C:\\Data\\readme", 64, 64, u"C:\\Data", u"readme", U}, {u"C:\\a.b\\file", 64, 64, u"C:", u"a.b\\file", u"b\\file"},  // the search passes backslashes
        {u"C:\\a.b\\file.txt", 64, 3, u"C:\\a.b", u"file.txt", U},  // 3: no search
        {u"C:\\d\\x.longext", 64, 4, u"C:\\d", u"x.longext", u""},  // found, does not fit
        {u"C:\\Data\\", 64, 64, u"C:\\Data", u"", U}, {u"C:\\Data\\report.txt", 0, 0, U, U, U},
        {u"\\file", 64, -1, u"", u"file", U}, {u"C:/x/y", 64, -1, u"", u"C:/x/y", U},  // "/" separates nothing
        {u"report.txt", 64, 64, u"", u"report.txt", u"txt"}, {u"", 64, 64, u"", u"", U}, {nullptr, 64, 64, u"", u"", U},
        {u"C:\\Data\\report.txt", 7, -1, u"", u"", U}, {u"C:\\d\\x.abc", -1, 64, U, U, u"abc"},  // not wanted below 1
        {u"C:\\Data\\report.txt", 8, -1, u"C:\\Data", u"", U}, {u"C:\\Data\\report.txt", 11, 64, u"C:\\Data", u"report.txt", u"txt"},
        {k511.c_str(), 600, -1, u"C:", Text(508, u'a'), U},  // the longest path accepted
        {k512.c_str(), 600, 600, u"", u"", u""}, {k512.c_str(), 600, -1, u"", u"", U},  // 512 units: refused
    };
    for (const auto& r : rows) {
        // Four guard units follow each capacity.
        Text out[3] = {Text(std::max(r.cap, 0) + 4, u'#'), out[0], Text(std::max(r.extCap, 0) + 4, u'#')};
        if (r.extCap < 0) ql::splitPath(r.path, &out[0][0], r.cap, &out[1][0], r.cap);
        else ql::splitPathExt(r.path, &out[0][0], r.cap, &out[1][0], r.cap, &out[2][0], r.extCap);
        const auto show = [&](int i) {
            if (out[i].compare(out[i].size() - 4, 4, u"####")) return std::string("(overrun)");
            return ql::toUtf8((out[i][0] == u'#' ? U : out[i]).c_str());
        };
        EXPECT_EQ(show(0) + "|" + show(1) + "|" + show(2), ql::toUtf8((r.folder + u"|" + r.name + u"|" + r.ext).c_str()))
            << "path \"" << (r.path ? ql::toUtf8(r.path) : "(null)") << "\" cap " << r.cap << " extCap " << r.extCap;
    }
}

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
