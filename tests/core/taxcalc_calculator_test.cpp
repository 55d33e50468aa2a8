// The calculator's core: amounts, and worked examples from the entries as typed to the results.  The dialogs'
// presets and refusals are checked on the real dialogs (tests/host/windows_test.cpp).
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "taxcalc/amounts.h"
#include "taxcalc/income_entry.h"
#include "taxcalc/results_text.h"
#include "taxcalc/values_entry.h"

namespace {

using namespace ql::tax;

TEST(TaxCalculator, TypedAmountsAndCentsAsText) {
    // Negative: plus 0.5, cut toward zero; above 2^24 cents a float holds every second cent.
    const struct { const char16_t* text; int32_t cents; } typed[] = {
        {u"12.345", 1235}, {u"-12.34", -1233}, {u"200000.01", 20000002}, {u"1e30", INT32_MIN}};
    for (const auto& t : typed) EXPECT_EQ(textToCents(t.text), t.cents) << "row " << &t - typed;
    const struct { int32_t cents; const char16_t* text; } texts[] = {
        {10, u"0.10"}, {-5, u"-0.05"}, {INT32_MIN, u"-21474836.48"}};
    for (const auto& t : texts) EXPECT_EQ(formatCents(t.cents), t.text) << t.cents;
}

TEST(TaxCalculator, CancelOrAMonthOutOfOrderStops) {
    for (const ValuesMode cancelled : {StandardDeduction, TaxFromTable, PriorPayments}) {
        CalculatorState s;
        TaxFigures f;
        EXPECT_FALSE(computeFigures(s, [&](ValuesMode mode) { return mode != cancelled; }, f)) << cancelled;
    }
    // The start month moved past the end month after both were chosen.
    EXPECT_TRUE(checkIncome({u"Shop", 8, 7, u"1", u"", SelfEmployment}, 9).refusal.refused());
}

// 6 units a character, a tab stop every 8 characters.
uint32_t fixedPitch(const Text& text, int32_t, const int32_t*) {
    uint32_t x = 0;
    for (const QLWChar c : text) x = c == u'\t' ? (x / 48 + 1) * 48 : x + 6;
    return x;
}

struct Example {
    std::string want;  // lines the text must show in this order
    int32_t currentMonth;
    std::vector<IncomeInputs> entries;
    const char16_t *tableTax, *prior;  // typed into the second and third values dialogs
    int repeat = 1;                    // the entries accepted this many times over
};

// The results after the values dialogs, their presets accepted and the two values typed.
std::string results(const Example& e) {
    CalculatorState s;
    for (int i = 0; i < e.repeat; ++i)
        for (const IncomeInputs& in : e.entries) s.records.push_back(checkIncome(in, e.currentMonth).record);
    const auto ask = [&](ValuesMode mode) {
        const ValuesSetup v = setupValues(mode, s);
        const char16_t* typed = mode == TaxFromTable ? e.tableTax : mode == PriorPayments ? e.prior : nullptr;
        return !acceptValues(mode, v.firstText, typed ? Text(typed) : v.secondText, s).refused();
    };
    TaxFigures f;
    EXPECT_TRUE(computeFigures(s, ask, f)) << e.want;
    const Text text = buildResultsText(s, f, fixedPitch);
    return std::string(text.begin(), text.end());
}

TEST(TaxCalculator, WorkedExamplesAndEdges) {
    const Example examples[] = {
        // A W2 entry over fewer months than to date: no taxable income, nothing due.
        {"Corner Shop\t\t1200.00\t600.00\nSE Tax\t\t\t153.49\t-42.39\nTaxable Income\t\t\t0.00\n"
         "Current Liability\t\t153.49\t12.79%\nAmount Due\t\t0.00", 8,
         {{u"Corner Shop", 3, 5, u"1200.00", u"5000.00", W2Employment}}, nullptr, nullptr},
        // A name cut to 63 characters: a label column of 64, no tab; 15 characters of a number count; the
        // amount column is the net amounts', not the projections'; above the threshold its share counts.
        {std::string(63, 'L') + "60000.00\t360000.00\nCurrent W2 Withholding\t50000.00\t85714.28\n"
         "SE Tax\t\t\t\t\t\t\t7253.27\t-16051.40\nIncome Tax\t\t\t\t\t246.80\t1000.00", 6,
         {{Text(70, u'L'), 6, 11, u"60000.00", u"", SelfEmployment},
          {u"Current W2 Withholding", 0, 11, u"00000000005000099", u"1", W2Employment}}, u"00000000000100099", u"0"},
        // A blank name and "abc" pass; no income: no income tax share, 0.00%.
        {" \t\t\t0.00\t0.00\nIncome Tax\t\t0.00\t100.00\nCurrent Liability\t\t0.00\t0.00%", 0,
         {{u" ", 0, 0, u"abc", u"", SelfEmployment}}, u"100", u"50"},
        // 80 entries: those that fit, a note for the rest, the whole summary.
        {std::string(40, 'n') + "1.00\t1.00\n(4 more entries)\nTotals\t\t\t\t80.00\t80.00\nAmount Due\t\t\t11.00", 11,
         {{Text(40, u'n'), 0, 11, u"1.00", u"", SelfEmployment}}, u"1", u"1", 80},
    };
    for (const Example& e : examples) {
        const std::string text = results(e);
        std::istringstream got(text);
        std::istringstream want(e.want);
        std::string g;
        std::string w;
        while (got && std::getline(want, w))
            while (std::getline(got, g) && g != w) {}
        EXPECT_TRUE(got) << "no line\n" << w << "\nafter the lines before it in\n" << text;
    }
}

}  // namespace
