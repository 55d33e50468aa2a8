// Inflate through the table with the real zlib in the cache folder, without one, and with a stand-in that has
// no "inflate".
#include <gtest/gtest.h>

#include <string>

#include "folders_files.h"

namespace {

const qltest::HostTreeLock hostTreeLock;
using qltest::kSoak;  // 12 bytes

struct Inflate : ::testing::Test {
    char out[8] = {};
    uint32_t produced = 9;
    bool begin(ICommon* o, uint32_t length, int32_t kind = 1) { return o->InflateBegin(kSoak, length, kind); }
    bool block(ICommon* o, uint32_t at, uint32_t room, int32_t kind = 1) {
        return o->InflateBlock(kSoak, 12, out + at, room, &produced, kind);
    }
};

TEST_F(Inflate, RealZlib) {
    const std::wstring zlib = qltest::cacheZlib(qltest::kRealZlib);
    {
        hostkit::Object o;
        ASSERT_TRUE(begin(o.get(), 12));
        EXPECT_FALSE(block(o.get(), 0, 2)) << "room for half";
        EXPECT_EQ(produced, 2u);
        EXPECT_TRUE(block(o.get(), 2, 6)) << "a new buffer continues";
        EXPECT_EQ(std::string(out, produced), "soak");
        o->InflateFinish(1);
        EXPECT_FALSE(begin(o.get(), 12, 2)) << "not zlib";
        EXPECT_FALSE(block(o.get(), 0, 8, 2));
        EXPECT_EQ(produced, 0u);
    }
    EXPECT_EQ(GetModuleHandleW(zlib.c_str()), nullptr) << "the destroyer unloads the library";
    DeleteFileW(zlib.c_str());
}

TEST_F(Inflate, MissingLibraryThenStandInWithoutInflate) {
    std::wstring zlib = qltest::cacheZlib(L"");
    {
        hostkit::Object o;
        EXPECT_FALSE(begin(o.get(), 12));
        EXPECT_FALSE(block(o.get(), 0, 8));
        EXPECT_EQ(produced, 0u);
        zlib = qltest::cacheZlib(hostkit::testProgramFolder() + L"inflate_partial_zlib.dll");
        EXPECT_TRUE(begin(o.get(), 12)) << "the load is tried again";
        EXPECT_FALSE(block(o.get(), 0, 8));
        o->InflateFinish(1);
    }
    DeleteFileW(zlib.c_str());
}

}  // namespace
