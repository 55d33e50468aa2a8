// Fuzzes the number reader the calculator uses against the C library's strtod
// (in the "C" locale), the cents round trip, and the results text with
// arbitrary entries.
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "measure/number_reader.h"
#include "taxcalc/amounts.h"
#include "taxcalc/results_text.h"

using namespace ql::tax;

namespace {

void checkReader(const uint8_t* data, size_t size) {
    std::string ascii(reinterpret_cast<const char*>(data), size);
    Text text;
    for (char c : ascii) {
        // strtod also reads hexadecimal, infinities and NaN; this reader does not.
        if (std::strchr("xXiInNpP", c) || c == '\0') return;
        text.push_back(static_cast<QLWChar>(static_cast<unsigned char>(c)));
    }
    const double got = ql::readLeadingNumber(text.c_str());
    const double want = std::strtod(ascii.c_str(), nullptr);
    if (!(got == want || (got != got && want != want))) std::abort();
    TextToCents(text);
}

void checkRoundTrip(const uint8_t* data, size_t size) {
    if (size < 4) return;
    int32_t cents;
    std::memcpy(&cents, data, 4);
    const Text t = FormatCents(cents);
    if (t.size() > 15) std::abort();
    cents &= 0x7FFFF;  // up to 5242.87: float keeps every cent
    if (TextToCents(FormatCents(cents)) != cents) std::abort();
}

void checkResults(const uint8_t* data, size_t size) {
    std::vector<IncomeRecord> records;
    while (size >= 6) {
        IncomeRecord r;
        const size_t nameLength = data[0] % 64;
        int32_t net;
        std::memcpy(&net, data + 1, 4);
        r.netCents = r.projectedCents = net;
        r.kind = data[5] & 3;
        r.monthsToDate = r.monthsInPeriod = 1 + data[5] % 12;
        data += 6;
        size -= 6;
        for (size_t i = 0; i < nameLength && size > 0; ++i, ++data, --size) r.employer.push_back(*data);
        if (r.employer.empty()) r.employer.push_back('x');
        records.push_back(r);
    }
    TaxFigures f;
    f.ssThreshold = 17610000;
    f.standardDeduction = 1500000;
    f.tableTax = records.empty() ? 0 : records[0].netCents;
    ProjectYear(records, f);
    ComputeToDate(records, f);
    Summarise(records, f);
    const Text text = BuildResultsText(records, f, [](const Text& t, int32_t, const int32_t*) {
        return static_cast<uint32_t>(t.size() * 7) & 0xFFFFu;
    });
    if (text.size() > kResultsCapacity - 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool cLocale = std::setlocale(LC_ALL, "C") != nullptr;
    (void)cLocale;
    if (size == 0) return 0;
    switch (data[0] % 3) {
    case 0: checkReader(data + 1, size - 1); break;
    case 1: checkRoundTrip(data + 1, size - 1); break;
    default: checkResults(data + 1, size - 1); break;
    }
    return 0;
}
