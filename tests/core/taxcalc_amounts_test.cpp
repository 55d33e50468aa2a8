// The calculator's money: typed amounts to cents, cents to text, rounding.
#include <gtest/gtest.h>

#include <cstdint>

#include "taxcalc/amounts.h"

namespace {

using namespace ql::tax;

TEST(TaxAmounts, TypedTextToCents) {
    const struct { const char16_t* text; int32_t cents; } cases[] = {
        {u"15000.00", 1500000}, {u"176100.00", 17610000}, {u"12.345", 1235}, {u"0.01", 1}, {u"", 0}, {u"abc", 0},
        {u" \t-1.5e1x", -1499},  // a negative amount: plus 0.5, cut toward zero
        {u"-12.34", -1233},
        {u"200000.01", 20000002}, {u"167772.15", 16777216},  // above 2^24 cents a float holds every second cent
        {u"1e30", INT32_MIN}, {u"1e400", INT32_MIN}, {u"-1e400", INT32_MIN},  // beyond int32: INT32_MIN
    };
    for (const auto& c : cases) EXPECT_EQ(textToCents(c.text), c.cents) << testing::PrintToString(c.text);
}

TEST(TaxAmounts, RoundingAddsAHalfAndCutsTowardZero) {
    const struct { float value; int32_t rounded; } cases[] = {
        {-9999.5f, -9999}, {-100.2f, -99}, {2.5f, 3}, {2.49f, 2}, {2147483648.0f, INT32_MIN}, {-3e9f, INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(rounded(c.value), c.rounded) << c.value;
}

TEST(TaxAmounts, CentsAsText) {
    const struct { int32_t cents; const char16_t* text; } cases[] = {
        {0, u"0.00"}, {5, u"0.05"}, {10, u"0.10"}, {100, u"1.00"}, {1500000, u"15000.00"}, {-1234, u"-12.34"},
        {-5, u"-0.05"}, {INT32_MIN, u"-21474836.48"}, {INT32_MAX, u"21474836.47"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatCents(c.cents), c.text) << c.cents;
}

}  // namespace
