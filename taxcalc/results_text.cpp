// The three-column results text.
#include "taxcalc/results_text.h"

#include <algorithm>
#include <string>

#include "taxcalc/amounts.h"

namespace ql::tax {
namespace {

constexpr const QLWChar* kReferenceLabel = QL_WIDE("Current W2 Withholding");

int32_t roundUpTo8(int32_t n) { return (n + 7) / 8 * 8; }

Text tabs(int32_t n) { return Text(static_cast<std::size_t>(std::max(n, 0)), QLWChar('\t')); }

// Column positions in characters.
struct Columns {
    int32_t labelChars = 22;      // longest label in characters, at least 22
    int32_t labelColumn = 24;     // labelChars rounded up to a multiple of 8
    int32_t amountColumn = 0;     // longest net amount, rounded up to a multiple of 8
    uint32_t referenceWidth = 0;  // width of "Current W2 Withholding\t"
};

Columns measureColumns(const CalculatorState& s, const MeasureText& measure) {
    Columns c;
    int32_t longestName = 0;
    int32_t longestNet = 0;
    for (const IncomeRecord& r : s.records) {
        longestName = std::max(longestName, static_cast<int32_t>(r.employer.size()));
        longestNet = std::max(longestNet, static_cast<int32_t>(formatCents(r.netCents).size()));
    }
    c.labelChars = std::max<int32_t>(22, longestName);
    c.labelColumn = roundUpTo8(c.labelChars);
    c.amountColumn = roundUpTo8(longestNet);
    // Four tab stops at 0 are all passed at once, so the tab goes to the
    // next stop of the default grid.
    const int32_t stops[4] = {0, 0, 0, 0};
    c.referenceWidth = measure(kReferenceLabel + Text(1, QLWChar('\t')), 4, stops) & 0xFFFFu;
    return c;
}

// The tabs after a label: its width in characters (cut toward zero, no
// rounding; never negative, widths being 16-bit) filled up to the label
// column.  Without a reference width the labels count as empty.
Text labelFill(const Text& label, const Columns& c, const MeasureText& measure) {
    const uint32_t width = measure(label, 0, nullptr) & 0xFFFFu;
    int32_t x = 0;
    if (c.referenceWidth > 0) x = truncated(f32(int32_t(width)) / f32(int32_t(c.referenceWidth)) * f32(c.labelChars));
    const int32_t x8 = x - x % 8;
    return x8 < c.labelColumn ? tabs((c.labelColumn - x8) / 8) : Text();
}

// The tabs after a first-column amount of n characters.
Text amountFill(std::size_t n, const Columns& c) {
    const auto column = static_cast<std::size_t>(c.amountColumn);
    return n <= column ? tabs(static_cast<int32_t>((column - n) / 8) + 1) : Text();
}

// The tabs in place of an empty first column.
Text emptyColumnFill(const Columns& c) { return c.amountColumn >= 1 ? tabs(c.amountColumn / 8) : Text(); }

}  // namespace

Text buildResultsText(const CalculatorState& s, const TaxFigures& f, const MeasureText& measure) {
    const Columns c = measureColumns(s, measure);
    auto label = [&](const Text& name) { return name + labelFill(name, c, measure); };
    auto twoColumns = [&](const Text& first, const Text& second) { return first + amountFill(first.size(), c) + second; };
    const Text minus = QL_WIDE("-");
    const Text nl = QL_WIDE("\n");

    Text summary = nl;  // the blank line after the entries
    summary += label(QL_WIDE("Totals")) + twoColumns(formatCents(f.netTotal), formatCents(f.projectedTotal)) + nl + nl;
    summary += label(QL_WIDE("SE Tax")) +
               twoColumns(formatCents(f.seTaxToDate), minus + formatCents(f.annualSeTax / 2)) + nl;
    summary += label(QL_WIDE("STD Deduction")) + emptyColumnFill(c) + minus + formatCents(s.standardDeductionCents) +
               nl + nl;
    summary += label(QL_WIDE("Taxable Income")) + emptyColumnFill(c) + formatCents(s.taxableIncomeCents) + nl + nl;
    summary += label(QL_WIDE("Income Tax")) + twoColumns(formatCents(f.incomeTaxToDate), formatCents(s.tableTaxCents)) +
               nl + nl;
    summary += label(QL_WIDE("Current Liability")) +
               twoColumns(formatCents(f.currentLiability), formatCents(f.percent) + QLWChar('%')) + nl;
    summary += label(kReferenceLabel) + minus + formatCents(f.withholdingTotal) + nl;
    summary += label(QL_WIDE("Prior SE Payments")) + minus + formatCents(s.priorPaymentsCents) + nl + nl;
    summary += label(QL_WIDE("Amount Due")) + formatDue(f.amountDue);

    // The entries' lines, as many as fit beside the summary, keeping room
    // for the note about the lines left out.
    const std::size_t room = kResultsCapacity - 1;
    Text entries;
    std::size_t shown = 0;
    for (const IncomeRecord& r : s.records) {
        const Text line = label(r.employer) + twoColumns(formatCents(r.netCents), formatCents(r.projectedCents)) + nl;
        const std::size_t note = shown + 1 < s.records.size() ? 32 : 0;
        if (entries.size() + line.size() + note + summary.size() > room) break;
        entries += line;
        ++shown;
    }
    if (shown < s.records.size()) {
        entries += QL_WIDE("(");
        for (char digit : std::to_string(s.records.size() - shown)) entries += QLWChar(digit);
        entries += QL_WIDE(" more entries)\n");
    }
    return entries + summary;
}

}  // namespace ql::tax
