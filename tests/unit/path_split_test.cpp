// SplitPath and SplitPathExt: the documented splits, the awkward inputs,
// and buffers that are never written past their capacity.
#include <gtest/gtest.h>

#include <string>

#include "object/qlcommon_impl.h"
#include "object/wide_text.h"


namespace {

using Text = std::basic_string<QLWChar>;

// A buffer with guard units after its capacity.
struct Out {
    explicit Out(int32_t capacity, QLWChar fill = QL_WIDE('#')) : capacity(capacity), units(capacity + 8, fill) {}
    QLWChar* data() { return units.data(); }
    Text text() const { return Text(units.c_str()); }
    bool guardsIntact(QLWChar fill = QL_WIDE('#')) const {
        for (size_t i = static_cast<size_t>(capacity); i < units.size(); ++i)
            if (units[i] != fill) return false;
        return true;
    }
    int32_t capacity;
    Text units;
};

class PathSplit : public ::testing::Test {
protected:
    void SetUp() override { obj = GetQLObject(nullptr); }
    void TearDown() override { QLDestroy(obj); }

    void split(const QLWChar* path, int32_t cap = 64) {
        folder = Out(cap), name = Out(cap);
        obj->SplitPath(path, folder.data(), cap, name.data(), cap);
        EXPECT_TRUE(folder.guardsIntact() && name.guardsIntact());
    }
    void splitExt(const QLWChar* path, int32_t extCap = 64, int32_t cap = 64) {
        folder = Out(cap), name = Out(cap), ext = Out(extCap, QL_WIDE('='));
        ext.units[0] = 0;  // "unchanged" is visible as the empty text with '=' after it
        obj->SplitPathExt(path, folder.data(), cap, name.data(), cap, ext.data(), extCap);
        EXPECT_TRUE(folder.guardsIntact() && name.guardsIntact() && ext.guardsIntact(QL_WIDE('=')));
    }

    ICommon* obj = nullptr;
    Out folder{1}, name{1}, ext{1};
};

TEST_F(PathSplit, FolderAndName) {
    split(QL_WIDE("C:\\Data\\report.txt"));
    EXPECT_EQ(folder.text(), QL_WIDE("C:\\Data"));
    EXPECT_EQ(name.text(), QL_WIDE("report.txt"));

    split(QL_WIDE("C:\\Data\\"));  // trailing backslash: empty name
    EXPECT_EQ(folder.text(), QL_WIDE("C:\\Data"));
    EXPECT_EQ(name.text(), QL_WIDE(""));

    split(QL_WIDE("\\file"));  // only backslash first: empty folder
    EXPECT_EQ(folder.text(), QL_WIDE(""));
    EXPECT_EQ(name.text(), QL_WIDE("file"));

    split(QL_WIDE("C:/x/y.txt"));  // the forward slash is an ordinary character
    EXPECT_EQ(folder.text(), QL_WIDE(""));
    EXPECT_EQ(name.text(), QL_WIDE("C:/x/y.txt"));
}

TEST_F(PathSplit, ExtensionSearch) {
    splitExt(QL_WIDE("C:\\Data\\report.txt"));
    EXPECT_EQ(folder.text(), QL_WIDE("C:\\Data"));
    EXPECT_EQ(name.text(), QL_WIDE("report.txt"));
    EXPECT_EQ(ext.text(), QL_WIDE("txt"));

    splitExt(QL_WIDE("C:\\Data\\readme"));  // no full stop: extension untouched
    EXPECT_EQ(folder.text(), QL_WIDE("C:\\Data"));
    EXPECT_EQ(name.text(), QL_WIDE("readme"));
    EXPECT_EQ(ext.units[1], QL_WIDE('='));

    splitExt(QL_WIDE("C:\\a.b\\file"));  // the full stop in a folder name wins
    EXPECT_EQ(ext.text(), QL_WIDE("b\\file"));
    EXPECT_EQ(folder.text(), QL_WIDE("C:"));
    EXPECT_EQ(name.text(), QL_WIDE("a.b\\file"));

    splitExt(QL_WIDE("C:\\a.b\\file.txt"), 3);  // capacity 3: no extension search at all
    EXPECT_EQ(ext.units[1], QL_WIDE('='));
    EXPECT_EQ(folder.text(), QL_WIDE("C:\\a.b"));
    EXPECT_EQ(name.text(), QL_WIDE("file.txt"));

    splitExt(QL_WIDE("C:\\d\\x.longext"), 4);  // found, but does not fit: empty
    EXPECT_EQ(ext.text(), QL_WIDE(""));
    EXPECT_EQ(name.text(), QL_WIDE("x.longext"));
}

TEST_F(PathSplit, ChosenBehaviourForAwkwardPaths) {
    split(QL_WIDE("report.txt"));  // no backslash: all name
    EXPECT_EQ(folder.text(), QL_WIDE(""));
    EXPECT_EQ(name.text(), QL_WIDE("report.txt"));
    splitExt(QL_WIDE("report.txt"));
    EXPECT_EQ(name.text(), QL_WIDE("report.txt"));
    EXPECT_EQ(ext.text(), QL_WIDE("txt"));

    split(QL_WIDE(""));
    EXPECT_EQ(folder.text(), QL_WIDE(""));
    EXPECT_EQ(name.text(), QL_WIDE(""));
    split(nullptr);
    EXPECT_EQ(name.text(), QL_WIDE(""));

    Text longPath = QL_WIDE("C:\\") + Text(508, QL_WIDE('a'));  // 511 characters: accepted
    split(longPath.c_str(), 600);
    EXPECT_EQ(name.text(), Text(508, QL_WIDE('a')));
    longPath += QL_WIDE('b');  // 512: refused, every part empty
    splitExt(longPath.c_str(), 600, 600);
    EXPECT_EQ(folder.text(), QL_WIDE(""));
    EXPECT_EQ(name.text(), QL_WIDE(""));
    EXPECT_EQ(ext.text(), QL_WIDE(""));
}

TEST_F(PathSplit, SmallBuffersAreEmptyNotPartial) {
    for (int32_t cap = 0; cap <= 8; ++cap) {
        split(QL_WIDE("C:\\Data\\report.txt"), cap);
        if (cap >= 1) {
            EXPECT_EQ(folder.text(), cap > 7 ? QL_WIDE("C:\\Data") : QL_WIDE(""));
            EXPECT_EQ(name.text(), QL_WIDE(""));
        } else {
            EXPECT_EQ(folder.units[0], QL_WIDE('#'));  // capacity 0: untouched
        }
    }
    // Null buffers are simply not wanted.
    Out only(16);
    obj->SplitPathExt(QL_WIDE("C:\\x\\y.z"), nullptr, 0, only.data(), 16, nullptr, 10);
    EXPECT_EQ(only.text(), QL_WIDE("y.z"));
    obj->SplitPath(QL_WIDE("C:\\x\\y.z"), only.data(), -5, nullptr, 0);
    EXPECT_EQ(only.text(), QL_WIDE("y.z"));
}

}  // namespace
