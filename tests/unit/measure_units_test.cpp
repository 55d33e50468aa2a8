// Length units: formatting, parsing, fractional measures, MulDivRound and
// Hypotenuse, with the bad-input decisions of docs/measure.md.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "measure_support.h"

namespace {

using measuretest::narrow;
using measuretest::Object;
using measuretest::w;
using measuretest::WString;

std::string formatMeasure(Object& o, int32_t thousandths, int32_t unit, int32_t decimals) {
    QLWChar out[64];
    out[0] = 'x';
    out[1] = 0;
    o->FormatMeasure(thousandths, out, 64, unit, decimals);
    return narrow(out);
}

TEST(FormatMeasure, UnitsDecimalsAndSign) {
    Object o;
    EXPECT_EQ(formatMeasure(o, 0, unitInches, 2), "0.00");
    EXPECT_EQ(formatMeasure(o, 0, unitInches, 0), "0.");
    EXPECT_EQ(formatMeasure(o, 12000, unitInches, 0), "12.");
    EXPECT_EQ(formatMeasure(o, 1500, unitInches, 3), "1.500");
    EXPECT_EQ(formatMeasure(o, -250, unitInches, 2), "-0.25");
    EXPECT_EQ(formatMeasure(o, 50, unitInches, 2), "0.05");
    EXPECT_EQ(formatMeasure(o, 1000, unitMillimeters, 2), "25.40");
    EXPECT_EQ(formatMeasure(o, 1000, unitFeet, 3), "0.083");
    EXPECT_EQ(formatMeasure(o, 1000, unitCentimeters, 3), "2.540");
    EXPECT_EQ(formatMeasure(o, 1234, unitThousandths, 1), "1234.0");
    EXPECT_EQ(formatMeasure(o, 1234, 7, 2), "0.00");
    EXPECT_EQ(formatMeasure(o, -1, unitInches, 2), "-0.00");
    EXPECT_EQ(formatMeasure(o, 5, unitInches, 2), "0.01");  // 0.005 exactly: a tie, away from zero
    EXPECT_EQ(formatMeasure(o, 995, unitInches, 2), "0.99");  // 0.995 is stored just below the tie
    EXPECT_EQ(formatMeasure(o, INT32_MIN, unitMillimeters, 3), "-54546084.659");
    // A value that rounds to zero shows just the requested decimals.
    EXPECT_EQ(formatMeasure(o, 1, unitFeet, 2), "0.00");
    EXPECT_EQ(formatMeasure(o, -1, unitFeet, 0), "-0.");
    // Negative decimals count as none; beyond 30 digits the text is empty.
    EXPECT_EQ(formatMeasure(o, 1500, unitInches, -3), "2.");
    EXPECT_EQ(formatMeasure(o, 1500, unitInches, 29), "1.50000000000000000000000000000");
    EXPECT_EQ(formatMeasure(o, 1500, unitInches, 30), "");
    o.withoutState([&] { EXPECT_EQ(formatMeasure(o, 1500, unitInches, 1), "1.5"); });
}

// Every capacity from 0 to the full length: the whole text or the empty
// text, and never a unit written past the capacity.
TEST(FormatMeasure, CapacitiesNeverOverrun) {
    Object o;
    const WString full = w("-54546084.659");
    for (int32_t capacity = 0; capacity <= static_cast<int32_t>(full.size()) + 2; ++capacity) {
        std::vector<QLWChar> buffer(static_cast<size_t>(capacity) + 8, 0x5A5A);
        o->FormatMeasure(INT32_MIN, buffer.data(), capacity, unitMillimeters, 3);
        for (size_t i = static_cast<size_t>(capacity); i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], 0x5A5A) << "capacity " << capacity;
        if (capacity == 0) continue;
        const WString got(buffer.data());
        EXPECT_EQ(got, capacity > static_cast<int32_t>(full.size()) ? full : WString()) << capacity;
    }
    o->FormatMeasure(1, nullptr, 10, unitInches, 2);  // a null buffer is left alone
}

TEST(ParseMeasure, UnitsMarkersAndRounding) {
    Object o;
    auto parse = [&](const char* text, int32_t unit) { return o->ParseMeasure(w(text).c_str(), unit); };
    EXPECT_EQ(parse("1.5", unitInches), 1500);
    EXPECT_EQ(parse("25.4mm", unitInches), 1000);
    EXPECT_EQ(parse("25.4mm", unitFeet), 304800);
    EXPECT_EQ(parse("2 dia", unitInches), 6283);
    EXPECT_EQ(parse("2.54", unitCentimeters), 1000);
    EXPECT_EQ(parse("25.4", unitMillimeters), 1000);
    EXPECT_EQ(parse("-0.0005", unitInches), -1);
    EXPECT_EQ(parse("0.0005", unitInches), 1);
    EXPECT_EQ(parse("abc", unitInches), 0);
    EXPECT_EQ(parse("17.4", 9), 17);
    EXPECT_EQ(parse("17.5", unitThousandths), 18);
    EXPECT_EQ(parse("  3 in", unitInches), 3000);
    EXPECT_EQ(o->ParseMeasure(nullptr, unitInches), 0);
    // Beyond 32 bits: the nearest end of the range.
    EXPECT_EQ(parse("1e300", unitInches), INT32_MAX);
    EXPECT_EQ(parse("-3000000", unitInches), INT32_MIN);
    EXPECT_EQ(parse("1e999", unitInches), INT32_MAX);
    o.withoutState([&] { EXPECT_EQ(parse("1.5", unitInches), 1500); });
}

struct Fraction {
    float value;
    bool sign;
};

template <class Ch>
Fraction fractional(Object& o, const std::basic_string<Ch>& text, int32_t unit, int32_t target);

template <>
Fraction fractional(Object& o, const WString& text, int32_t unit, int32_t target) {
    Fraction f{-99.0f, false};
    f.sign = o->ParseFractionalMeasureW(text.c_str(), unit, &f.value, target) != 0;
    return f;
}

template <>
Fraction fractional(Object& o, const std::string& text, int32_t unit, int32_t target) {
    Fraction f{-99.0f, false};
    f.sign = o->ParseFractionalMeasureA(text.c_str(), unit, &f.value, target) != 0;
    return f;
}

// The UTF-16 parser and its 8-bit twin agree on every case.
TEST(ParseFractionalMeasure, BothTwinsOnTheSameCases) {
    Object o;
    struct Case {
        const char* text;
        int32_t unit, target;
        float value;
        bool sign;
    };
    const Case cases[] = {
        {"1 1/2", unitInches, unitThousandths, 1500.0f, false},
        {"3\\4", unitInches, unitThousandths, 750.0f, false},
        {"1/2-", unitInches, unitThousandths, -500.0f, true},
        {"1/2+", unitInches, unitThousandths, 500.0f, true},
        {"-1/2", unitInches, unitThousandths, -500.0f, false},
        {"-1/2+", unitInches, unitThousandths, 500.0f, true},
        {"12.7mm", unitInches, unitThousandths, 12.7f / 25.4f * 1000.0f, false},
        {"12.7mm", unitMillimeters, unitThousandths, 12.7f, false},
        {"1/2 dia", unitInches, unitThousandths, 0.5f * 1000.0f * 3.14159f, false},
        {"1/2 dia", unitFeet, unitThousandths, 0.5f * 3.14159f, false},
        {"2 3/4", unitFeet, unitInches, 2.75f, false},
        {"1/2\\4", unitInches, unitThousandths, 500.0f, false},  // "/" wins over "\"
        {"", unitInches, unitThousandths, 0.0f, false},
        {"-", unitInches, unitThousandths, -0.0f, true},
        {"abc", unitInches, unitThousandths, 0.0f, false},
        {"1/0", unitInches, unitThousandths, INFINITY, false},
    };
    for (const Case& c : cases) {
        const Fraction wide = fractional(o, w(c.text), c.unit, c.target);
        const Fraction narrow8 = fractional(o, std::string(c.text), c.unit, c.target);
        EXPECT_EQ(wide.value, c.value) << c.text;
        EXPECT_EQ(wide.sign, c.sign) << c.text;
        EXPECT_EQ(narrow8.value, c.value) << c.text;
        EXPECT_EQ(narrow8.sign, c.sign) << c.text;
    }
    Fraction nan = fractional(o, w("0/0"), unitInches, unitThousandths);
    EXPECT_TRUE(std::isnan(nan.value));
}

TEST(ParseFractionalMeasure, CallerTextStaysAndBadPointers) {
    Object o;
    WString text = w("1 1/2-");
    const WString before = text;
    float value = 1.0f;
    EXPECT_TRUE(o->ParseFractionalMeasureW(text.c_str(), unitInches, &value, unitThousandths));
    EXPECT_EQ(text, before);
    // A null text counts as the empty text; a null out gets nothing.
    EXPECT_FALSE(o->ParseFractionalMeasureW(nullptr, unitInches, &value, unitThousandths));
    EXPECT_EQ(value, 0.0f);
    EXPECT_FALSE(o->ParseFractionalMeasureA(nullptr, unitInches, &value, unitThousandths));
    EXPECT_FALSE(o->ParseFractionalMeasureW(text.c_str(), unitInches, nullptr, unitThousandths));
    int32_t rounded = 5;
    EXPECT_TRUE(o->ParseFractionalMeasureRounded(text.c_str(), unitInches, nullptr, unitThousandths));
    // Without a state record: false, out untouched.
    value = 7.0f;
    o.withoutState([&] {
        EXPECT_FALSE(o->ParseFractionalMeasureW(text.c_str(), unitInches, &value, unitThousandths));
        EXPECT_FALSE(o->ParseFractionalMeasureA("1/2-", unitInches, &value, unitThousandths));
        EXPECT_FALSE(o->ParseFractionalMeasureRounded(text.c_str(), unitInches, &rounded, unitThousandths));
    });
    EXPECT_EQ(value, 7.0f);
    EXPECT_EQ(rounded, 5);
}

TEST(ParseFractionalMeasure, RoundedHalfAwayFromZero) {
    Object o;
    auto rounded = [&](const char* text, bool expectSign) {
        int32_t out = 12345;
        EXPECT_EQ(o->ParseFractionalMeasureRounded(w(text).c_str(), unitInches, &out, unitThousandths) != 0,
                  expectSign)
            << text;
        return out;
    };
    EXPECT_EQ(rounded("0.0007-", true), -1);
    EXPECT_EQ(rounded("1 1/2", false), 1500);
    EXPECT_EQ(rounded("0.0005", false), 1);
    EXPECT_EQ(rounded("1/2 dia", false), 1571);
    EXPECT_EQ(rounded("1/0", false), INT32_MAX);
    EXPECT_EQ(rounded("-1/0", false), INT32_MIN);
    EXPECT_EQ(rounded("0/0", false), 0);
}

// Slot 46 reaches slot 45 through the table.
TEST(ParseFractionalMeasure, RoundedCallsSlot45ThroughTheTable) {
    Object o;
    measuretest::PatchedTable patch(o.get());
    patch.slots().ParseFractionalMeasureW = [](ICommon*, const QLWChar*, int32_t, float* out, int32_t) -> QLBool {
        *out = 2.5f;
        return 1;
    };
    int32_t out = 0;
    EXPECT_TRUE(o->ParseFractionalMeasureRounded(w("1").c_str(), unitInches, &out, unitThousandths));
    EXPECT_EQ(out, 3);
}

TEST(MulDivRound, RoundsAndSaturates) {
    Object o;
    EXPECT_EQ(o->MulDivRound(3, 5, 2), 8);
    EXPECT_EQ(o->MulDivRound(-3, 5, 2), -7);
    EXPECT_EQ(o->MulDivRound(-2.7, 1, 1), -2);
    EXPECT_EQ(o->MulDivRound2(3, 5, 2), 8);
    EXPECT_EQ(o->MulDivRound(1, 1, 0), INT32_MAX);   // zero divisor: +infinity
    EXPECT_EQ(o->MulDivRound(-1, 1, 0), INT32_MIN);
    EXPECT_EQ(o->MulDivRound(0, 1, 0), 0);           // not a number
    EXPECT_EQ(o->MulDivRound(NAN, 1, 1), 0);
    EXPECT_EQ(o->MulDivRound(1e10, 1, 1), INT32_MAX);
    EXPECT_EQ(o->MulDivRound(2147483646.0, 1, 1), 2147483646);
    EXPECT_EQ(o->MulDivRound(2147483647.0, 1, 1), INT32_MAX);
    EXPECT_EQ(o->Hypotenuse(3, 4), 5.0);
    EXPECT_EQ(o->Hypotenuse(-3, 0), 3.0);
    EXPECT_EQ(o->Hypotenuse(1e200, 1e200), INFINITY);
    o.withoutState([&] { EXPECT_EQ(o->MulDivRound(3, 5, 2), 8); });
}

}  // namespace
