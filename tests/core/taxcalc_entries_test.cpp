// What the user types into the calculator: amounts to cents and back, and
// the checks of the income and values dialogs - for each input, the first
// refusal (title and message) or none.
#include <gtest/gtest.h>

#include <string>

#include "taxcalc/amounts.h"
#include "taxcalc/income_entry.h"
#include "taxcalc/values_entry.h"

namespace {

using namespace ql::tax;

TEST(TaxEntries, TypedAmountsInCents) {
    const struct { const char16_t* text; int32_t cents; } cases[] = {
        {u"15000.00", 1500000}, {u"176100.00", 17610000}, {u"12.345", 1235}, {u"0.01", 1}, {u"", 0}, {u"abc", 0},
        {u" \t-1.5e1x", -1499}, {u"-12.34", -1233}, {u"-99.995", -9999},  // negative: plus 0.5, cut toward zero
        {u"200000.01", 20000002}, {u"167772.15", 16777216},   // above 2^24 cents a float holds every second cent
        {u"1e30", INT32_MIN}, {u"1e400", INT32_MIN}, {u"-1e400", INT32_MIN},  // beyond int32
    };
    for (const auto& c : cases) EXPECT_EQ(textToCents(c.text), c.cents) << testing::PrintToString(c.text);
    const struct { int32_t cents; const char16_t* text; } texts[] = {
        {0, u"0.00"}, {5, u"0.05"}, {10, u"0.10"}, {100, u"1.00"}, {1500000, u"15000.00"}, {-1234, u"-12.34"},
        {-5, u"-0.05"}, {INT32_MIN, u"-21474836.48"}, {INT32_MAX, u"21474836.47"}};
    for (const auto& c : texts) EXPECT_EQ(formatCents(c.cents), c.text) << c.cents;
}

std::u16string shown(const Refusal& r) { return r.refused() ? std::u16string(r.title) + u": " + r.message : u"-"; }

TEST(TaxEntries, IncomeDialogRefusesInThisOrder) {
    const struct { IncomeInputs in; int32_t currentMonth; const char16_t* refusal; } cases[] = {
        {{u"", -1, -1, u"", u"", W2Employment}, 2, u"Employer Name Blank: You must have valid employer name"},
        {{u"A", -1, 5, u"1", u"", SelfEmployment}, 2, u"Invalid Start Month: You must have valid start month"},
        {{u"A", 3, 5, u"1", u"", SelfEmployment}, 2, u"Invalid Start Month: Start Month cannot be greater than current month"},
        {{u"A", 2, -1, u"1", u"", SelfEmployment}, 2, u"Invalid End Month: You must have valid end month equal or greater than start month"},
        {{u"A", 2, 1, u"", u"", SelfEmployment}, 2, u"Invalid End Month: You must have valid end month equal or greater than start month"},
        {{u"A", 2, 2, u"", u"", SelfEmployment}, 2, u"Invalid Net Income: You must enter valid net income"},
        {{u"A", 0, 0, u"1", u"", W2Employment}, 2, u"Invalid W2 Withholding: You must enter W2 withholding"},
        {{u"   ", 0, 0, u"abc", u"0", W2Employment}, 0, u"-"},  // only empty texts are refused
        {{u"A", 2, 2, u"1", u"", SelfEmployment}, 2, u"-"},
    };
    for (const auto& c : cases) EXPECT_EQ(shown(checkIncome(c.in, c.currentMonth).refusal), c.refusal) << "row " << &c - cases;
    // Choosing a month: a start after the current month, an end before the start.
    EXPECT_EQ(shown(checkStartMonthChoice(3, 2)) + shown(checkStartMonthChoice(2, 2)), u"Error: Start Month must be same as current month or earlier-");
    EXPECT_EQ(shown(checkEndMonthChoice(1, 2)) + shown(checkEndMonthChoice(2, 2)), u"Error: End Month must be same as start month or later-");
}

TEST(TaxEntries, ValuesDialogRefusesOnlyInTheFirstMode) {
    const struct { int32_t mode; const char16_t *first, *second, *refusal; } cases[] = {
        {StandardDeduction, u"0", u"15000.00", u"Error: You must enter social security threshhold"},
        {StandardDeduction, u"-5", u"1", u"Error: You must enter social security threshhold"},
        {StandardDeduction, u"0.01", u"", u"Error: You must enter standard deduction"},
        {StandardDeduction, u"0.01", u"0.01", u"-"}, {TaxFromTable, u"", u"abc", u"-"}, {PriorPayments, u"", u"", u"-"},
    };
    for (const auto& c : cases) {
        CalculatorState s;
        EXPECT_EQ(shown(acceptValues(c.mode, c.first, c.second, s)), c.refusal) << "row " << &c - cases;
    }
}

}  // namespace
