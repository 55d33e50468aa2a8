// The checks of the income entry and tax values dialogs, as pure
// functions: inputs in, the first refusal or the stored values out.
#include <gtest/gtest.h>

#include <string>

#include "taxcalc/amounts.h"
#include "taxcalc/income_entry.h"
#include "taxcalc/values_entry.h"
#include "taxcalc_test_support.h"

namespace {

using namespace ql::tax;
using taxtest::narrow;

IncomeInputs inputs(const char* employer, int start, int end, const char* net, const char* wh, int kind) {
    return {ascii(employer), start, end, ascii(net), ascii(wh), kind};
}

std::string refusal(const IncomeInputs& in, int currentMonth) {
    Refusal r = CheckIncome(in, currentMonth).refusal;
    return std::string(r.title) + ": " + r.message;
}

TEST(TaxIncomeEntry, ChecksInOrder) {
    EXPECT_EQ(refusal(inputs("", -1, -1, "", "", W2Employment), 2),
              "Employer Name Blank: You must have valid employer name");
    EXPECT_EQ(refusal(inputs("A", -1, 5, "1", "", SelfEmployment), 2),
              "Invalid Start Month: You must have valid start month");
    EXPECT_EQ(refusal(inputs("A", 3, 5, "1", "", SelfEmployment), 2),
              "Invalid Start Month: Start Month cannot be greater than current month");
    EXPECT_EQ(refusal(inputs("A", 2, -1, "1", "", SelfEmployment), 2),
              "Invalid End Month: You must have valid end month equal or greater than start month");
    EXPECT_EQ(refusal(inputs("A", 2, 1, "1", "", SelfEmployment), 2),
              "Invalid End Month: You must have valid end month equal or greater than start month");
    EXPECT_EQ(refusal(inputs("A", 2, 2, "", "", SelfEmployment), 2),
              "Invalid Net Income: You must enter valid net income");
    EXPECT_EQ(refusal(inputs("A", 2, 2, "1", "", W2Employment), 2),
              "Invalid W2 Withholding: You must enter W2 withholding");
    // Only empty texts are refused.
    EXPECT_FALSE(CheckIncome(inputs("   ", 2, 2, "abc", "0", W2Employment), 2).refusal.refused());
    EXPECT_FALSE(CheckIncome(inputs("A", 2, 2, "1", "", SelfEmployment), 2).refusal.refused());
}

TEST(TaxIncomeEntry, BuildsTheRecord) {
    IncomeCheck c = CheckIncome(inputs(std::string(70, 'e').c_str(), 3, 5, "1200.00", "5000.00", W2Employment), 8);
    ASSERT_FALSE(c.refusal.refused());
    const IncomeRecord& r = c.record;
    EXPECT_EQ(r.employer.size(), 63u);
    EXPECT_EQ(r.startMonth, 3);
    EXPECT_EQ(r.endMonth, 5);
    EXPECT_EQ(r.netCents, 120000);
    EXPECT_EQ(r.withholdingCents, 500000);
    EXPECT_EQ(r.monthsToDate, 6);
    EXPECT_EQ(r.monthsInPeriod, 3);
    EXPECT_EQ(r.projectedCents, 60000);
    EXPECT_EQ(r.kind, W2Employment);
    // Start month equal to the current month: one month to date.  Number
    // texts count at most 15 characters.
    IncomeRecord s = CheckIncome(inputs("B", 8, 11, "0000000000000012", "", SelfEmployment), 8).record;
    EXPECT_EQ(s.monthsToDate, 1);
    EXPECT_EQ(s.withholdingCents, 0);
    EXPECT_EQ(s.netCents, 100);  // "000000000000001"
}

TEST(TaxIncomeEntry, MonthChoicesAndFields) {
    EXPECT_STREQ(CheckStartMonthChoice(4, 2).message, "Start Month must be same as current month or earlier");
    EXPECT_FALSE(CheckStartMonthChoice(2, 2).refused());
    EXPECT_STREQ(CheckEndMonthChoice(1, 2).message, "End Month must be same as start month or later");
    EXPECT_STREQ(CheckEndMonthChoice(1, 2).title, "Error");
    EXPECT_FALSE(CheckEndMonthChoice(2, 2).refused());
    EXPECT_TRUE(AmountFieldsFor(SelfEmployment).netIncome);
    EXPECT_FALSE(AmountFieldsFor(SelfEmployment).withholding);
    EXPECT_TRUE(AmountFieldsFor(W2Employment).withholding);
    EXPECT_FALSE(AmountFieldsFor(0).change);
}

TEST(TaxValuesEntry, SetupPerMode) {
    CalculatorState s;
    ValuesSetup one = SetupValues(StandardDeduction, s);
    EXPECT_EQ(narrow(one.title), "Enter Standard Deduction");
    EXPECT_EQ(narrow(one.firstText) + "|" + narrow(one.firstLabel), "176100.00|Soc Sec Thresh");
    EXPECT_EQ(narrow(one.secondText) + "|" + narrow(one.secondLabel), "15000.00|Standard Deduction");
    EXPECT_TRUE(one.firstEnabled && one.secondEnabled);

    s.taxableIncomeCents = 4076113;
    ValuesSetup two = SetupValues(TaxFromTable, s);
    EXPECT_EQ(narrow(two.title), "Enter Tax From Table");
    EXPECT_EQ(narrow(two.firstText) + "|" + narrow(two.firstLabel), "40761.13|Taxable Income");
    EXPECT_FALSE(two.firstEnabled);
    EXPECT_EQ(narrow(two.secondText) + "|" + narrow(two.secondLabel), "|Tax From Table");
    EXPECT_TRUE(two.secondEnabled);
    s.taxableIncomeCents = 0;
    two = SetupValues(TaxFromTable, s);
    EXPECT_EQ(narrow(two.firstText) + "|" + narrow(two.secondText), "0.00|0");
    EXPECT_FALSE(two.secondEnabled);

    s.netLiabilityCents = 648887;
    ValuesSetup three = SetupValues(PriorPayments, s);
    EXPECT_EQ(narrow(three.title), "Enter Prior SE Tax Payments");
    EXPECT_EQ(narrow(three.firstText) + "|" + narrow(three.firstLabel), "6488.87|Current Tax Liability");
    EXPECT_EQ(narrow(three.secondLabel), "Prior Payments");
    EXPECT_FALSE(SetupValues(7, s).known);
}

TEST(TaxValuesEntry, AcceptStoresAndChecks) {
    CalculatorState s;
    EXPECT_FALSE(AcceptValues(StandardDeduction, ascii("176100.00"), ascii("15000.00"), s).refused());
    EXPECT_EQ(s.ssThresholdCents, 17610000);
    EXPECT_EQ(s.standardDeductionCents, 1500000);
    Refusal r = AcceptValues(StandardDeduction, ascii("0"), ascii("15000.00"), s);
    EXPECT_STREQ(r.message, "You must enter social security threshhold");
    EXPECT_STREQ(r.title, "Error");
    EXPECT_EQ(s.ssThresholdCents, 0);  // stored before the check
    EXPECT_STREQ(AcceptValues(StandardDeduction, ascii("0.01"), ascii(""), s).message,
                 "You must enter standard deduction");
    EXPECT_EQ(s.ssThresholdCents, 1);
    EXPECT_TRUE(AcceptValues(StandardDeduction, ascii("-5"), ascii("1"), s).refused());
    s.tableTaxCents = 99;
    EXPECT_FALSE(AcceptValues(TaxFromTable, ascii("x"), ascii("abc"), s).refused());
    EXPECT_EQ(s.tableTaxCents, 0);
    EXPECT_FALSE(AcceptValues(PriorPayments, ascii(""), ascii("2000.00"), s).refused());
    EXPECT_EQ(s.priorPaymentsCents, 200000);
    CalculatorState before = s;
    EXPECT_FALSE(AcceptValues(0, ascii("1"), ascii("1"), s).refused());
    EXPECT_EQ(s.priorPaymentsCents, before.priorPaymentsCents);
}

}  // namespace
