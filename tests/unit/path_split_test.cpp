// SplitPath and SplitPathExt: the documented splits, the awkward inputs,
// and buffers that are never written past their capacity.
#include <gtest/gtest.h>

#include <string>

#include "object/qlcommon_impl.h"

#ifdef _WIN32
#define W(s) L##s
#else
#define W(s) u##s
#endif

namespace {

using Text = std::basic_string<QLWChar>;

// A buffer with guard units after its capacity.
struct Out {
    explicit Out(int32_t capacity, QLWChar fill = W('#')) : capacity(capacity), units(capacity + 8, fill) {}
    QLWChar* data() { return units.data(); }
    Text text() const { return Text(units.c_str()); }
    bool guardsIntact(QLWChar fill = W('#')) const {
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
        folder = Out(cap), name = Out(cap), ext = Out(extCap, W('='));
        ext.units[0] = 0;  // "unchanged" is visible as the empty text with '=' after it
        obj->SplitPathExt(path, folder.data(), cap, name.data(), cap, ext.data(), extCap);
        EXPECT_TRUE(folder.guardsIntact() && name.guardsIntact() && ext.guardsIntact(W('=')));
    }

    ICommon* obj = nullptr;
    Out folder{1}, name{1}, ext{1};
};

TEST_F(PathSplit, FolderAndName) {
    split(W("C:\\Data\\report.txt"));
    EXPECT_EQ(folder.text(), W("C:\\Data"));
    EXPECT_EQ(name.text(), W("report.txt"));

    split(W("C:\\Data\\"));  // trailing backslash: empty name
    EXPECT_EQ(folder.text(), W("C:\\Data"));
    EXPECT_EQ(name.text(), W(""));

    split(W("\\file"));  // only backslash first: empty folder
    EXPECT_EQ(folder.text(), W(""));
    EXPECT_EQ(name.text(), W("file"));

    split(W("C:/x/y.txt"));  // the forward slash is an ordinary character
    EXPECT_EQ(folder.text(), W(""));
    EXPECT_EQ(name.text(), W("C:/x/y.txt"));
}

TEST_F(PathSplit, ExtensionSearch) {
    splitExt(W("C:\\Data\\report.txt"));
    EXPECT_EQ(folder.text(), W("C:\\Data"));
    EXPECT_EQ(name.text(), W("report.txt"));
    EXPECT_EQ(ext.text(), W("txt"));

    splitExt(W("C:\\Data\\readme"));  // no full stop: extension untouched
    EXPECT_EQ(folder.text(), W("C:\\Data"));
    EXPECT_EQ(name.text(), W("readme"));
    EXPECT_EQ(ext.units[1], W('='));

    splitExt(W("C:\\a.b\\file"));  // the full stop in a folder name wins
    EXPECT_EQ(ext.text(), W("b\\file"));
    EXPECT_EQ(folder.text(), W("C:"));
    EXPECT_EQ(name.text(), W("a.b\\file"));

    splitExt(W("C:\\a.b\\file.txt"), 3);  // capacity 3: no extension search at all
    EXPECT_EQ(ext.units[1], W('='));
    EXPECT_EQ(folder.text(), W("C:\\a.b"));
    EXPECT_EQ(name.text(), W("file.txt"));

    splitExt(W("C:\\d\\x.longext"), 4);  // found, but does not fit: empty
    EXPECT_EQ(ext.text(), W(""));
    EXPECT_EQ(name.text(), W("x.longext"));
}

TEST_F(PathSplit, ChosenBehaviourForAwkwardPaths) {
    split(W("report.txt"));  // no backslash: all name
    EXPECT_EQ(folder.text(), W(""));
    EXPECT_EQ(name.text(), W("report.txt"));
    splitExt(W("report.txt"));
    EXPECT_EQ(name.text(), W("report.txt"));
    EXPECT_EQ(ext.text(), W("txt"));

    split(W(""));
    EXPECT_EQ(folder.text(), W(""));
    EXPECT_EQ(name.text(), W(""));
    split(nullptr);
    EXPECT_EQ(name.text(), W(""));

    Text longPath = W("C:\\") + Text(508, W('a'));  // 511 characters: accepted
    split(longPath.c_str(), 600);
    EXPECT_EQ(name.text(), Text(508, W('a')));
    longPath += W('b');  // 512: refused, every part empty
    splitExt(longPath.c_str(), 600, 600);
    EXPECT_EQ(folder.text(), W(""));
    EXPECT_EQ(name.text(), W(""));
    EXPECT_EQ(ext.text(), W(""));
}

TEST_F(PathSplit, SmallBuffersAreEmptyNotPartial) {
    for (int32_t cap = 0; cap <= 8; ++cap) {
        split(W("C:\\Data\\report.txt"), cap);
        if (cap >= 1) {
            EXPECT_EQ(folder.text(), cap > 7 ? W("C:\\Data") : W(""));
            EXPECT_EQ(name.text(), W(""));
        } else {
            EXPECT_EQ(folder.units[0], W('#'));  // capacity 0: untouched
        }
    }
    // Null buffers are simply not wanted.
    Out only(16);
    obj->SplitPathExt(W("C:\\x\\y.z"), nullptr, 0, only.data(), 16, nullptr, 10);
    EXPECT_EQ(only.text(), W("y.z"));
    obj->SplitPath(W("C:\\x\\y.z"), only.data(), -5, nullptr, 0);
    EXPECT_EQ(only.text(), W("y.z"));
}

}  // namespace
