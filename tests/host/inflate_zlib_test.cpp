// Inflate through the table with the real zlib in the cache folder, without one, and with a stand-in that has
// no "inflate".
#include <gtest/gtest.h>

#include <string>

#include "folders_files.h"

namespace {

const qltest::HostTreeLock hostTreeLock;
const unsigned char packed[] = {0x78, 0x9c, 0x2b, 0xce, 0x4f, 0xcc, 0x06, 0x00, 0x04, 0x4a, 0x01, 0xaf};  // "soak"

struct Inflate : ::testing::Test {
    char out[8] = {};
    uint32_t produced = 9;
    bool begin(ICommon* o, uint32_t length, int32_t kind = 1) { return o->InflateBegin(packed, length, kind); }
    bool block(ICommon* o, uint32_t at, uint32_t room, int32_t kind = 1) {
        return o->InflateBlock(packed, sizeof packed, out + at, room, &produced, kind);
    }
};

TEST_F(Inflate, RealZlib) {
    const std::wstring zlib = qltest::cacheZlib(qltest::kRealZlib);
    {
        hostkit::Object o;
        ASSERT_TRUE(begin(o.get(), sizeof packed));
        EXPECT_FALSE(block(o.get(), 0, 2)) << "room for half";
        EXPECT_EQ(produced, 2u);
        EXPECT_TRUE(block(o.get(), 2, 6)) << "a new buffer continues";
        EXPECT_EQ(std::string(out, produced), "soak");
        o->InflateFinish(1);
        ASSERT_TRUE(begin(o.get(), 6));
        EXPECT_FALSE(block(o.get(), 0, 8)) << "truncated";
        o->InflateFinish(1);
        EXPECT_FALSE(begin(o.get(), sizeof packed, 2)) << "not zlib";
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
        EXPECT_FALSE(begin(o.get(), sizeof packed));
        EXPECT_FALSE(block(o.get(), 0, 8));
        EXPECT_EQ(produced, 0u);
        zlib = qltest::cacheZlib(hostkit::testProgramFolder() + L"inflate_partial_zlib.dll");
        EXPECT_TRUE(begin(o.get(), sizeof packed)) << "the load is tried again";
        EXPECT_FALSE(block(o.get(), 0, 8));
        o->InflateFinish(1);
    }
    DeleteFileW(zlib.c_str());
}

}  // namespace
