// Worked examples of the calculator, from the entries as typed to the
// results text, compared with their golden transcripts: what each values
// dialog shows, then the results as measured in a fixed-pitch font.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "taxcalc/income_entry.h"
#include "taxcalc/results_text.h"
#include "taxcalc/values_entry.h"
#include "taxcalc_golden.h"

namespace {

using namespace ql::tax;

// The entries (each accepted, `repeat` times over), then the values
// dialogs answered with their presets and the second field typed.
struct Example { const char* file; int32_t currentMonth; std::vector<IncomeInputs> entries; const char16_t *tableTax, *prior; int repeat = 1; };

Text field(const Text& label, const Text& text, bool on) { return label + u" [" + text + u"]" + (on ? u"" : u" off"); }

std::string transcript(const Example& e) {
    CalculatorState s;
    for (int i = 0; i < e.repeat; ++i)
        for (const IncomeInputs& in : e.entries) s.records.push_back(checkIncome(in, e.currentMonth).record);
    Text out;
    auto ask = [&](ValuesMode mode) {
        const ValuesSetup v = setupValues(mode, s);
        out += v.title + u" | " + field(v.firstLabel, v.firstText, v.firstEnabled) + u" | " +
               field(v.secondLabel, v.secondText, v.secondEnabled) + u"\n";
        const char16_t* typed = mode == TaxFromTable ? e.tableTax : mode == PriorPayments ? e.prior : nullptr;
        return !acceptValues(mode, v.firstText, typed ? Text(typed) : v.secondText, s).refused();
    };
    TaxFigures f;
    EXPECT_TRUE(computeFigures(s, ask, f)) << e.file;
    auto fixedPitch = [](const Text& t, int32_t, const int32_t*) {  // 6 units a character, a tab stop every 8
        return std::accumulate(t.begin(), t.end(), 0u, [](uint32_t x, QLWChar c) { return c == u'\t' ? (x / 48 + 1) * 48 : x + 6; });
    };
    return golden::narrow(out + u"Results:\n" + buildResultsText(s, f, fixedPitch));
}

TEST(TaxExamples, MatchTheirTranscripts) {
    const Example examples[] = {
        {"one_entry.txt", 5, {{u"Acme Design", 0, 11, u"30000.00", u"", SelfEmployment}}, u"4500.00", u"2000.00"},
        {"two_entries.txt", 11, {{u"Consulting", 0, 11, u"150000.00", u"", SelfEmployment},
                                 {u"Big Corp", 0, 11, u"80000.00", u"9000.00", W2Employment}}, u"30000.00", u"20000.00"},
        {"short_w2_period.txt", 8, {{u"Corner Shop", 3, 5, u"1200.00", u"5000.00", W2Employment}}, nullptr, nullptr},
        // A name cut to 63 characters makes the label column 64 and gets no
        // tab; the totals outgrow the amount column; 15 characters of a
        // number count.
        {"long_names.txt", 6, {{Text(70, u'L'), 6, 6, u"60000.00", u"", SelfEmployment},
                               {u"Current W2 Withholding", 0, 11, u"00000000005000099", u"1", W2Employment}}, u"00000000000100099", u"0"},
        {"zero_income.txt", 0, {{u" ", 0, 0, u"abc", u"", SelfEmployment}}, u"100", u"50"},
        {"many_entries.txt", 11, {{Text(40, u'n'), 0, 11, u"1.00", u"", SelfEmployment}}, u"1", u"1", 80},
    };
    for (const Example& e : examples) EXPECT_EQ(golden::compare(transcript(e), e.file), "");
}

}  // namespace
