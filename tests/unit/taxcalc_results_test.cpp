// The tax computation and the results text: the worked examples to the
// cent, line by line and column by column, and the tab-fill rules.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "object/qlcommon_impl.h"
#include "taxcalc/amounts.h"
#include "taxcalc/results_text.h"
#include "taxcalc/tax_computation.h"
#include "taxcalc_test_support.h"

namespace {

using namespace ql::tax;
using taxtest::entry;
using taxtest::FakePlatform;
using taxtest::ScopedPlatform;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) out.push_back(line);
    return out;
}

// Where each field of a line starts, in characters, when tabs go to the
// next multiple of 8 as in the message box.
std::vector<std::pair<int, std::string>> columns(const std::string& line) {
    std::vector<std::pair<int, std::string>> out;
    int col = 0;
    std::string field;
    int start = 0;
    for (char c : line) {
        if (c == '\t') {
            if (!field.empty()) out.emplace_back(start, field);
            field.clear();
            col = (col / 8 + 1) * 8;
            start = col;
        } else {
            field.push_back(c);
            ++col;
        }
    }
    if (!field.empty()) out.emplace_back(start, field);
    return out;
}

using Cols = std::vector<std::pair<int, std::string>>;

class TaxResults : public ::testing::Test {
protected:
    void SetUp() override { ReleaseRecords(); }
    void TearDown() override { ReleaseRecords(); }

    // Runs the computation with these answers; returns the results text.
    std::string run(std::vector<taxtest::ValuesAnswer> answers) {
        fake.answers = std::move(answers);
        ScopedPlatform use(fake);
        result = ComputeResults(this);
        return fake.messages.empty() ? "" : fake.messages.back().second;
    }

    FakePlatform fake;
    bool result = false;
};

TEST_F(TaxResults, OneSelfEmploymentEntry) {
    calculatorState().records.push_back(entry("Acme", 0, 11, "30000.00", "", SelfEmployment, 5));
    const std::string text = run({{}, {"", "4500.00"}, {"", "2000.00"}});
    ASSERT_TRUE(result);
    EXPECT_EQ(calculatorState().records[0].projectedCents, 6000000);
    EXPECT_EQ(calculatorState().taxableIncomeCents, 4076113);
    EXPECT_EQ(calculatorState().netLiabilityCents, 648887);
    ASSERT_EQ(fake.shown.size(), 3u);
    EXPECT_EQ(taxtest::narrow(fake.shown[1].firstText), "40761.13");
    EXPECT_EQ(taxtest::narrow(fake.shown[2].firstText), "6488.87");
    EXPECT_EQ(fake.modesAsked, (std::vector<int32_t>{1, 2, 3}));

    // The label fill counts a label's width against the reference width
    // (24 characters with its tab) scaled to 22 characters, so a label of
    // 17 characters reaches column 32 and a short one column 24.  An amount
    // as long as the 8-character amount column gets one tab more.
    const std::vector<std::string> got = lines(text);
    const std::vector<Cols> want = {
        {{0, "Acme"}, {24, "30000.00"}, {40, "60000.00"}},
        {},
        {{0, "Totals"}, {24, "30000.00"}, {40, "60000.00"}},
        {},
        {{0, "SE Tax"}, {24, "4238.87"}, {32, "-4238.86"}},
        {{0, "STD Deduction"}, {32, "-15000.00"}},
        {},
        {{0, "Taxable Income"}, {32, "40761.13"}},
        {},
        {{0, "Income Tax"}, {24, "2250.00"}, {32, "4500.00"}},
        {},
        {{0, "Current Liability"}, {32, "6488.87"}, {40, "21.63%"}},
        {{0, "Current W2 Withholding"}, {24, "-0.00"}},
        {{0, "Prior SE Payments"}, {32, "-2000.00"}},
        {},
        {{0, "Amount Due"}, {24, "4488.87"}},
    };
    ASSERT_EQ(got.size(), want.size()) << text;
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(columns(got[i]), want[i]) << "line " << i;
    // Exact tabs of two lines, and no line end after the last one.
    EXPECT_EQ(got[0], "Acme\t\t\t30000.00\t60000.00");
    EXPECT_EQ(got[12], "Current W2 Withholding\t-0.00");
    EXPECT_NE(text.back(), '\n');
    EXPECT_EQ(fake.calls.back(), "ReleaseDC");
    EXPECT_EQ(fake.messages.back().first, "Results");
    EXPECT_EQ(fake.calls[fake.calls.size() - 2], "MessageBoxW owner 0");
}

TEST_F(TaxResults, TwoEntriesAboveTheThreshold) {
    calculatorState().records.push_back(entry("Consulting", 0, 11, "150000.00", "", SelfEmployment, 11));
    calculatorState().records.push_back(entry("Big Corp", 0, 11, "80000.00", "9000.00", W2Employment, 11));
    const std::string text = run({{}, {"", "30000.00"}, {"", "20000.00"}});
    ASSERT_TRUE(result);
    const std::vector<std::string> got = lines(text);
    ASSERT_EQ(got.size(), 17u) << text;
    // "150000.00" makes the amount column 16 wide.
    EXPECT_EQ(columns(got[0]), (Cols{{0, "Consulting"}, {24, "150000.00"}, {40, "150000.00"}}));
    EXPECT_EQ(columns(got[1]), (Cols{{0, "Big Corp"}, {32, "80000.00"}, {56, "80000.00"}}));
    EXPECT_EQ(columns(got[3]), (Cols{{0, "Totals"}, {24, "230000.00"}, {40, "230000.00"}}));
    EXPECT_EQ(columns(got[5]), (Cols{{0, "SE Tax"}, {24, "25254.40"}, {48, "-13162.83"}}));
    EXPECT_EQ(columns(got[6]), (Cols{{0, "STD Deduction"}, {40, "-15000.00"}}));
    EXPECT_EQ(columns(got[8]), (Cols{{0, "Taxable Income"}, {40, "201837.16"}}));
    EXPECT_EQ(columns(got[12]), (Cols{{0, "Current Liability"}, {32, "55254.40"}, {56, "24.02%"}}));
    EXPECT_EQ(columns(got[13]), (Cols{{0, "Current W2 Withholding"}, {24, "-9000.00"}}));
    EXPECT_EQ(columns(got[16]), (Cols{{0, "Amount Due"}, {24, "26254.40"}}));
}

TEST_F(TaxResults, ShortW2PeriodEnteredLater) {
    // April to June, entered in September: projected at half the net.
    calculatorState().records.push_back(entry("Shop", 3, 5, "1200.00", "5000.00", W2Employment, 8));
    const std::string text = run({{}, {}, {}});
    ASSERT_TRUE(result);
    EXPECT_EQ(calculatorState().records[0].projectedCents, 60000);
    EXPECT_EQ(calculatorState().taxableIncomeCents, 0);
    EXPECT_EQ(taxtest::narrow(fake.shown[1].secondText), "0");
    EXPECT_FALSE(fake.shown[1].secondEnabled);
    EXPECT_EQ(calculatorState().tableTaxCents, 0);
    const std::vector<std::string> got = lines(text);
    ASSERT_EQ(got.size(), 16u);
    EXPECT_EQ(columns(got[11]), (Cols{{0, "Current Liability"}, {32, "153.49"}, {40, "12.79%"}}));
    EXPECT_EQ(columns(got[15]), (Cols{{0, "Amount Due"}, {24, "0.00"}}));
    EXPECT_EQ(calculatorState().netLiabilityCents, 15349 - 500000);
}

TEST_F(TaxResults, CancelStopsAtThatDialog) {
    calculatorState().records.push_back(entry("Acme", 0, 11, "30000.00", "", SelfEmployment, 5));
    run({{}, {"", "", false}});
    EXPECT_FALSE(result);
    EXPECT_EQ(fake.modesAsked, (std::vector<int32_t>{1, 2}));
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(calculatorState().records.size(), 1u);  // nothing released here
    // A refused first dialog (threshold 0) counts as not accepted too.
    FakePlatform again;
    again.answers = {{"0", "", true}};
    ScopedPlatform use(again);
    EXPECT_FALSE(ComputeResults(this));
}

TEST_F(TaxResults, NoScreenContextShowsNothingButSucceeds) {
    calculatorState().records.push_back(entry("Acme", 0, 11, "30000.00", "", SelfEmployment, 5));
    fake.haveDc = false;
    run({{}, {"", "1"}, {}});
    EXPECT_TRUE(result);
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fake.calls.back(), "GetDC");
}

TEST_F(TaxResults, ThresholdEqualToProjectionKeepsTheFullRate) {
    std::vector<IncomeRecord> rs = {entry("A", 0, 11, "176100.00", "", SelfEmployment, 11)};
    TaxFigures f;
    f.ssThreshold = 17610000;
    ProjectYear(rs, f);
    EXPECT_EQ(f.ssRatio, 1.0f);
    f.ssThreshold = 17000000;
    ProjectYear(rs, f);
    EXPECT_LT(f.ssRatio, 1.0f);
}

TEST_F(TaxResults, ZeroTotalsGiveZeroSharesAndPercent) {
    std::vector<IncomeRecord> rs = {entry("A", 0, 11, "0", "", SelfEmployment, 11)};
    TaxFigures f;
    f.ssThreshold = 17610000;
    f.tableTax = 50000;
    ProjectYear(rs, f);
    ComputeToDate(rs, f);
    Summarise(rs, f);
    EXPECT_EQ(f.incomeTaxToDate, 0);
    EXPECT_EQ(f.percent, 0);
}

TEST(TaxResultColumns, LabelColumnFollowsTheLongestName) {
    auto measure = [](const Text& t, int32_t n, const int32_t* s) { return taxtest::fixedPitchExtent(t, n, s); };
    auto columnFor = [&](size_t nameLength) {
        std::vector<IncomeRecord> rs(1);
        rs[0].employer = Text(nameLength, QLWChar('x'));
        return MeasureColumns(rs, measure).labelColumn;
    };
    EXPECT_EQ(columnFor(5), 24);
    EXPECT_EQ(columnFor(23), 24);
    EXPECT_EQ(columnFor(24), 24);
    EXPECT_EQ(columnFor(25), 32);
    EXPECT_EQ(columnFor(63), 64);

    // A label as wide as the column gets no tab; a shorter one reaches it.
    std::vector<IncomeRecord> rs(1);
    rs[0].employer = Text(24, QLWChar('x'));
    ResultColumns c = MeasureColumns(rs, measure);
    EXPECT_EQ(c.referenceWidth, 24u * 6);
    EXPECT_TRUE(LabelFill(rs[0].employer, c, measure).empty());
    EXPECT_EQ(LabelFill(Text(23, QLWChar('x')), c, measure), Text(1, QLWChar('\t')));
    EXPECT_EQ(LabelFill(ascii("Totals"), c, measure), Text(3, QLWChar('\t')));
    // A wide font: the width in characters is cut, never rounded up.
    auto wide = [](const Text& t, int32_t n, const int32_t* s) { return taxtest::fixedPitchExtent(t, n, s, 7); };
    ResultColumns w = MeasureColumns({}, wide);
    EXPECT_EQ(w.amountColumn, 0);
    EXPECT_TRUE(EmptyColumnFill(w).empty());
    EXPECT_EQ(AmountFill(9, c), Text());  // longer than the column: no tab
}

TEST(TaxResultColumns, ExcessEntriesAreLeftOutBeforeTheTotals) {
    std::vector<IncomeRecord> rs;
    for (int i = 0; i < 200; ++i) rs.push_back(entry(std::string(40, 'n').c_str(), 0, 11, "1.00", "", SelfEmployment, 11));
    TaxFigures f;
    auto measure = [](const Text& t, int32_t n, const int32_t* s) { return taxtest::fixedPitchExtent(t, n, s); };
    const Text text = BuildResultsText(rs, f, measure);
    EXPECT_LE(text.size(), kResultsCapacity - 1);
    const std::string s = taxtest::narrow(text);
    EXPECT_NE(s.find(" more entries)\n\nTotals"), std::string::npos);
    EXPECT_NE(s.find("Amount Due"), std::string::npos);
}

TEST(TaxCalculatorSlot, NullParentOpensNothing) {
    FakePlatform fake;
    ScopedPlatform use(fake);
    ICommon* obj = GetQLObject(nullptr);
    EXPECT_EQ(obj->ShowTaxCalculator(nullptr), 0);
    EXPECT_TRUE(fake.calls.empty());
    int parent = 0;
    EXPECT_EQ(obj->ShowTaxCalculator(&parent), 1);
    fake.mainDialogCode = 2;
    EXPECT_EQ(obj->ShowTaxCalculator(&parent), 2);
    fake.mainDialogCode = -1;  // no dialog could be made
    EXPECT_EQ(obj->ShowTaxCalculator(&parent), 0);
    EXPECT_EQ(fake.calls.front(), "DialogBoxParamW 101 owner");
    // The operation does not need the state record.
    auto* impl = static_cast<ql::QLCommon*>(obj);
    ql::QLState* record = impl->state();
    impl->setState(nullptr);
    fake.mainDialogCode = 2;
    EXPECT_EQ(obj->ShowTaxCalculator(&parent), 2);
    impl->setState(record);
    QLDestroy(obj);
}

}  // namespace
