// Inflate through the table with the real zlib1.dll in the cache folder:
// whole and continued blocks, truncated and corrupt input, kind 2, no
// library file, a library that lacks an entry point, unloading by the
// destroyer, CopyLine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "hostkit/host.h"
#include "inflate_zlib_files.h"

namespace {

// Held for the whole program: see folders_files.h.
const qltest::HostTreeLock hostTreeLock;

std::string knownText() {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "record " + std::to_string(i) + "\tvalue " + std::to_string(i * 7) + "\n";
    return text;
}

class Inflate : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        text = knownText();
        packed = qltest::compress(text);
    }
    void SetUp() override {
        ASSERT_FALSE(packed.empty()) << "no zlib1.dll at " << qltest::narrow(qltest::sourceZlib());
        ASSERT_FALSE(qltest::zlibLoaded());
        ASSERT_TRUE(qltest::installZlib(qltest::sourceZlib()));
    }
    void TearDown() override { qltest::removeZlib(); }

    const ICommonVtbl* t(hostkit::Object& o) { return o.table(); }
    bool begin(hostkit::Object& o, const std::vector<unsigned char>& in, uint32_t length, int32_t kind = 1) {
        return t(o)->InflateBegin(o.get(), in.data(), length, kind);
    }
    bool block(hostkit::Object& o, void* out, uint32_t room, uint32_t& produced, int32_t kind = 1) {
        return t(o)->InflateBlock(o.get(), packed.data(), static_cast<int32_t>(packed.size()), out, room, &produced,
                                  kind);
    }

    static std::string text;
    static std::vector<unsigned char> packed;
};
std::string Inflate::text;
std::vector<unsigned char> Inflate::packed;

TEST_F(Inflate, WholeBlockThenHalfRoomContinued) {
    {
        hostkit::Object obj;
        std::vector<char> out(text.size() + 4096);
        uint32_t produced = 0;
        ASSERT_TRUE(begin(obj, packed, static_cast<uint32_t>(packed.size())));
        EXPECT_TRUE(qltest::zlibLoaded());
        EXPECT_TRUE(block(obj, out.data(), static_cast<uint32_t>(out.size()), produced));
        EXPECT_EQ(produced, text.size());
        EXPECT_EQ(std::string(out.data(), produced), text);
        t(obj)->InflateFinish(obj.get(), 1);

        // The same stream with room for half: false, then a new buffer continues.
        const uint32_t half = static_cast<uint32_t>(text.size() / 2);
        std::vector<char> first(half), second(text.size());
        ASSERT_TRUE(begin(obj, packed, static_cast<uint32_t>(packed.size())));
        EXPECT_FALSE(block(obj, first.data(), half, produced));
        EXPECT_EQ(produced, half);
        EXPECT_TRUE(block(obj, second.data(), static_cast<uint32_t>(second.size()), produced));
        EXPECT_EQ(produced, text.size());
        EXPECT_EQ(std::string(first.data(), half) + std::string(second.data(), text.size() - half), text);
        t(obj)->InflateFinish(obj.get(), 1);
    }
    EXPECT_FALSE(qltest::zlibLoaded());  // the destroyer unloaded it
}

TEST_F(Inflate, TruncatedAndCorruptInput) {
    hostkit::Object obj;
    std::vector<char> out(text.size() + 64);
    uint32_t produced = 0;
    ASSERT_TRUE(begin(obj, packed, static_cast<uint32_t>(packed.size() / 2)));
    EXPECT_FALSE(block(obj, out.data(), static_cast<uint32_t>(out.size()), produced));
    EXPECT_GT(produced, 0u);
    EXPECT_LT(produced, text.size());
    EXPECT_EQ(std::string(out.data(), produced), text.substr(0, produced));
    t(obj)->InflateFinish(obj.get(), 1);

    std::vector<unsigned char> badHeader = packed, badSum = packed;
    badHeader[0] = 0x00;
    badSum.back() ^= 0xFF;
    ASSERT_TRUE(begin(obj, badHeader, static_cast<uint32_t>(badHeader.size())));
    EXPECT_FALSE(block(obj, out.data(), static_cast<uint32_t>(out.size()), produced));
    EXPECT_EQ(produced, 0u);
    t(obj)->InflateFinish(obj.get(), 1);
    ASSERT_TRUE(begin(obj, badSum, static_cast<uint32_t>(badSum.size())));
    EXPECT_FALSE(block(obj, out.data(), static_cast<uint32_t>(out.size()), produced));
    EXPECT_EQ(produced, text.size());  // all data out, then the checksum fails
    t(obj)->InflateFinish(obj.get(), 1);
}

TEST_F(Inflate, KindTwoDoesNothing) {
    hostkit::Object obj;
    char out[16];
    uint32_t produced = 99;
    EXPECT_FALSE(begin(obj, packed, static_cast<uint32_t>(packed.size()), 2));
    EXPECT_FALSE(qltest::zlibLoaded());
    EXPECT_FALSE(block(obj, out, sizeof out, produced, 2));
    EXPECT_EQ(produced, 0u);
    t(obj)->InflateFinish(obj.get(), 2);
}

TEST_F(Inflate, NoLibraryFileThenCopiedIn) {
    qltest::removeZlib();
    hostkit::Object obj;
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(begin(obj, packed, static_cast<uint32_t>(packed.size())));
    EXPECT_FALSE(qltest::zlibLoaded());
    uint32_t produced = 5;
    char out[16];
    EXPECT_FALSE(block(obj, out, sizeof out, produced));
    EXPECT_EQ(produced, 0u);
    t(obj)->InflateFinish(obj.get(), 1);

    ASSERT_TRUE(qltest::installZlib(qltest::sourceZlib()));
    EXPECT_TRUE(begin(obj, packed, static_cast<uint32_t>(packed.size())));
    EXPECT_TRUE(qltest::zlibLoaded());
    t(obj)->InflateFinish(obj.get(), 1);
}

TEST_F(Inflate, LibraryWithoutTheInflateEntryPoint) {
    qltest::removeZlib();
    ASSERT_TRUE(qltest::installZlib(hostkit::testProgramFolder() + L"inflate_partial_zlib.dll"));
    {
        hostkit::Object obj;
        ASSERT_TRUE(begin(obj, packed, static_cast<uint32_t>(packed.size())));  // its inflateInit_ answers 0
        char out[64];
        for (int i = 0; i < 2; ++i) {  // looked up again each time, still missing
            uint32_t produced = 7;
            EXPECT_FALSE(block(obj, out, sizeof out, produced));
            EXPECT_EQ(produced, 0u);
        }
        t(obj)->InflateFinish(obj.get(), 1);
        HMODULE partial = GetModuleHandleW(qltest::cachedZlib().c_str());
        ASSERT_NE(partial, nullptr);
        auto calls = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(partial, "partialCalls")));
        ASSERT_NE(calls, nullptr);
        EXPECT_EQ(calls(), 101);  // one start, one end
    }
    EXPECT_FALSE(qltest::zlibLoaded());
}

TEST_F(Inflate, EachObjectHoldsTheLibraryUntilDestroyed) {
    auto a = std::make_unique<hostkit::Object>();
    auto b = std::make_unique<hostkit::Object>();
    ASSERT_TRUE(begin(*a, packed, static_cast<uint32_t>(packed.size())));
    ASSERT_TRUE(begin(*b, packed, static_cast<uint32_t>(packed.size())));
    t(*a)->InflateFinish(a->get(), 1);
    t(*b)->InflateFinish(b->get(), 1);
    a.reset();
    EXPECT_TRUE(qltest::zlibLoaded());
    b.reset();
    EXPECT_FALSE(qltest::zlibLoaded());
}

// Bytes in use in all the process's heaps.
size_t heapInUse() {
    HANDLE heaps[64];
    const DWORD n = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    size_t total = 0;
    for (DWORD i = 0; i < n; ++i) {
        PROCESS_HEAP_ENTRY e{};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &e))
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += e.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

TEST_F(Inflate, DestroyedInTheMiddleOfABlock) {
    const int32_t before = hostkit::library().release();
    // Rounds of start, partial block, destroy; with and without the
    // InflateFinish a host owes.
    auto rounds = [&](bool finish) {
        const size_t start = heapInUse();
        for (int round = 0; round < 100; ++round) {
            hostkit::Object obj;
            std::vector<char> out(1000);
            uint32_t produced = 0;
            EXPECT_TRUE(begin(obj, packed, static_cast<uint32_t>(packed.size())));
            EXPECT_FALSE(block(obj, out.data(), 1000, produced));
            if (finish) t(obj)->InflateFinish(obj.get(), 1);
        }
        return static_cast<long>(heapInUse() - start) / 100;
    };
    rounds(true);  // warm-up: first-use allocations of the runtime
    const long finished = rounds(true);
    const long unfinished = rounds(false);
    EXPECT_FALSE(qltest::zlibLoaded());  // every destroyer unloaded the library
    EXPECT_EQ(hostkit::library().release(), before);
    // The record and the library are released either way.  Without
    // InflateFinish, zlib's own state (about 7 KB plus its 32 KB window)
    // stays behind: only inflateEnd frees it, and the destroyer does not
    // call it.
    EXPECT_LE(finished, 8) << "bytes left per round";
    EXPECT_LE(unfinished, 48 * 1024) << "bytes left per round";
    std::printf("bytes left per destroyed object: %ld after InflateFinish, %ld without\n", finished, unfinished);

    // A new object starts afresh.
    hostkit::Object obj;
    std::vector<char> out(text.size());
    uint32_t produced = 0;
    ASSERT_TRUE(begin(obj, packed, static_cast<uint32_t>(packed.size())));
    EXPECT_TRUE(block(obj, out.data(), static_cast<uint32_t>(out.size()), produced));
    t(obj)->InflateFinish(obj.get(), 1);
}

}  // namespace
