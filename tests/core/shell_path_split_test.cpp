// Path splitting: the documented splits, the awkward inputs, and buffers
// that get the whole part or the empty text, never a byte past their
// capacity.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "object/wide_text.h"
#include "shell/path_split.h"

namespace {

using Text = std::u16string;
const Text kUntouched = u"(untouched)", k511 = u"C:\\" + Text(508, u'a'), k512 = k511 + u'.';

// What a split left in an output buffer, which has four guard units after its capacity.
Text left(const Text& units) {
    if (units.compare(units.size() - 4, 4, u"####") != 0) return u"(overrun)";
    return units[0] == u'#' ? kUntouched : Text(units.c_str());
}

struct Case {
    const char16_t* path;
    int32_t cap, extCap;  // extCap -1: SplitPath, without an extension
    Text folder, name, ext;
};

const std::vector<Case> kCases = {
    {u"C:\\Data\\report.txt", 64, -1, u"C:\\Data", u"report.txt", kUntouched},
    {u"C:\\Data\\report.txt", 64, 64, u"C:\\Data", u"report.txt", u"txt"},
    {u"C:\\Data\\readme", 64, 64, u"C:\\Data", u"readme", kUntouched},
    {u"C:\\a.b\\file", 64, 64, u"C:", u"a.b\\file", u"b\\file"},  // the search passes backslashes
    {u"C:\\a.b\\file.txt", 64, 3, u"C:\\a.b", u"file.txt", kUntouched},  // 3: no search
    {u"C:\\d\\x.longext", 64, 4, u"C:\\d", u"x.longext", u""},  // found, does not fit
    {u"C:\\d\\x.abc", 64, 4, u"C:\\d", u"x.abc", u"abc"},
    {u"C:\\Data\\", 64, 64, u"C:\\Data", u"", kUntouched},
    {u"\\file", 64, -1, u"", u"file", kUntouched},
    {u"C:/x/y", 64, -1, u"", u"C:/x/y", kUntouched},  // the slash is no separator
    {u"report.txt", 64, 64, u"", u"report.txt", u"txt"},  // no backslash: all name
    {u"", 64, 64, u"", u"", kUntouched},
    {nullptr, 64, 64, u"", u"", kUntouched},
    {u"C:\\d\\x.abc", -1, 64, kUntouched, kUntouched, u"abc"},  // capacities below 1: not wanted
    {u"C:\\Data\\report.txt", 7, -1, u"", u"", kUntouched},  // neither part fits
    {u"C:\\Data\\report.txt", 8, -1, u"C:\\Data", u"", kUntouched},
    {u"C:\\Data\\report.txt", 11, 64, u"C:\\Data", u"report.txt", u"txt"},
    {u"C:\\Data\\report.txt", 0, 0, kUntouched, kUntouched, kUntouched},
    {k511.c_str(), 600, -1, u"C:", Text(508, u'a'), kUntouched},  // the longest path accepted
    {k512.c_str(), 600, 600, u"", u"", u""},  // 512 units: refused, all parts empty
    {k512.c_str(), 600, -1, u"", u"", kUntouched},
};

std::string show(const Text& t) { return ql::toUtf8(t.c_str()); }

TEST(ShellPathSplit, Table) {
    for (const Case& c : kCases) {
        SCOPED_TRACE("path \"" + (c.path ? show(c.path) : "(null)") + "\" cap " + std::to_string(c.cap) +
                     " extCap " + std::to_string(c.extCap));
        Text folder(std::max(c.cap, 0) + 4, u'#'), name = folder, ext(std::max(c.extCap, 0) + 4, u'#');
        if (c.extCap < 0)
            ql::splitPath(c.path, &folder[0], c.cap, &name[0], c.cap);
        else
            ql::splitPathExt(c.path, &folder[0], c.cap, &name[0], c.cap, &ext[0], c.extCap);
        EXPECT_EQ(show(left(folder)), show(c.folder));
        EXPECT_EQ(show(left(name)), show(c.name));
        EXPECT_EQ(show(left(ext)), show(c.ext));
    }
}

}  // namespace
