// The results text on any entries: six bytes each (name length, net cents, kind and months), then the
// name's bytes.  The text stays within its buffer, whatever the names and amounts.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "taxcalc/results_text.h"

using namespace ql::tax;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CalculatorState s;
    while (size >= 6) {
        IncomeRecord r;
        std::memcpy(&r.netCents, data + 1, 4);
        r.projectedCents = r.withholdingCents = r.netCents;
        r.kind = data[5] & 3;
        r.monthsToDate = r.monthsInPeriod = 1 + data[5] % 12;
        const size_t taken = 6 + std::min<size_t>(data[0] % 64, size - 6);
        r.employer.assign(data + 6, data + taken);
        data += taken;
        size -= taken;
        s.records.push_back(r);
    }
    const int32_t typed = s.records.empty() ? 0 : s.records[0].netCents;
    const auto ask = [&](ValuesMode) {
        s.ssThresholdCents = s.tableTaxCents = s.priorPaymentsCents = typed;
        return true;
    };
    TaxFigures f;
    computeFigures(s, ask, f);
    const auto measure = [](const Text& t, int32_t, const int32_t*) { return 7 * static_cast<uint32_t>(t.size()); };
    if (buildResultsText(s, f, measure).size() >= kResultsCapacity) std::abort();
    return 0;
}
