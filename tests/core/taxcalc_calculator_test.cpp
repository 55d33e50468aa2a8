// The calculator's core: typed amounts to cents and back, what the values
// dialog refuses, and worked examples from the entries as typed to what each
// values dialog shows and the results text measured in a fixed-pitch font:
// three compared with their golden transcripts, and the edges (long names
// and numbers, zero income, more entries than the text holds) by the lines
// they must show.  The income dialog's refusals, each in turn, are checked
// through the real dialog (tests/host/taxcalc_dialogs_test.cpp).
#include <gtest/gtest.h>

#include <numeric>
#include <sstream>

#include "taxcalc/amounts.h"
#include "taxcalc/income_entry.h"
#include "taxcalc/results_text.h"
#include "taxcalc/values_entry.h"
#include "taxcalc_golden.h"

namespace {

using namespace ql::tax;

TEST(TaxCalculator, TypedAmountsInCents) {
    const struct { const char16_t* text; int32_t cents; } cases[] = {
        {u"15000.00", 1500000}, {u"176100.00", 17610000}, {u"12.345", 1235}, {u"0.01", 1}, {u"", 0}, {u"abc", 0},
        {u" \t-1.5e1x", -1499}, {u"-12.34", -1233}, {u"-99.995", -9999},  // negative: plus 0.5, cut toward zero
        {u"200000.01", 20000002}, {u"167772.15", 16777216},   // above 2^24 cents a float holds every second cent
        {u"1e30", INT32_MIN}, {u"1e400", INT32_MIN}, {u"-1e400", INT32_MIN},  // beyond int32
    };
    for (const auto& c : cases) EXPECT_EQ(textToCents(c.text), c.cents) << testing::PrintToString(c.text);
    const struct { int32_t cents; const char16_t* text; } texts[] = {{0, u"0.00"}, {5, u"0.05"}, {10, u"0.10"}, {100, u"1.00"}, {1500000, u"15000.00"},
        {-1234, u"-12.34"}, {-5, u"-0.05"}, {INT32_MIN, u"-21474836.48"}, {INT32_MAX, u"21474836.47"}};
    for (const auto& c : texts) EXPECT_EQ(formatCents(c.cents), c.text) << c.cents;
}

// Both values of the first values dialog need at least a cent (its messages
// are checked through the real dialog).
TEST(TaxCalculator, FirstValuesNeedACentEach) {
    const struct { const char16_t *first, *second; bool refused; } cases[] = {{u"0", u"1", true}, {u"-5", u"1", true}, {u"1", u"-0.01", true}, {u"0.01", u"0.01", false}};
    for (const auto& c : cases) { CalculatorState s; EXPECT_EQ(acceptValues(StandardDeduction, c.first, c.second, s).refused(), c.refused) << "row " << &c - cases; }
}

// The entries (each accepted, `repeat` times over), then the values
// dialogs answered with their presets and the second field typed; `want`
// is the golden file, or the lines the text must show in this order.
struct Example { std::string want; int32_t currentMonth; std::vector<IncomeInputs> entries; const char16_t *tableTax, *prior; int repeat = 1; };

std::string transcript(const Example& e) {
    CalculatorState s;
    for (int i = 0; i < e.repeat; ++i)
        for (const IncomeInputs& in : e.entries) s.records.push_back(checkIncome(in, e.currentMonth).record);
    Text out;
    auto field = [](const Text& label, const Text& text, bool on) { return label + u" [" + text + u"]" + (on ? u"" : u" off"); };
    auto ask = [&](ValuesMode mode) {
        const ValuesSetup v = setupValues(mode, s);
        out += v.title + u" | " + field(v.firstLabel, v.firstText, v.firstEnabled) + u" | " + field(v.secondLabel, v.secondText, v.secondEnabled) + u"\n";
        const char16_t* typed = mode == TaxFromTable ? e.tableTax : mode == PriorPayments ? e.prior : nullptr;
        return !acceptValues(mode, v.firstText, typed ? Text(typed) : v.secondText, s).refused();
    };
    TaxFigures f;
    EXPECT_TRUE(computeFigures(s, ask, f)) << e.want;
    // 6 units a character, a tab stop every 8.
    auto fixedPitch = [](const Text& t, int32_t, const int32_t*) { return std::accumulate(t.begin(), t.end(), 0u, [](uint32_t x, QLWChar c) { return c == u'\t' ? (x / 48 + 1) * 48 : x + 6; }); };
    return golden::narrow(out + u"Results:\n" + buildResultsText(s, f, fixedPitch));
}

TEST(TaxCalculator, MatchTheirTranscripts) {
    const Example examples[] = {
        {"one_entry.txt", 5, {{u"Acme Design", 0, 11, u"30000.00", u"", SelfEmployment}}, u"4500.00", u"2000.00"},
        {"two_entries.txt", 11, {{u"Consulting", 0, 11, u"150000.00", u"", SelfEmployment},
                                 {u"Big Corp", 0, 11, u"80000.00", u"9000.00", W2Employment}}, u"30000.00", u"20000.00"},
        {"short_w2_period.txt", 8, {{u"Corner Shop", 3, 5, u"1200.00", u"5000.00", W2Employment}}, nullptr, nullptr},
    };
    for (const Example& e : examples) EXPECT_EQ(golden::compare(transcript(e), e.want), "");
}

TEST(TaxCalculator, EdgesShowTheirLines) {
    const Example examples[] = {
        // A name cut to 63 characters makes the label column 64 and gets no tab; 15 characters of
        // a number count; the totals outgrow the amount column.
        {std::string(63, 'L') + "60000.00\t60000.00\nCurrent W2 Withholding\t50000.00\t85714.28\nTotals\t\t\t\t\t\t\t110000.00145714.28\n"
         "Income Tax\t\t\t\t\t754.90\t1000.00", 6, {{Text(70, u'L'), 6, 6, u"60000.00", u"", SelfEmployment},
         {u"Current W2 Withholding", 0, 11, u"00000000005000099", u"1", W2Employment}}, u"00000000000100099", u"0"},
        // A blank name and "abc" pass; no income: no income tax share, 0.00%.
        {" \t\t\t0.00\t0.00\nIncome Tax\t\t0.00\t100.00\nCurrent Liability\t\t0.00\t0.00%", 0, {{u" ", 0, 0, u"abc", u"", SelfEmployment}}, u"100", u"50"},
        // 80 entries: those that fit, a note for the rest, the whole summary.
        {std::string(40, 'n') + "1.00\t1.00\n(4 more entries)\nTotals\t\t\t\t80.00\t80.00\nAmount Due\t\t\t11.00", 11,
         {{Text(40, u'n'), 0, 11, u"1.00", u"", SelfEmployment}}, u"1", u"1", 80},
    };
    for (const Example& e : examples) {
        std::istringstream got(transcript(e)), want(e.want);
        std::string g, w;
        while (got && std::getline(want, w)) while (std::getline(got, g) && g != w) {}
        EXPECT_TRUE(got) << "row " << &e - examples << ": no line\n" << w << "\nafter the lines before it in\n" << transcript(e);
    }
}

}  // namespace
