// Inflate through the table without a zlib in the cache folder, with a stand-in that has no "inflate", and with
// the real zlib.  QL_TEST_CHANGES_HOST_TREE
#include <gtest/gtest.h>

#include <string>

#include "folders_files.h"

namespace {

using qltest::kSoak;  // 12 bytes

TEST(Inflate, MissingLibraryStandInWithoutInflateAndRealZlib) {
    std::wstring zlib = qltest::cacheZlib(L"");
    char out[8] = {};
    uint32_t produced = 9;
    {
        hostkit::Object o;
        EXPECT_FALSE(o->InflateBegin(kSoak, 12, 1));
        EXPECT_FALSE(o->InflateBlock(kSoak, 12, out, 8, &produced, 1));
        EXPECT_EQ(produced, 0u);
        zlib = qltest::cacheZlib(hostkit::testProgramFolder() + L"inflate_partial_zlib.dll");
        EXPECT_TRUE(o->InflateBegin(kSoak, 12, 1)) << "the load is tried again";
        EXPECT_FALSE(o->InflateBlock(kSoak, 12, out, 8, &produced, 1));
        o->InflateFinish(1);
    }
    zlib = qltest::cacheZlib(qltest::kRealZlib);
    {
        hostkit::Object o;
        ASSERT_TRUE(o->InflateBegin(kSoak, 12, 1));
        EXPECT_FALSE(o->InflateBlock(kSoak, 12, out, 2, &produced, 1)) << "room for half";
        EXPECT_EQ(produced, 2u);
        EXPECT_TRUE(o->InflateBlock(kSoak, 12, out + 2, 6, &produced, 1)) << "a new buffer continues";
        EXPECT_EQ(std::string(out, produced), "soak");
        o->InflateFinish(1);
        EXPECT_FALSE(o->InflateBegin(kSoak, 12, 2)) << "not zlib";
        EXPECT_FALSE(o->InflateBlock(kSoak, 12, out, 8, &produced, 2));
        EXPECT_EQ(produced, 0u);
    }
    EXPECT_EQ(GetModuleHandleW(zlib.c_str()), nullptr) << "the destroyer unloads the library";
    DeleteFileW(zlib.c_str());
}

}  // namespace
