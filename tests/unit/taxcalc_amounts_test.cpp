// The calculator's money arithmetic: reading amounts, rounding, single
// precision and writing cents.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <limits>

#include "taxcalc/amounts.h"
#include "taxcalc/decimal_reader.h"
#include "taxcalc_test_support.h"

namespace {

using namespace ql::tax;
using taxtest::narrow;

double read(const char* s) { return ReadDecimal(ascii(s).c_str()); }
int32_t cents(const char* s) { return TextToCents(ascii(s)); }

TEST(TaxAmounts, ReadsTheLeadingDecimalNumber) {
    EXPECT_EQ(read("15000.00"), 15000.0);
    EXPECT_EQ(read("  \t-12.5xyz"), -12.5);
    EXPECT_EQ(read("+.5"), 0.5);
    EXPECT_EQ(read("7."), 7.0);
    EXPECT_EQ(read("1.5e3"), 1500.0);
    EXPECT_EQ(read("2E-2"), 0.02);
    EXPECT_EQ(read("3e"), 3.0);     // an exponent needs digits
    EXPECT_EQ(read("3e+x"), 3.0);
    EXPECT_EQ(read("1,234.5"), 1.0);  // no group separators
    EXPECT_EQ(read("$5"), 0.0);
    EXPECT_EQ(read("."), 0.0);
    EXPECT_EQ(read("-"), 0.0);
    EXPECT_EQ(read(""), 0.0);
    EXPECT_EQ(ReadDecimal(nullptr), 0.0);
    EXPECT_EQ(read("0.1"), 0.1);  // correctly rounded
    EXPECT_EQ(read("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(read("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(read("1e-400"), 0.0);
    // A digit that is not ASCII ends the number (full-width 5).
    Text t = ascii("4");
    t.push_back(QLWChar(0xFF15));
    EXPECT_EQ(ReadDecimal(t.c_str()), 4.0);
}

TEST(TaxAmounts, ReadingIgnoresTheCLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        EXPECT_EQ(read("12.25"), 12.25);
        EXPECT_EQ(read("12,25"), 12.0);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(TaxAmounts, TextToCents) {
    EXPECT_EQ(cents("15000.00"), 1500000);
    EXPECT_EQ(cents("176100.00"), 17610000);
    EXPECT_EQ(cents("12.345"), 1235);
    EXPECT_EQ(cents("0.01"), 1);
    EXPECT_EQ(cents(""), 0);
    EXPECT_EQ(cents("abc"), 0);
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
