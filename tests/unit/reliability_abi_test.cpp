// The zlib slots at the table's edge: a host may leave garbage above the
// 32-bit lengths, room and kind in their 64-bit registers and stack slots.
// The slots are called through 64-bit views of their table entries, with the
// real zlib in a scratch cache folder (the host test of the other slots is
// tests/wine/reliability_abi_test.c; the cache folder of the DLL is shared
// by the host tests, so the zlib calls live here, where the folder seam
// gives each test its own).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "datafile_test_util.h"
#include "object/qlcommon_impl.h"
#include "reliability_zlib.h"

namespace {

using InflateBegin64 = QLBool (*)(ICommon*, const void*, uint64_t inputLength, uint64_t kind);
using InflateBlock64 = QLBool (*)(ICommon*, const void*, uint64_t inputLength, void*, uint64_t room, uint32_t*,
                                  uint64_t kind);
using InflateFinish64 = void (*)(ICommon*, uint64_t kind);

constexpr uint64_t kGarbage = 0xDEADBEEF00000000ull;

template <typename Fn>
Fn slot(ICommon* obj, int index) {
    return reinterpret_cast<Fn>((*reinterpret_cast<void***>(obj))[index]);
}

TEST(ReliabilityAbi, InflateReadsTheLowHalvesOfItsIntegers) {
    reltest::ScratchZlib zlib("abi-zlib");
    if (!zlib.available()) GTEST_SKIP() << "no zlib library";
    const std::string text = "a block inflated through garbage-topped arguments";
    const auto stream = reltest::storedZlibStream(text);
    const auto length = static_cast<uint32_t>(stream.size());
    dftest::Object obj;
    const auto begin = slot<InflateBegin64>(obj.get(), QL_SLOT_InflateBegin);
    const auto block = slot<InflateBlock64>(obj.get(), QL_SLOT_InflateBlock);
    const auto finish = slot<InflateFinish64>(obj.get(), QL_SLOT_InflateFinish);

    // A length whose low half is 0 or negative is refused whatever lies above.
    std::vector<char> out(text.size() + 16, '#');
    uint32_t produced = 99;
    ASSERT_EQ(begin(obj.get(), stream.data(), kGarbage | length, kGarbage | codecZlib), 1);
    EXPECT_EQ(block(obj.get(), stream.data(), 0x0000000100000000ull, out.data(), kGarbage | 64, &produced,
                    kGarbage | codecZlib),
              0);
    EXPECT_EQ(block(obj.get(), stream.data(), 0x7FFFFFFF80000000ull, out.data(), kGarbage | 64, &produced,
                    kGarbage | codecZlib),
              0);
    // Room 10 under garbage: ten bytes, then the rest; the answer is 1 only
    // at the end of the stream.
    EXPECT_EQ(block(obj.get(), stream.data(), 0xFFFFFFFF00000000ull | length, out.data(), kGarbage | 10, &produced,
                    0x0000000100000000ull | codecZlib),
              0);
    EXPECT_EQ(produced, 10u);
    EXPECT_EQ(out[10], '#');
    EXPECT_EQ(block(obj.get(), stream.data(), kGarbage | length, out.data() + 10, kGarbage | 64, &produced,
                    kGarbage | codecZlib),
              1);
    EXPECT_EQ(std::string(out.data(), produced), text);
    finish(obj.get(), kGarbage | codecZlib);
    // Kind 1 under garbage really ended the block: zlib refuses to go on.
    EXPECT_EQ(block(obj.get(), stream.data(), length, out.data(), 64, &produced, codecZlib), 0);
    // A kind whose low half is not 1 is not zlib.
    EXPECT_EQ(begin(obj.get(), stream.data(), length, 0x0000000100000002ull), 0);
}

}  // namespace
