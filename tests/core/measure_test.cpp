// The measure core: the fixed-point digit conversion against the exact
// decimal expansion, the leading-number reader with the runtime's grammar,
// measures, fractions, number texts and the element array.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "measure/elements.h"
#include "measure/fixed_digits.h"
#include "measure/measure.h"
#include "measure/number_reader.h"
#include "measure/number_text.h"

namespace {

using K = ql::FixedKind;
using Digits = std::tuple<K, std::string, int>;  // kind, digits, point

Digits convert(double v, int d, int limit) {
    char out[ql::kLargestDigitLimit + 2];
    const ql::FixedDigits f = ql::fixedDigits(v, d, out, limit);
    return {f.kind, std::string(out, static_cast<size_t>(f.count)), f.point};
}

// The exact expansion from printf (every double has at most 1074 fraction
// digits), rounded up when the first dropped digit is 5 or more.
Digits reference(double v, int d, int limit) {
    static char text[1500];
    std::snprintf(text, sizeof text, "%.1100f", std::fabs(v));
    const std::string whole(text, std::strchr(text, '.')), fraction(whole.size() + 1 + text);
    const int unrounded = static_cast<int>(whole.size()) - static_cast<int>((whole + fraction).find_first_not_of('0'));
    if (v == 0.0) return d > limit ? Digits{K::tooLong, "", 0} : Digits{K::finite, std::string(d, '0'), 0};
    if (unrounded + d > limit) return {K::tooLong, "", 0};
    std::string kept = "0" + whole + fraction.substr(0, static_cast<size_t>(d));  // room for a carry
    if (fraction[static_cast<size_t>(d)] >= '5') {
        size_t i = kept.size() - 1;
        while (kept[i] == '9') kept[i--] = '0';
        ++kept[i];
    }
    const size_t first = kept.find_first_not_of('0');
    if (first == std::string::npos) return {K::finite, "", unrounded};
    return {K::finite, kept.substr(first), static_cast<int>(kept.size() - first) - d};
}

TEST(FixedDigits, TableAndRandomDoublesAgainstTheExactExpansion) {
    const struct { double v; int d, limit; Digits want; } cases[] = {
        {0.004, 2, 30, {K::finite, "", -2}}, {0.0004, 2, 30, {K::finite, "", -3}}, {9.996, 2, 30, {K::finite, "1000", 2}},
        {0.0, 2, 30, {K::finite, "00", 0}}, {2.5, -4, 30, {K::finite, "3", 1}}, {1e19, 11, 30, {K::tooLong, "", 0}},
        {5e-324, 330, 340, {K::finite, "4940656", -323}}, {0.0, 31, 30, {K::tooLong, "", 0}}, {1.0, 2000000000, 30, {K::tooLong, "", 0}},
        {NAN, 2, 30, {K::notANumber, "", 0}}, {-INFINITY, 2, 30, {K::infinite, "", 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(convert(c.v, c.d, c.limit), c.want) << "row " << c.v << " at " << c.d;
    // Random doubles against the exact expansion; the round-trip text of each
    // reads back as the very same double (the reader rounds correctly).
    std::mt19937_64 rng(20261205);
    for (long r = 0; r < 20000; ++r) {
        const uint64_t bits = rng();
        double v;  // any bit pattern, a mantissa times a power of ten, few decimals, a float
        std::memcpy(&v, &bits, sizeof v);
        if (r % 4 == 1) v = std::ldexp(static_cast<double>(bits >> 11), -53) * std::pow(10.0, static_cast<int>(rng() % 24) - 4);
        if (r % 4 == 2) v = static_cast<double>(bits % 2000000) / 8.0 / std::pow(10.0, static_cast<int>(rng() % 6));
        if (r % 4 == 3) v = static_cast<float>(std::ldexp(static_cast<double>(bits >> 40), static_cast<int>(rng() % 80) - 60));
        const int d = static_cast<int>(rng() % 25), limit = (r & 1) ? 30 : ql::kLargestDigitLimit;
        char out[ql::kLargestDigitLimit + 2];
        if (!std::isfinite(v)) continue;
        ASSERT_EQ(convert(v, d, limit), reference(v, d, limit)) << std::hexfloat << v << " at " << d << " limit " << limit;
        std::snprintf(out, sizeof out, "%.17g", v);
        ASSERT_EQ(ql::readLeadingNumber(out), v) << out;
    }
}

// UTF-16 and, where the text is ASCII, 8-bit text read alike.
TEST(NumberReader, TheRuntimeGrammar) {
    const struct { std::u16string text; double want; } cases[] = {
        {u"2 dia", 2}, {u"\v\f\r3", 3}, {u"25.4mm", 25.4}, {u" \t\n-3 in", -3}, {u"+.5", 0.5}, {u"5.", 5}, {u"1e3x", 1000}, {u"1e", 1}, {u"1E+x", 1},
        {u"2.5e-1", 0.25}, {u"0x1A", 0}, {u"abc", 0}, {u".", 0}, {u"-", 0}, {u"", 0}, {u"- 3", 0}, {u"1d2", 100}, {u"1D-1", 0.1}, {u"2.5d1", 25},
        {u"1dia", 1}, {u"1d+2", 100}, {u"1,5", 1}, {u"12\u00B2", 12}, {u"1e999", INFINITY}, {u"-1e999", -INFINITY}, {u"1e-999", 0}, {u"0e999", 0},
        {u"\u3000-2", -2}, {u"-\u30002", 0}, {u"\u00A03", 3}, {u"\u16803", 3}, {u"\u20003", 3}, {u"\u200A3", 3}, {u"\u20283", 3}, {u"\u20293", 3},
        {u"\u202F3", 3}, {u"\u205F3", 3}, {u"\u00853", 0}, {u"\u200B3", 0}, {u"\u180E3", 0}, {u"\uFEFF3", 0}, {u"\uFF13", 0},
        {u"4.9406564584124654e-324", 4.9406564584124654e-324}, {std::u16string(400, u'9') + u"e-390", 1e10},
        {u"0." + std::u16string(2000, u'0') + u"1", 0},
    };
    for (const auto& c : cases) {
        const std::string narrow(c.text.begin(), c.text.end());  // for ASCII rows the 8-bit text
        const double ascii = std::u16string(narrow.begin(), narrow.end()) == c.text ? ql::readLeadingNumber(narrow.c_str()) : c.want;
        EXPECT_EQ(std::make_tuple(ql::readLeadingNumber(c.text.c_str()), ql::readLeadingNumber(c.text.c_str(), static_cast<long>(c.text.size())), ascii),
                  std::make_tuple(c.want, c.want, c.want)) << "row " << narrow << " (UTF-16, bounded, 8-bit)";
    }
    // 8-bit white space is the "C" locale's: no-break space 0xA0 is not.
    EXPECT_TRUE(ql::readLeadingNumber("\xA0" "3") == 0.0 && std::signbit(ql::readLeadingNumber(u"-0")) && ql::readLeadingNumber(static_cast<char*>(nullptr)) == 0);
    // A bound ends the number as a terminator would.
    EXPECT_TRUE(ql::readLeadingNumber(u"12345", 3) == 123.0 && ql::readLeadingNumber("1e25", 3) == 100.0);
}

constexpr int ft = unitFeet, in = unitInches, th = unitThousandths, cm = unitCentimeters, mm = unitMillimeters;

// A capacity of 14 holds the longest text below and its terminator; the
// whole text or the empty text comes back, nothing is written past it.
TEST(Measure, FormatAndParseTables) {
    const struct { int32_t thousandths, unit, decimals, capacity; std::u16string want; } cases[] = {
        {0, in, 2, 14, u"0.00"}, {0, in, 0, 14, u"0."}, {12000, in, 0, 14, u"12."}, {1500, in, 3, 14, u"1.500"}, {-250, in, 2, 14, u"-0.25"},
        {50, in, 2, 14, u"0.05"}, {1000, mm, 2, 14, u"25.40"}, {1000, ft, 3, 14, u"0.083"}, {1000, cm, 3, 14, u"2.540"}, {1234, th, 1, 14, u"1234.0"},
        {1234, 7, 2, 14, u"0.00"}, {-1, in, 2, 14, u"-0.00"}, {5, in, 2, 14, u"0.01"}, {995, in, 2, 14, u"0.99"}, {1, ft, 2, 14, u"0.00"},
        {-1, ft, 0, 14, u"-0."}, {1500, in, -3, 14, u"2."}, {1500, in, 30, 40, u""}, {1500, in, 29, 40, u"1.5" + std::u16string(28, u'0')},
        {INT32_MIN, mm, 3, 14, u"-54546084.659"}, {INT32_MIN, mm, 3, 13, u""}, {1500, in, 1, 4, u"1.5"}, {1500, in, 1, 3, u""},
    };
    for (const auto& c : cases) {
        std::u16string out(64, u'Z');
        ql::formatMeasure(c.thousandths, &out[0], c.capacity, c.unit, c.decimals);
        EXPECT_EQ(out.c_str(), c.want) << "row " << c.thousandths << " " << c.unit << " " << c.decimals << " " << c.capacity;
        EXPECT_EQ(out.find_first_not_of(u'Z', static_cast<size_t>(c.capacity)), std::u16string::npos) << c.capacity;
    }
    // The diameter factor is 3.14159, not the full value of pi.
    const struct { std::u16string text; int32_t unit, want; } parses[] = {
        {u"1.5", in, 1500}, {u"25.4mm", in, 1000}, {u"25.4mm", ft, 304800}, {u"-2.5", th, -3}, {u"2 dia", in, 6283}, {u"2.54", cm, 1000},
        {u"25.4", mm, 1000}, {u"abc", 1, 0}, {u"-0.0005", in, -1}, {u"0.0005", in, 1}, {u"17.4", 9, 17}, {u"17.5", th, 18}, {u"  3 in", in, 3000},
        {u"1e300", in, INT32_MAX}, {u"-3000000", in, INT32_MIN}, {u"1", ft, 12000}, {u"1d2", th, 100}, {u"1D1", ft, 120000}, {u"\u30003", th, 3},
        {u"\u00A01.5", in, 1500}, {u"2mm dia", in, 247}, {u"100000dia", th, 314159},
    };
    for (const auto& c : parses)
        EXPECT_EQ(ql::parseMeasure(c.text.c_str(), c.unit), c.want) << "row " << std::string(c.text.begin(), c.text.end()) << " unit " << c.unit;
    EXPECT_EQ(ql::parseMeasure(nullptr, in), 0);
}

// The UTF-16 parser and its 8-bit twin on the same ASCII cases.
TEST(Measure, FractionalRoundingAndHypotenuse) {
    const struct { std::string text; int32_t unit, target; float value; bool sign; } cases[] = {
        {"1 1/2", in, th, 1500.0f, false}, {"3\\4", in, th, 750.0f, false}, {"1/2-", in, th, -500.0f, true}, {"1/2+", in, th, 500.0f, true},
        {"-1/2", in, th, -500.0f, false}, {"12.7mm", in, th, 500.0f, false}, {"12.7mm", mm, th, 12.7f, false},
        {"1/2 dia", in, th, 0.5f * 1000.0f * 3.14159f, false}, {"1/2 dia", ft, th, 0.5f * 3.14159f, false}, {"", in, th, 0.0f, false},
        {"2.5", in, in, 2.5f, false}, {"1d1/4", in, th, 2500.0f, false}, {"3 1d1/2d1", ft, ft, 3.5f, false}, {"1/4\\2", in, in, 0.25f, false},
        {"1 2 /4", in, in, 1.5f, false}, {"-3/4+", in, in, 0.75f, true}, {"7/0", in, in, INFINITY, false},
    };
    for (const auto& c : cases) {
        float a = -99.0f, w = -99.0f;
        const bool sa = ql::parseFractionalMeasure(c.text.c_str(), c.unit, &a, c.target);
        const bool sw = ql::parseFractionalMeasure(std::u16string(c.text.begin(), c.text.end()).c_str(), c.unit, &w, c.target);
        EXPECT_EQ(std::make_tuple(sa, a, sw, w), std::make_tuple(c.sign, c.value, c.sign, c.value)) << "row " << c.text << " (8-bit, UTF-16)";
    }
    float w = -99.0f;
    EXPECT_TRUE(!ql::parseFractionalMeasure(u"\u20001/\u30004", in, &w, in) && w == 0.25f);
    const struct { double a, b, c; int32_t want; } mul[] = {{3, 5, 2, 8}, {-3, 5, 2, -7}, {1, 1, 2, 1},
        {1, 1, 0, INT32_MAX}, {-1, 1, 0, INT32_MIN}, {0, 0, 0, 0}, {1e10, 1, 1, INT32_MAX}, {-5, 1, 2, -2}};
    for (const auto& c : mul) EXPECT_EQ(ql::mulDivRound(c.a, c.b, c.c), c.want) << "row " << c.a << " " << c.b << " " << c.c;
    const struct { float v; int32_t want; } rounding[] = {{1570.5f, 1571}, {-0.7f, -1}, {-0.4f, 0}, {0.49f, 0}, {2.5f, 3}};
    for (const auto& c : rounding) EXPECT_EQ(ql::roundFraction(c.v), c.want) << "row " << c.v;
    EXPECT_TRUE(ql::hypotenuse(3, 4) == 5.0 && ql::hypotenuse(-5, 12) == 13.0);
}

TEST(NumberText, FloatHexAndQuotes) {
    const struct { float v; int32_t decimals; std::u16string want; } cases[] = {
        {0.0f, 2, u"0.00"}, {12.0f, 0, u"12"}, {0.6f, 0, u"1"}, {1.5f, 2, u"1.50"}, {0.05f, 2, u"0.05"}, {-0.5f, 2, u"-0.50"}, {0.999f, 2, u"1.00"},
        {-0.001f, 2, u"-0.00"}, {0.004f, 2, u"0.00"}, {1e20f, 10, u""}, {INFINITY, 2, u"inf"}, {-INFINITY, 2, u"-inf"}, {NAN, 2, u"nan"},
        {2.5f, -1, u"3"}, {1e-5f, 3, u"0.00000"},
    };
    for (const auto& c : cases) {
        char16_t out[64] = u"x";
        ql::formatFloat(c.v, out, 64, c.decimals);
        EXPECT_EQ(out, c.want) << "row " << c.v << " decimals " << c.decimals;
    }
    // The whole text or none, nothing written past the capacity.
    const struct { uint64_t v; int32_t capacity; std::string want; } hex[] = {
        {4660, 20, "0x00000000'00001234"}, {~0ull, 20, "0xffffffff'ffffffff"}, {0x0123456789ABCDEFull, 64, "0x01234567'89abcdef"}, {4660, 19, ""},
        {4660, 1, ""},
    };
    for (const auto& c : hex) {
        std::string out(80, 'Z');
        ql::formatHex64(c.v, &out[0], c.capacity);
        EXPECT_TRUE(out.c_str() == c.want && out.find_first_not_of('Z', static_cast<size_t>(c.capacity)) == std::string::npos)
            << "row " << c.v << " capacity " << c.capacity << ": got " << out.c_str();
    }
    std::u16string quotes = u"\u201CIt\u2019s\u201D \u2018x\u2019 \u201E\u2032";
    ql::straightenQuotes(&quotes[0]);
    EXPECT_EQ(quotes, u"\"It's\" 'x' \u201E\u2032");
}

TEST(Elements, GrowthBoundsAndSizes) {
    ql::ElementArray a;
    uint64_t v = 7;  // room for an element of 4 or 8 bytes
    ql::pushElement(a, &v);  // before beginElements: ignored
    ql::beginElements(a, 4);
    const uint8_t* first = a.store.get();
    // 16383 elements fit the first 65536 bytes; the 16384th grows them.
    for (uint32_t i = 0; i < 40000; ++i)
        ASSERT_EQ((ql::pushElement(a, &i), a.capacity), i < 16383 ? 65536 : i < 32767 ? 131072 : 196608) << "after push " << i;
    EXPECT_TRUE(a.store.get() == first && ql::copyElement(a, 16383, &v) && v == 16383u && ql::popElement(a, &v) && v == 39999u && a.count == 39999);
    ql::beginElements(a, 8);  // empties the array, keeps the storage
    EXPECT_TRUE(a.capacity == 196608 && !ql::copyElement(a, 0, &v) && !ql::popElement(a, &v) && a.count == 0);
    for (int twice = 0; twice < 2; ++twice) ql::freeElements(a);
    EXPECT_TRUE(a.count == 0 && !a.store && a.capacity == 0);
    ql::beginElements(a, 8);
    for (const char* e : {"first\0\0", "second\0", "third\0\0"}) ql::pushElement(a, e);
    char out[8];  // also where p points before the pointer look-ups
    void* p = out;
    for (const int32_t index : {-1, 0, 2, 3, INT32_MAX}) {
        const bool ok = index == 0 || index == 2;
        EXPECT_TRUE(ql::copyElement(a, index, out) == ok && ql::elementPointer(a, index, &p) == ok && (p != nullptr) == ok) << "index " << index;
    }
    EXPECT_TRUE(ql::popElement(a, out) && std::strcmp(out, "third") == 0 && a.count == 2);
    // Sizes above one step grow by as many steps as needed; size 0 takes nothing.
    std::vector<uint8_t> big(100000, 0xAB);
    ql::beginElements(a, 100000);
    for (int twice = 0; twice < 2; ++twice) ql::pushElement(a, big.data());
    EXPECT_TRUE(a.count == 2 && a.capacity == 262144 && ql::elementPointer(a, 1, &p) && std::memcmp(p, big.data(), big.size()) == 0);
    ql::beginElements(a, 0);
    ql::pushElement(a, big.data());
    EXPECT_TRUE(a.count == 0 && !ql::popElement(a, out));
}

}  // namespace
