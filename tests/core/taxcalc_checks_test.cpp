// The checks of the income entry and values dialogs: for each input, the
// first refusal (its title and message), or none.
#include <gtest/gtest.h>

#include <string>

#include "taxcalc/income_entry.h"
#include "taxcalc/values_entry.h"

namespace {

using namespace ql::tax;

std::u16string shown(const Refusal& r) { return r.refused() ? std::u16string(r.title) + u": " + r.message : u"-"; }

TEST(TaxChecks, IncomeEntryRefusesInThisOrder) {
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
    for (const auto& c : cases)
        EXPECT_EQ(shown(checkIncome(c.in, c.currentMonth).refusal), c.refusal)
            << "employer \"" << testing::PrintToString(c.in.employer) << "\" start " << c.in.startIndex << " end "
            << c.in.endIndex << " net " << testing::PrintToString(c.in.netIncome) << " kind " << c.in.kind;
}

TEST(TaxChecks, MonthChoices) {
    const struct { bool start; int32_t index, limit; const char16_t* refusal; } cases[] = {
        {true, 3, 2, u"Error: Start Month must be same as current month or earlier"},
        {true, 2, 2, u"-"},
        {false, 1, 2, u"Error: End Month must be same as start month or later"},
        {false, 2, 2, u"-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shown(c.start ? checkStartMonthChoice(c.index, c.limit) : checkEndMonthChoice(c.index, c.limit)),
                  c.refusal) << (c.start ? "start " : "end ") << c.index << " against " << c.limit;
}

TEST(TaxChecks, ValuesDialogRefusesOnlyTheFirstMode) {
    const struct { int32_t mode; const char16_t *first, *second, *refusal; } cases[] = {
        {StandardDeduction, u"0", u"15000.00", u"Error: You must enter social security threshhold"},
        {StandardDeduction, u"-5", u"1", u"Error: You must enter social security threshhold"},
        {StandardDeduction, u"0.01", u"", u"Error: You must enter standard deduction"},
        {StandardDeduction, u"0.01", u"0.01", u"-"},
        {TaxFromTable, u"", u"abc", u"-"},
        {PriorPayments, u"", u"", u"-"},
    };
    for (const auto& c : cases) {
        CalculatorState s;
        EXPECT_EQ(shown(acceptValues(c.mode, c.first, c.second, s)), c.refusal)
            << "mode " << c.mode << " texts " << testing::PrintToString(c.first) << ", " << testing::PrintToString(c.second);
    }
}

}  // namespace
