// The three-column results text.
#include "taxcalc/results_text.h"

#include <algorithm>
#include <string>

#include "taxcalc/amounts.h"

namespace ql::tax {
namespace {

constexpr const char* kReferenceLabel = "Current W2 Withholding";

int32_t roundUpTo8(int32_t n) { return (n + 7) / 8 * 8; }

Text tabs(int32_t n) { return Text(static_cast<std::size_t>(std::max(n, 0)), QLWChar('\t')); }

}  // namespace

ResultColumns MeasureColumns(const std::vector<IncomeRecord>& records, const MeasureText& measure) {
    ResultColumns c;
    int32_t longestName = 0;
    int32_t longestNet = 0;
    for (const IncomeRecord& r : records) {
        longestName = std::max(longestName, static_cast<int32_t>(r.employer.size()));
        longestNet = std::max(longestNet, static_cast<int32_t>(FormatCents(r.netCents).size()));
    }
    c.labelChars = std::max<int32_t>(22, longestName);
    c.labelColumn = roundUpTo8(c.labelChars);
    c.amountColumn = roundUpTo8(longestNet);
    // Four tab stops at 0 are all passed at once, so the tab goes to the
    // next stop of the default grid.
    const int32_t stops[4] = {0, 0, 0, 0};
    c.referenceWidth = measure(ascii(kReferenceLabel) + QLWChar('\t'), 4, stops) & 0xFFFFu;
    return c;
}

Text LabelFill(const Text& label, const ResultColumns& c, const MeasureText& measure) {
    const uint32_t width = measure(label, 0, nullptr) & 0xFFFFu;
    // The label's width in characters, cut toward zero (no rounding).
    // Without a reference width the labels count as empty.
    int32_t x = 0;
    if (c.referenceWidth > 0) x = truncated(f32(int32_t(width)) / f32(int32_t(c.referenceWidth)) * f32(c.labelChars));
    x = std::max(x, 0);
    const int32_t x8 = x - x % 8;
    return x8 < c.labelColumn ? tabs((c.labelColumn - x8) / 8) : Text();
}

Text AmountFill(std::size_t n, const ResultColumns& c) {
    const auto column = static_cast<std::size_t>(c.amountColumn);
    return n <= column ? tabs(static_cast<int32_t>((column - n) / 8) + 1) : Text();
}

Text EmptyColumnFill(const ResultColumns& c) { return c.amountColumn >= 1 ? tabs(c.amountColumn / 8) : Text(); }

Text BuildResultsText(const std::vector<IncomeRecord>& records, const TaxFigures& f, const MeasureText& measure) {
    const ResultColumns c = MeasureColumns(records, measure);
    auto label = [&](const char* name) { return ascii(name) + LabelFill(ascii(name), c, measure); };
    auto twoColumns = [&](const Text& first, const Text& second) { return first + AmountFill(first.size(), c) + second; };
    const Text minus = ascii("-");
    const Text nl = ascii("\n");

    Text summary = nl;  // the blank line after the entries
    summary += label("Totals") + twoColumns(FormatCents(f.netTotal), FormatCents(f.projectedTotal)) + nl + nl;
    summary += label("SE Tax") + twoColumns(FormatCents(f.seTaxToDate), minus + FormatCents(f.annualSeTax / 2)) + nl;
    summary += label("STD Deduction") + EmptyColumnFill(c) + minus + FormatCents(f.standardDeduction) + nl + nl;
    summary += label("Taxable Income") + EmptyColumnFill(c) + FormatCents(f.taxableIncome) + nl + nl;
    summary += label("Income Tax") + twoColumns(FormatCents(f.incomeTaxToDate), FormatCents(f.tableTax)) + nl + nl;
    summary += label("Current Liability") +
               twoColumns(FormatCents(f.currentLiability), FormatCents(f.percent) + QLWChar('%')) + nl;
    summary += label(kReferenceLabel) + minus + FormatCents(f.withholdingTotal) + nl;
    summary += label("Prior SE Payments") + minus + FormatCents(f.priorPayments) + nl + nl;
    summary += label("Amount Due") + FormatDue(f.amountDue);

    // The entries' lines, as many as fit beside the summary.
    const std::size_t room = kResultsCapacity - 1;
    Text entries;
    std::size_t shown = 0;
    for (const IncomeRecord& r : records) {
        Text line = r.employer + LabelFill(r.employer, c, measure) +
                    twoColumns(FormatCents(r.netCents), FormatCents(r.projectedCents)) + nl;
        // keep room for the note about the lines left out
        const std::size_t note = shown + 1 < records.size() ? 32 : 0;
        if (entries.size() + line.size() + note + summary.size() > room) break;
        entries += line;
        ++shown;
    }
    if (shown < records.size())
        entries += ascii(("(" + std::to_string(records.size() - shown) + " more entries)\n").c_str());
    Text text = entries + summary;
    if (text.size() > room) text.resize(room);  // cannot happen: the summary is short
    return text;
}

}  // namespace ql::tax
