// Inflate through the table with the real zlib1.dll in the cache folder,
// without it, and with a stand-in that lacks the "inflate" entry point.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "inflate_zlib_files.h"

namespace {

// Held for the whole program: see folders_files.h.
const qltest::HostTreeLock hostTreeLock;

struct Inflate : ::testing::Test {
    std::string text = std::string(3000, 'r') + "ecord\tvalue\n" + std::string(40000, 'x');
    std::vector<unsigned char> packed = qltest::compress(text);
    std::unique_ptr<hostkit::Object> holder = std::make_unique<hostkit::Object>();
    ICommon* obj() { return holder->get(); }
    void TearDown() override { qltest::removeZlib(); }
    bool begin(size_t length, int32_t kind = 1) {
        return obj()->InflateBegin(packed.data(), static_cast<uint32_t>(length), kind);
    }
    bool block(char* out, uint32_t room, uint32_t& produced, int32_t kind = 1) {
        return obj()->InflateBlock(packed.data(), static_cast<int32_t>(packed.size()), out, room, &produced, kind);
    }
};

TEST_F(Inflate, RealZlib) {
    ASSERT_FALSE(packed.empty()) << "no zlib1.dll at " << qltest::narrow(qltest::sourceZlib());
    ASSERT_TRUE(qltest::installZlib(qltest::sourceZlib()));
    std::vector<char> out(text.size() + 100);
    const uint32_t half = static_cast<uint32_t>(text.size() / 2);
    uint32_t produced = 0;
    // Room for half: false and half produced; a new buffer continues to the end.
    ASSERT_TRUE(begin(packed.size()));
    EXPECT_FALSE(block(out.data(), half, produced));
    EXPECT_EQ(produced, half);
    EXPECT_TRUE(block(out.data() + half, static_cast<uint32_t>(out.size()) - half, produced));
    EXPECT_EQ(std::string(out.data(), produced), text);
    obj()->InflateFinish(1);
    // Truncated input: false, with what came out of the first half.
    ASSERT_TRUE(begin(packed.size() / 2));
    EXPECT_FALSE(block(out.data(), static_cast<uint32_t>(out.size()), produced));
    EXPECT_GT(produced, 0u);
    EXPECT_LT(produced, text.size());
    obj()->InflateFinish(1);
    // Kind 2 is not zlib: nothing done, produced cleared.
    EXPECT_FALSE(begin(packed.size(), 2));
    EXPECT_FALSE(block(out.data(), 10, produced = 9, 2));
    EXPECT_EQ(produced, 0u);
    obj()->InflateFinish(2);
    holder.reset();
    EXPECT_FALSE(qltest::zlibLoaded()) << "the destroyer unloads the library";
}

TEST_F(Inflate, MissingLibraryThenStandInWithoutInflate) {
    qltest::removeZlib();
    char out[16];
    uint32_t produced = 5;
    EXPECT_FALSE(begin(packed.size()));
    EXPECT_FALSE(block(out, sizeof out, produced));
    EXPECT_EQ(produced, 0u);
    ASSERT_TRUE(qltest::installZlib(hostkit::testProgramFolder() + L"inflate_partial_zlib.dll"));
    ASSERT_TRUE(begin(packed.size())) << "the load is tried again";
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(block(out, sizeof out, produced = 7)) << "inflate looked up again";
    EXPECT_EQ(produced, 0u);
    obj()->InflateFinish(1);
    auto calls = reinterpret_cast<int (*)()>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(qltest::cachedZlib().c_str()), "partialCalls")));
    ASSERT_NE(calls, nullptr);
    EXPECT_EQ(calls(), 101) << "one start, one end";
}

}  // namespace
