// Float and hexadecimal texts, quotes, and the element array's growth and
// bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "measure/elements.h"
#include "measure/number_text.h"

namespace {

TEST(NumberText, FloatHexAndQuotes) {
    const struct { float v; int32_t decimals; std::u16string want; } cases[] = {
        {0.0f, 2, u"0.00"}, {12.0f, 0, u"12"}, {0.6f, 0, u"1"}, {1.5f, 2, u"1.50"}, {0.05f, 2, u"0.05"},
        {-0.5f, 2, u"-0.50"}, {0.999f, 2, u"1.00"}, {-0.001f, 2, u"-0.00"}, {0.004f, 2, u"0.00"}, {1e20f, 10, u""},
        {INFINITY, 2, u"inf"}, {-INFINITY, 2, u"-inf"}, {NAN, 2, u"nan"}, {2.5f, -1, u"3"}, {1e-5f, 3, u"0.00000"},
    };
    for (const auto& c : cases) {
        char16_t out[64] = u"x";
        ql::formatFloat(c.v, out, 64, c.decimals);
        EXPECT_EQ(out, c.want) << "row " << c.v << " decimals " << c.decimals;
    }
    const struct { uint64_t v; int32_t capacity; std::string want; } hex[] = {
        {4660, 20, "0x00000000'00001234"}, {0, 20, "0x00000000'00000000"}, {~0ull, 20, "0xffffffff'ffffffff"},
        {0x0123456789ABCDEFull, 64, "0x01234567'89abcdef"}, {4660, 19, ""}, {4660, 1, ""},
    };
    for (const auto& c : hex) {
        std::string out(80, 'Z');
        ql::formatHex64(c.v, &out[0], c.capacity);
        EXPECT_EQ(out.c_str(), c.want) << "row " << c.v << " capacity " << c.capacity;
        EXPECT_EQ(out.find_first_not_of('Z', static_cast<size_t>(c.capacity)), std::string::npos) << c.capacity;
    }
    std::u16string quotes = u"\u201CIt\u2019s\u201D \u2018x\u2019 \u201E\u2032";
    ql::straightenQuotes(&quotes[0]);
    EXPECT_EQ(quotes, u"\"It's\" 'x' \u201E\u2032");
}

TEST(Elements, GrowthBoundsAndSizes) {
    ql::ElementArray a;
    uint64_t v = 7;  // room for an element of 4 or 8 bytes
    ql::pushElement(a, &v);  // before beginElements: ignored
    EXPECT_EQ(a.count, 0);
    ql::beginElements(a, 4);
    const uint8_t* first = a.store.get();
    for (uint32_t i = 0; i < 40000; ++i) {
        ql::pushElement(a, &i);
        // 16383 elements fit the first 65536 bytes; the 16384th grows them.
        ASSERT_EQ(a.capacity, i < 16383 ? 65536 : i < 32767 ? 131072 : 196608) << "after push " << i;
    }
    EXPECT_TRUE(a.store.get() == first && ql::copyElement(a, 16383, &v) && v == 16383u && ql::popElement(a, &v) && v == 39999u && a.count == 39999);
    ql::beginElements(a, 8);  // empties the array, keeps the storage
    EXPECT_TRUE(a.capacity == 196608 && !ql::copyElement(a, 0, &v) && !ql::popElement(a, &v) && a.count == 0);
    for (int twice = 0; twice < 2; ++twice) ql::freeElements(a);
    EXPECT_TRUE(a.count == 0 && !a.store && a.capacity == 0);
    ql::beginElements(a, 8);
    for (const char* e : {"first\0\0", "second\0", "third\0\0"}) ql::pushElement(a, e);
    char out[8];
    void* p = &out;
    const struct { int32_t index; bool ok; } rows[] = {{-1, false}, {0, true}, {2, true}, {3, false}, {INT32_MAX, false}};
    for (const auto& r : rows)
        EXPECT_TRUE(ql::copyElement(a, r.index, out) == r.ok && ql::elementPointer(a, r.index, &p) == r.ok && (p != nullptr) == r.ok)
            << "index " << r.index;
    EXPECT_TRUE(ql::popElement(a, out) && std::strcmp(out, "third") == 0 && a.count == 2);
    // Sizes above one step grow by as many steps as needed; size 0 takes nothing.
    std::vector<uint8_t> big(100000, 0xAB);
    ql::beginElements(a, 100000);
    for (int twice = 0; twice < 2; ++twice) ql::pushElement(a, big.data());
    EXPECT_TRUE(a.count == 2 && a.capacity == 262144 && ql::elementPointer(a, 1, &p));
    EXPECT_EQ(std::memcmp(p, big.data(), big.size()), 0);
    ql::beginElements(a, 0);
    ql::pushElement(a, big.data());
    EXPECT_TRUE(a.count == 0 && !ql::popElement(a, out));
}

}  // namespace
