// Length units: measure text both ways, fractional measures, MulDivRound
// and Hypotenuse.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "measure/measure.h"

namespace {

constexpr int ft = unitFeet, in = unitInches, th = unitThousandths, cm = unitCentimeters, mm = unitMillimeters;

// A capacity of 14 holds the longest text below and its terminator; the
// whole text or the empty text comes back, nothing is written past it.
TEST(Measure, FormatTable) {
    const struct { int32_t thousandths, unit, decimals, capacity; std::u16string want; } cases[] = {
        {0, in, 2, 14, u"0.00"}, {0, in, 0, 14, u"0."}, {12000, in, 0, 14, u"12."}, {1500, in, 3, 14, u"1.500"},
        {-250, in, 2, 14, u"-0.25"}, {50, in, 2, 14, u"0.05"}, {1000, mm, 2, 14, u"25.40"}, {1000, ft, 3, 14, u"0.083"},
        {1000, cm, 3, 14, u"2.540"}, {1234, th, 1, 14, u"1234.0"}, {1234, 7, 2, 14, u"0.00"}, {-1, in, 2, 14, u"-0.00"},
        {5, in, 2, 14, u"0.01"}, {995, in, 2, 14, u"0.99"}, {1, ft, 2, 14, u"0.00"}, {-1, ft, 0, 14, u"-0."},
        {1500, in, -3, 14, u"2."}, {1500, in, 30, 40, u""}, {1500, in, 29, 40, u"1.5" + std::u16string(28, u'0')},
        {INT32_MIN, mm, 3, 14, u"-54546084.659"}, {INT32_MIN, mm, 3, 13, u""}, {1500, in, 1, 4, u"1.5"}, {1500, in, 1, 3, u""},
    };
    for (const auto& c : cases) {
        std::u16string out(64, u'Z');
        ql::formatMeasure(c.thousandths, &out[0], c.capacity, c.unit, c.decimals);
        EXPECT_EQ(out.c_str(), c.want) << "row " << c.thousandths << " " << c.unit << " " << c.decimals << " " << c.capacity;
        EXPECT_EQ(out.find_first_not_of(u'Z', static_cast<size_t>(c.capacity)), std::u16string::npos) << c.capacity;
    }
}

TEST(Measure, ParseTable) {
    const struct { std::u16string text; int32_t unit, want; } cases[] = {
        {u"1.5", in, 1500}, {u"25.4mm", in, 1000}, {u"25.4mm", ft, 304800}, {u"-2.5", th, -3}, {u"2 dia", in, 6283},
        {u"2.54", cm, 1000}, {u"25.4", mm, 1000}, {u"abc", 1, 0}, {u"-0.0005", in, -1}, {u"0.0005", in, 1}, {u"17.4", 9, 17},
        {u"17.5", th, 18}, {u"  3 in", in, 3000}, {u"1e300", in, INT32_MAX}, {u"-3000000", in, INT32_MIN}, {u"1", ft, 12000},
        {u"1d2", th, 100}, {u"1D1", ft, 120000}, {u"\u30003", th, 3}, {u"\u00A01.5", in, 1500}, {u"2mm dia", in, 247},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ql::parseMeasure(c.text.c_str(), c.unit), c.want) << "row " << std::string(c.text.begin(), c.text.end()) << " unit " << c.unit;
    EXPECT_EQ(ql::parseMeasure(nullptr, in), 0);
}

// The UTF-16 parser and its 8-bit twin on the same ASCII cases.
TEST(Measure, FractionalTable) {
    const struct { std::string text; int32_t unit, target; float value; bool sign; } cases[] = {
        {"1 1/2", in, th, 1500.0f, false}, {"3\\4", in, th, 750.0f, false}, {"1/2-", in, th, -500.0f, true},
        {"1/2+", in, th, 500.0f, true}, {"-1/2", in, th, -500.0f, false}, {"12.7mm", in, th, 500.0f, false},
        {"12.7mm", unitMillimeters, th, 12.7f, false}, {"1/2 dia", in, th, 0.5f * 1000.0f * 3.14159f, false},
        {"1/2 dia", unitFeet, th, 0.5f * 3.14159f, false}, {"", in, th, 0.0f, false}, {"2.5", in, in, 2.5f, false},
        {"1d1/4", in, th, 2500.0f, false}, {"3 1d1/2d1", unitFeet, unitFeet, 3.5f, false}, {"1/4\\2", in, in, 0.25f, false},
        {"1 2 /4", in, in, 1.5f, false}, {"-3/4+", in, in, 0.75f, true}, {"7/0", in, in, INFINITY, false},
    };
    for (const auto& c : cases) {
        float a = -99.0f, w = -99.0f;
        const std::u16string wide(c.text.begin(), c.text.end());
        EXPECT_EQ(ql::parseFractionalMeasure(c.text.c_str(), c.unit, &a, c.target), c.sign) << "row " << c.text;
        EXPECT_EQ(ql::parseFractionalMeasure(wide.c_str(), c.unit, &w, c.target), c.sign) << "row " << c.text;
        EXPECT_EQ(a, c.value) << "8-bit row " << c.text;
        EXPECT_EQ(w, c.value) << "UTF-16 row " << c.text;
    }
    float w = -99.0f;
    EXPECT_TRUE(!ql::parseFractionalMeasure(u"\u20001/\u30004", in, &w, in) && w == 0.25f);
}

TEST(Measure, RoundingAndHypotenuse) {
    const struct { double a, b, c; int32_t want; } mul[] = {{3, 5, 2, 8}, {-3, 5, 2, -7}, {1, 1, 2, 1},
        {1, 1, 0, INT32_MAX}, {-1, 1, 0, INT32_MIN}, {0, 0, 0, 0}, {1e10, 1, 1, INT32_MAX}, {-5, 1, 2, -2}};
    for (const auto& c : mul) EXPECT_EQ(ql::mulDivRound(c.a, c.b, c.c), c.want) << "row " << c.a << " " << c.b << " " << c.c;
    const struct { float v; int32_t want; } rounding[] = {{1570.5f, 1571}, {-0.7f, -1}, {-0.4f, 0}, {0.49f, 0}, {2.5f, 3}};
    for (const auto& c : rounding) EXPECT_EQ(ql::roundFraction(c.v), c.want) << "row " << c.v;
    EXPECT_TRUE(ql::hypotenuse(3, 4) == 5.0 && ql::hypotenuse(-5, 12) == 13.0);
}

}  // namespace
