// Worked examples of the calculator, from the entries as typed to the
// results text, compared with their golden transcripts: what each values
// dialog shows, then the results (measured in a fixed-pitch font).
#include <gtest/gtest.h>

#include <vector>

#include "taxcalc/income_entry.h"
#include "taxcalc/results_text.h"
#include "taxcalc/values_entry.h"
#include "taxcalc_golden.h"

namespace {

using namespace ql::tax;

struct Example {
    const char* file;
    int32_t currentMonth;
    std::vector<IncomeInputs> entries;  // each accepted by the income dialog
    const char16_t *tableTax, *priorPayments;
    int repeat = 1;  // the entries, this many times
};

// The line for one values dialog as the user sees it.
Text dialogLine(const ValuesSetup& v) {
    auto field = [](const Text& label, const Text& text, bool on) { return label + u" [" + text + u"]" + (on ? u"" : u" off"); };
    return v.title + u" | " + field(v.firstLabel, v.firstText, v.firstEnabled) + u" | " +
           field(v.secondLabel, v.secondText, v.secondEnabled) + u"\n";
}

std::string transcript(const Example& e) {
    CalculatorState s;
    s.currentMonth = e.currentMonth;
    for (int i = 0; i < e.repeat; ++i)
        for (const IncomeInputs& in : e.entries) s.records.push_back(checkIncome(in, e.currentMonth).record);
    Text out;
    auto ask = [&](ValuesMode mode) {  // the presets kept, the second field typed
        const ValuesSetup v = setupValues(mode, s);
        out += dialogLine(v);
        const char16_t* typed = mode == TaxFromTable ? e.tableTax : mode == PriorPayments ? e.priorPayments : nullptr;
        return !acceptValues(mode, v.firstText, typed ? Text(typed) : v.secondText, s).refused();
    };
    TaxFigures f;
    EXPECT_TRUE(computeFigures(s, ask, f)) << e.file;
    auto fixedPitch = [](const Text& t, int32_t, const int32_t*) {  // 6 units a character, tabs every 8
        uint32_t x = 0;
        for (QLWChar c : t) x = c == u'\t' ? (x / 48 + 1) * 48 : x + 6;
        return x;
    };
    return golden::narrow(out + u"Results:\n" + buildResultsText(s, f, fixedPitch));
}

TEST(TaxExamples, MatchTheirTranscripts) {
    const Text longName(70, u'L');
    const Example examples[] = {
        {"one_entry.txt", 5, {{u"Acme Design", 0, 11, u"30000.00", u"", SelfEmployment}}, u"4500.00", u"2000.00"},
        {"two_entries.txt", 11, {{u"Consulting", 0, 11, u"150000.00", u"", SelfEmployment},
                                 {u"Big Corp", 0, 11, u"80000.00", u"9000.00", W2Employment}}, u"30000.00", u"20000.00"},
        {"short_w2_period.txt", 8, {{u"Corner Shop", 3, 5, u"1200.00", u"5000.00", W2Employment}}, nullptr, nullptr},
        // a name cut to 63 characters widens the label column to 64; a
        // total longer than the amount column gets no tab after it; 15
        // characters of a number count
        {"long_names.txt", 6, {{longName, 6, 6, u"60000.00", u"", SelfEmployment},
                               {u"Current W2 Withholding", 0, 11, u"000000000050000.99", u"1", W2Employment}},
         u"1000", u"0"},
        {"zero_income.txt", 0, {{u" ", 0, 0, u"abc", u"", SelfEmployment}}, u"100", u"50"},
        {"many_entries.txt", 11, {{Text(40, u'n'), 0, 11, u"1.00", u"", SelfEmployment}}, u"1", u"1", 80},
    };
    for (const Example& e : examples) EXPECT_EQ(golden::compare(transcript(e), e.file), "");
}

}  // namespace
