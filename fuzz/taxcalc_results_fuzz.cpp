// Fuzzes the calculator's money and results: any typed text reads as cents
// without undefined behaviour, cents survive the round trip through text,
// and any entries give a results text within its buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "taxcalc/amounts.h"
#include "taxcalc/results_text.h"

using namespace ql::tax;

namespace {

void checkAmounts(const uint8_t* data, size_t size) {
    textToCents(Text(data, data + size));  // UBSan watches the float to int conversions
    if (size < 4) return;
    int32_t cents;
    std::memcpy(&cents, data, 4);
    if (formatCents(cents).size() > 15) std::abort();
    cents &= 0x7FFFF;  // up to 5242.87: a float keeps every cent
    if (textToCents(formatCents(cents)) != cents) std::abort();
}

void checkResults(const uint8_t* data, size_t size) {
    CalculatorState s;
    while (size >= 6) {
        IncomeRecord r;
        std::memcpy(&r.netCents, data + 1, 4);
        r.projectedCents = r.withholdingCents = r.netCents;
        r.kind = data[5] & 3;
        r.monthsToDate = r.monthsInPeriod = 1 + data[5] % 12;
        const size_t nameLength = data[0] % 64;
        for (data += 6, size -= 6; r.employer.size() < nameLength && size > 0; ++data, --size) r.employer += *data;
        s.records.push_back(r);
    }
    const int32_t typed = s.records.empty() ? 0 : s.records[0].netCents;
    TaxFigures f;
    computeFigures(s, [&](ValuesMode) { s.ssThresholdCents = s.tableTaxCents = s.priorPaymentsCents = typed; return true; }, f);
    const Text text = buildResultsText(s, f, [](const Text& t, int32_t, const int32_t*) { return uint32_t(t.size() * 7); });
    if (text.size() > kResultsCapacity - 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (data[0] % 2 == 0) checkAmounts(data + 1, size - 1);
    else checkResults(data + 1, size - 1);
    return 0;
}
