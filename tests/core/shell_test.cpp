// Path splitting, the pickers' first filter and the progress window's show rule.  (The warning texts are
// checked on real message boxes by the host test.)
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/path_split.h"
#include "shell/window_rules.h"

namespace {

using Text = std::u16string;
const Text U = u"(untouched)";
const Text k511 = u"C:\\" + Text(508, u'a');
const Text k512 = k511 + u'.';

// A block of exactly `capacity` units, and its text or U when untouched.
using Out = std::vector<char16_t>;
Out block(int32_t capacity) { return Out(static_cast<size_t>(std::max(capacity, 1)), u'#'); }
Text text(const Out& out) { return out[0] == u'#' ? U : out.data(); }

TEST(ShellPathSplit, Table) {
    // extCap -1: SplitPath, without an extension
    const struct { const char16_t* path; int32_t cap, extCap; Text folder, name, ext; } rows[] = {
        {u"C:\\Data\\report.txt", 64, -1, u"C:\\Data", u"report.txt", U},
        {u"C:\\d\\x.abc", 64, 4, u"C:\\d", u"x.abc", u"abc"}, {u"C:\\d\\x.abc", -1, 64, U, U, u"abc"},
        {u"C:\\a.b\\file.txt", 64, 3, u"C:\\a.b", u"file.txt", U},  // below 4: no extension search
        {u"C:\\a.b\\file", 64, 64, u"C:", u"a.b\\file", u"b\\file"},  // the search passes backslashes
        {u"\\file", 64, -1, u"", u"file", U}, {u"report.txt", 64, 64, u"", u"report.txt", u"txt"},
        {nullptr, 64, 64, u"", u"", U},
        {u"C:\\Data\\report.txt", 8, -1, u"C:\\Data", u"", U},  // a part that does not fit is left empty
        {u"C:\\Data\\report.txt", 7, -1, u"", u"", U},
        {k511.c_str(), 600, -1, u"C:", Text(508, u'a'), U},  // the longest path accepted
        {k512.c_str(), 600, -1, u"", u"", U}, {k512.c_str(), 600, 600, u"", u"", u""},
    };
    for (const auto& r : rows) {
        Out folder = block(r.cap);
        Out name = block(r.cap);
        Out ext = block(r.extCap);
        if (r.extCap < 0) ql::splitPath(r.path, folder.data(), r.cap, name.data(), r.cap);
        else ql::splitPathExt(r.path, folder.data(), r.cap, name.data(), r.cap, ext.data(), r.extCap);
        EXPECT_EQ(text(folder), r.folder) << "row " << &r - rows;
        EXPECT_EQ(text(name), r.name) << "row " << &r - rows;
        EXPECT_EQ(text(ext), r.ext) << "row " << &r - rows;
    }
}

const char16_t kList[] = u"ABZ files\0*.abz\0PDF files\0*.pdf\0Pictures\0*.jpg;*.png\0";  // + the final empty string

TEST(ShellWindowRules, FilterIndexes) {
    const struct { const char16_t *filters, *ext; uint32_t open, save; } rows[] = {
        {kList, u"ABZ", 1, 1}, {kList, u"PDF", 2, 1}, {kList, u"pdf", 2, 2},  // open ignores case, save does not
        {kList, u"jpg", 0, 1}, {kList, u"pdfx", 0, 1}, {kList, nullptr, 0, 1}, {u"Short\0df\0", u"", 0, 1},
        {u"No pattern\0\0A\0*.abz\0", u"abz", 0, 1},  // a description without a pattern ends the list
    };
    for (const auto& r : rows) {
        EXPECT_EQ(ql::openFilterIndex(r.filters, r.ext), r.open) << "row " << &r - rows;
        EXPECT_EQ(ql::saveFilterIndex(r.ext), r.save) << "row " << &r - rows;
    }
}

TEST(ShellWindowRules, ProgressShownAfterMoreThanOneSecond) {
    const struct { int32_t now, start; bool due; } rows[] = {
        {1000, 0, false}, {1001, 0, true}, {10, 20, false}, {INT32_MIN + 500, INT32_MAX - 600, true}};  // wrapped
    for (const auto& r : rows) EXPECT_EQ(ql::progressDue(r.now, r.start), r.due) << r.now << " since " << r.start;
}

}  // namespace
