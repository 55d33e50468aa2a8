// Timing, not a timed test: 100 MB inflated through the table against the
// same zlib1.dll called directly, in alternating rounds; the best round of
// each side gives the ratio, which is printed and recorded (ratio_x1000 in
// the test's XML output).  Only the decompressed bytes are checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "hostkit/host.h"
#include "inflate_zlib_files.h"

namespace {

// Held for the whole program: see folders_files.h.
const qltest::HostTreeLock hostTreeLock;

// zlib's z_stream on 64-bit Windows (88 bytes).
struct ZStream {
    const unsigned char* next_in;
    unsigned avail_in;
    unsigned long total_in;
    unsigned char* next_out;
    unsigned avail_out;
    unsigned long total_out;
    const char* msg;
    void* state;
    void* zalloc;
    void* zfree;
    void* opaque;
    int data_type;
    unsigned long adler;
    unsigned long reserved;
};
static_assert(sizeof(ZStream) == 88, "z_stream");

using InitFn = int (*)(ZStream*, const char*, int);
using InflateFn = int (*)(ZStream*, int);
using EndFn = int (*)(ZStream*);

constexpr size_t kBlock = 1 << 20;  // 1 MB out per block
constexpr int kBlocks = 100;        // 100 MB per round
constexpr int kRounds = 7;

// A megabyte of text that compresses about as well as a host's data files.
std::string sampleText() {
    static const char* words[] = {"move", "line", "arc", "dwell", "speed", "power", "layer", "pass", "0.125", "17"};
    std::string text;
    uint32_t seed = 12345;
    while (text.size() < kBlock) {
        seed = seed * 1103515245u + 12345u;
        text += words[(seed >> 16) % 10];
        text += (seed >> 8) % 7 == 0 ? '\n' : ' ';
    }
    text.resize(kBlock);
    return text;
}

double seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

TEST(InflateSpeed, TableAgainstDirectCalls) {
    const std::string text = sampleText();
    std::vector<unsigned char> packed = qltest::compress(text);
    ASSERT_FALSE(packed.empty());
    ASSERT_TRUE(qltest::installZlib(qltest::sourceZlib()));
    std::vector<unsigned char> out(kBlock + 64);
    {
        hostkit::Object obj;
        const ICommonVtbl* t = obj.table();
        ASSERT_TRUE(t->InflateBegin(obj.get(), packed.data(), static_cast<uint32_t>(packed.size()), 1));
        t->InflateFinish(obj.get(), 1);
        HMODULE z = GetModuleHandleW(qltest::cachedZlib().c_str());  // the library's own copy
        ASSERT_NE(z, nullptr);
        auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(z, "inflateInit_")));
        auto inflate = reinterpret_cast<InflateFn>(reinterpret_cast<void*>(GetProcAddress(z, "inflate")));
        auto end = reinterpret_cast<EndFn>(reinterpret_cast<void*>(GetProcAddress(z, "inflateEnd")));

        auto throughTable = [&] {
            for (int i = 0; i < kBlocks; ++i) {
                uint32_t produced = 0;
                t->InflateBegin(obj.get(), packed.data(), static_cast<uint32_t>(packed.size()), 1);
                const bool ok = t->InflateBlock(obj.get(), packed.data(), static_cast<int32_t>(packed.size()),
                                                out.data(), static_cast<uint32_t>(out.size()), &produced, 1);
                t->InflateFinish(obj.get(), 1);
                if (!ok || produced != kBlock) return false;
            }
            return true;
        };
        auto direct = [&] {
            for (int i = 0; i < kBlocks; ++i) {
                ZStream s{};
                s.next_in = packed.data();
                s.avail_in = static_cast<unsigned>(packed.size());
                init(&s, "1.3.1", sizeof s);
                s.next_out = out.data();
                s.avail_out = static_cast<unsigned>(out.size());
                const int r = inflate(&s, 0);
                end(&s);
                if (r != 1 || s.total_out != kBlock) return false;
            }
            return true;
        };

        double best[2] = {1e9, 1e9};
        std::vector<double> ratios;  // per round, for the median
        for (int round = 0; round < kRounds; ++round) {
            double took[2];
            for (int side = 0; side < 2; ++side) {
                LARGE_INTEGER a, b;
                QueryPerformanceCounter(&a);
                const bool ok = (side == round % 2) ? throughTable() : direct();  // alternate who goes first
                QueryPerformanceCounter(&b);
                ASSERT_TRUE(ok);
                const int who = side == round % 2 ? 0 : 1;
                took[who] = seconds(a, b);
                best[who] = std::min(best[who], took[who]);
            }
            ratios.push_back(took[0] / took[1]);
        }
        std::sort(ratios.begin(), ratios.end());
        EXPECT_EQ(std::memcmp(out.data(), text.data(), kBlock), 0);
        const double ratio = best[0] / best[1];
        std::printf("inflate 100 MB, best of %d: table %.3f s (%.0f MB/s), direct %.3f s (%.0f MB/s), ratio %.3f;"
                    " median round ratio %.3f\n",
                    kRounds, best[0], 100 / best[0], best[1], 100 / best[1], ratio, ratios[ratios.size() / 2]);
        ::testing::Test::RecordProperty("ratio_x1000", static_cast<int>(ratio * 1000));
    }
    qltest::removeZlib();
}

}  // namespace
