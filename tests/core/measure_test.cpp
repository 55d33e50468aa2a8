// The measure core: digits, the number reader, measures, number texts and the element array.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "measure/elements.h"
#include "measure/fixed_digits.h"
#include "measure/measure.h"
#include "measure/number_reader.h"
#include "measure/number_text.h"

namespace {

using Text = std::u16string;
constexpr int ft = unitFeet, in = unitInches, th = unitThousandths, cm = unitCentimeters, mm = unitMillimeters;

// |v| at d decimals as "DIGITSeP" (0.DIGITS times ten to the P) from printf's exact expansion.
std::string exactDigits(double v, int d) {
    static char text[1500];
    std::snprintf(text, sizeof text, "%.1100f", std::fabs(v));
    const char* point = std::strchr(text, '.');
    std::string kept = "0" + std::string(text, static_cast<size_t>(point - text)) + std::string(point + 1, d);
    if (point[1 + d] >= '5') {
        size_t i = kept.size() - 1;
        while (kept[i] == '9') kept[i--] = '0';
        ++kept[i];
    }
    const size_t first = kept.find_first_not_of('0');
    if (first == std::string::npos) return "e" + std::to_string(-static_cast<int>(std::strspn(point + 1, "0")));
    return kept.substr(first) + "e" + std::to_string(static_cast<int>(kept.size() - first) - d);
}

// Any bit pattern, mantissas times powers of ten, eighths (ties); their round-trip texts read back exactly.
TEST(FixedDigits, RandomDoublesAgainstTheExactExpansion) {
    std::mt19937_64 rng(20261205);
    char out[ql::kLargestDigitLimit + 2];
    for (long r = 0; r < 20000; ++r) {
        const uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        const int scale = static_cast<int>(rng() % 30);
        if (r % 3 == 1) v = std::ldexp(static_cast<double>(bits >> 11), -53) * std::pow(10.0, scale - 4);
        if (r % 3 == 2) v = static_cast<double>(bits % 2000000) / 8.0 / std::pow(10.0, scale % 6);
        if (!std::isfinite(v) || v == 0.0) continue;
        const int d = static_cast<int>(rng() % 25);
        const ql::FixedDigits f = ql::fixedDigits(v, d, out, ql::kLargestDigitLimit);
        const std::string digits = std::string(out, static_cast<size_t>(f.count)) + "e" + std::to_string(f.point);
        ASSERT_EQ(digits, exactDigits(v, d)) << std::hexfloat << v << " at " << d;
        std::snprintf(out, sizeof out, "%.17g", v);
        ASSERT_EQ(ql::readLeadingNumber(out), v) << out;
    }
}

TEST(NumberReader, TheRuntimeGrammar) {
    const struct { Text text; double want; } cases[] = {
        {u"\t\r-3 in", -3}, {u"+.5", 0.5}, {u"5.e1", 50}, {u"1D-1", 0.1}, {u"1e-999", 0}, {u"\u00A03", 3},
        {u"\u3000-2", -2}, {u"0." + Text(400, u'0') + u"1e9", 0}, {Text(400, u'9') + u"e-390", 1e10},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ql::readLeadingNumber(c.text.c_str()), c.want) << std::string(c.text.begin(), c.text.end());
    // 8-bit white space is the "C" locale's, without the no-break space.
    EXPECT_EQ(ql::readLeadingNumber("\t-3"), -3.0);
    EXPECT_EQ(ql::readLeadingNumber("\xA0" "3"), 0.0);
}

// The whole text or the empty text, in a block of exactly the capacity.
TEST(Measure, Format) {
    const struct { int32_t thousandths, unit, decimals, capacity; Text want; } cases[] = {
        {-1, in, 2, 14, u"-0.00"}, {1000, cm, 3, 14, u"2.540"}, {1000, mm, 2, 14, u"25.40"},
        {1234, th, 1, 14, u"1234.0"}, {1234, 7, 2, 14, u"0.00"}, {1, ft, 2, 14, u"0.00"}, {-12000, ft, -1, 14, u"-1."},
        {0, in, 30, 40, u"0." + Text(30, u'0')}, {1500, in, 29, 40, u"1.5" + Text(28, u'0')},
        {1500, in, 30, 40, u""}, {1000, in, INT32_MAX, 14, u""}, {INT32_MIN, mm, 3, 14, u"-54546084.659"},
        {INT32_MIN, mm, 3, 13, u""},
    };
    for (const auto& c : cases) {
        std::vector<char16_t> out(static_cast<size_t>(c.capacity), u'Z');
        ql::formatMeasure(c.thousandths, out.data(), c.capacity, c.unit, c.decimals);
        EXPECT_EQ(out.data(), c.want) << "row " << &c - cases;
    }
}

TEST(Measure, ParseAndRound) {
    const struct { Text text; int32_t unit, want; } cases[] = {
        {u"25.4mm", in, 1000}, {u"25.4mm", ft, 304800}, {u"2.54", cm, 1000}, {u"25.4", mm, 1000}, {u"-2.5", th, -3},
        {u"17.5", 9, 18}, {u"100000dia", th, 314159}, {u"2147483647.5", th, INT32_MAX}, {u"-3000000", in, INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(ql::parseMeasure(c.text.c_str(), c.unit), c.want) << "row " << &c - cases;
    const struct { double a, b, c; int32_t want; } products[] = {
        {3, 5, 2, 8}, {-3, 5, 2, -7}, {0, 0, 0, 0}};
    for (const auto& p : products) EXPECT_EQ(ql::mulDivRound(p.a, p.b, p.c), p.want) << "row " << &p - products;
    const struct { float v; int32_t want; } rounding[] = {{2.5f, 3}, {-0.7f, -1}, {2147483648.0f, INT32_MAX}, {NAN, 0}};
    for (const auto& r : rounding) EXPECT_EQ(ql::roundFraction(r.v), r.want) << r.v;
}

// The 8-bit twin gives the same, as the fuzz target checks.
TEST(Measure, Fractional) {
    const struct { Text text; int32_t unit, target; float value; bool sign; } cases[] = {
        {u"1 1/2", in, th, 1500, false}, {u"3\\4", in, th, 750, false}, {u"1/4\\2", in, in, 0.25f, false},
        {u"-3/4+", in, in, 0.75f, true}, {u"12.7mm", in, th, 500, false}, {u"1/2 dia", in, th, 1570.795f, false},
    };
    for (const auto& c : cases) {
        float value = -99;
        EXPECT_EQ(ql::parseFractionalMeasure(c.text.c_str(), c.unit, &value, c.target), c.sign) << "row " << &c - cases;
        EXPECT_EQ(value, c.value) << "row " << &c - cases;
    }
}

TEST(NumberText, FloatHexAndQuotes) {
    const struct { float v; int32_t decimals; Text want; } floats[] = {
        {12, 0, u"12"}, {-0.0f, 2, u"-0.00"}, {1e-45f, 2, u"0." + Text(44, u'0')}, {1e20f, 10, u""},
        {-INFINITY, 2, u"-inf"}, {NAN, 2, u"nan"},
    };
    for (const auto& c : floats) {
        char16_t out[64] = u"x";
        ql::formatFloat(c.v, out, 64, c.decimals);
        EXPECT_EQ(out, c.want) << "row " << &c - floats;
    }
    std::vector<char> hex(20);
    ql::formatHex64(0x0123456789ABCDEFull, hex.data(), 20);
    EXPECT_STREQ(hex.data(), "0x01234567'89abcdef");
    hex.resize(19);
    ql::formatHex64(4660, hex.data(), 19);
    EXPECT_STREQ(hex.data(), "");
    Text quotes = u"\u201CIt\u2019s\u201D \u2018x\u2019 \u201E\u2032";
    ql::straightenQuotes(&quotes[0]);
    EXPECT_EQ(quotes, u"\"It's\" 'x' \u201E\u2032");
}

TEST(Elements, GrowInStepsAndStayInBounds) {
    ql::ElementArray a;
    ql::beginElements(a, 4);
    uint32_t i = 0;
    for (; i < 16383; ++i) ql::pushElement(a, &i);
    EXPECT_EQ(a.capacity, 65536);  // 16383 elements fit the first 65536 bytes, the 16384th adds a step
    ql::pushElement(a, &i);
    EXPECT_EQ(a.capacity, 131072);
    ql::beginElements(a, 8);  // empties the array, keeps the storage
    EXPECT_EQ(a.capacity, 131072);
    for (const char* e : {"first\0\0", "second\0", "third\0\0"}) ql::pushElement(a, e);
    ql::pushElement(a, nullptr);  // null elements are refused
    EXPECT_FALSE(ql::popElement(a, nullptr));
    EXPECT_FALSE(ql::copyElement(a, 0, nullptr));
    char out[8];
    void* p = out;
    const struct { int32_t index; bool ok; } bounds[] = {{-1, false}, {0, true}, {2, true}, {3, false}};
    for (const auto& b : bounds) {
        EXPECT_EQ(ql::copyElement(a, b.index, out), b.ok) << b.index;
        EXPECT_EQ(ql::elementPointer(a, b.index, &p), b.ok) << b.index;
        EXPECT_EQ(p != nullptr, b.ok) << b.index;
    }
    for (const char* e : {"third", "second", "first"}) {
        EXPECT_TRUE(ql::popElement(a, out));
        EXPECT_STREQ(out, e);
    }
    EXPECT_FALSE(ql::popElement(a, out));
    ql::freeElements(a);
    EXPECT_EQ(a.capacity, 0);
    // Sizes above one step grow by as many steps as needed; size 0 takes nothing.
    const std::vector<uint8_t> big(100000, 0xAB);
    ql::beginElements(a, 100000);
    ql::pushElement(a, big.data());
    ql::pushElement(a, big.data());
    EXPECT_EQ(a.capacity, 262144);
    ql::beginElements(a, 0);
    ql::pushElement(a, big.data());
    EXPECT_EQ(a.count, 0);
}

}  // namespace
