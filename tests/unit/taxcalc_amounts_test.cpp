// The calculator's money arithmetic: reading amounts, rounding, single
// precision and writing cents.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "taxcalc/amounts.h"
#include "taxcalc_test_support.h"

namespace {

using namespace ql::tax;
using taxtest::narrow;

int32_t cents(const char* s) { return TextToCents(ascii(s)); }

TEST(TaxAmounts, TextToCents) {
    EXPECT_EQ(cents("15000.00"), 1500000);
    EXPECT_EQ(cents("176100.00"), 17610000);
    EXPECT_EQ(cents("12.345"), 1235);
    EXPECT_EQ(cents("0.01"), 1);
    EXPECT_EQ(cents(""), 0);
    // The reader (measure/number_reader.h, tested with the measure code)
    // takes no hexadecimal, infinity, NaN, group separator or exponent
    // without digits.
    EXPECT_EQ(cents("abc"), 0);
    EXPECT_EQ(cents("0x1A"), 0);
    EXPECT_EQ(cents("inf"), 0);
    EXPECT_EQ(cents("nan"), 0);
    EXPECT_EQ(cents("3e"), 300);
    EXPECT_EQ(cents("1,234.5"), 100);
    EXPECT_EQ(cents(" \t-1.5e1x"), -1499);
    // Above 16777216 cents only every second cent can be held.
    EXPECT_EQ(cents("200000.01"), 20000002);
    EXPECT_EQ(cents("167772.15"), 16777216);
    // Negative amounts round by the same rule: -1234 + 0.5 cut toward zero.
    EXPECT_EQ(cents("-12.34"), -1233);
    // Beyond the int32 range: the truncating conversion's INT32_MIN.
    EXPECT_EQ(cents("1e30"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(cents("1e400"), std::numeric_limits<int32_t>::min());
}

TEST(TaxAmounts, RoundingAddsAHalfAndCutsTowardZero) {
    EXPECT_EQ(rounded(-9999.5f), -9999);
    EXPECT_EQ(rounded(-100.2f), -99);
    EXPECT_EQ(rounded(2.5f), 3);
    EXPECT_EQ(rounded(2.49f), 2);
    EXPECT_EQ(truncated(-7.9f), -7);
    EXPECT_EQ(truncated(2147483648.0f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(truncated(std::numeric_limits<float>::quiet_NaN()), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(truncated(-2147483648.0f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(wrapAdd(std::numeric_limits<int32_t>::max(), 1), std::numeric_limits<int32_t>::min());
    // net / monthsToDate * monthsInPeriod, left to right.
    EXPECT_EQ(ProjectCents(3000000, 6, 12), 6000000);
    EXPECT_EQ(ProjectCents(120000, 6, 3), 60000);
    EXPECT_EQ(ProjectCents(1000, 3, 1), 333);
}

TEST(TaxAmounts, FormatCents) {
    EXPECT_EQ(narrow(FormatCents(0)), "0.00");
    EXPECT_EQ(narrow(FormatCents(5)), "0.05");
    EXPECT_EQ(narrow(FormatCents(10)), "0.10");
    EXPECT_EQ(narrow(FormatCents(100)), "1.00");
    EXPECT_EQ(narrow(FormatCents(1500000)), "15000.00");
    EXPECT_EQ(narrow(FormatCents(-1234)), "-12.34");
    EXPECT_EQ(narrow(FormatCents(-5)), "-0.05");
    EXPECT_EQ(narrow(FormatCents(std::numeric_limits<int32_t>::min())), "-21474836.48");
    EXPECT_EQ(narrow(FormatCents(std::numeric_limits<int32_t>::max())), "21474836.47");
    EXPECT_EQ(narrow(FormatDue(-1)), "0.00");
    EXPECT_EQ(narrow(FormatDue(448887)), "4488.87");
}

}  // namespace
