// Money arithmetic of the calculator.
#include "taxcalc/amounts.h"

#include <cmath>
#include <limits>

#include "measure/number_reader.h"

namespace ql::tax {

int32_t truncated(float v) {
    // -2^31 is exact in float; 2^31 is the first value beyond the range.
    if (!(v >= -2147483648.0f && v < 2147483648.0f)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

int32_t textToCents(const QLWChar* text) {
    double d = readLeadingNumber(text);
    // Narrowing a double beyond the float range gives the signed infinity.
    float f = std::fabs(d) > std::numeric_limits<float>::max()
                  ? (d < 0 ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity())
                  : static_cast<float>(d);
    return rounded(f * kHundred);
}

namespace {

Text decimal(int64_t v) {
    Text digits;
    do {
        digits.insert(digits.begin(), static_cast<QLWChar>('0' + v % 10));
        v /= 10;
    } while (v > 0);
    return digits;
}

Text formatMagnitude(int64_t magnitude) {
    int64_t whole = magnitude / 100;
    int64_t rest = magnitude - whole * 100;
    Text t = decimal(whole);
    t.push_back('.');
    if (rest < 10) t.push_back('0');
    t += decimal(rest);
    return t;
}

}  // namespace

Text formatCents(int32_t cents) {
    int64_t v = cents;
    if (v >= 0) return formatMagnitude(v);
    return QL_WIDE("-") + formatMagnitude(-v);
}

Text formatDue(int32_t cents) { return cents < 0 ? Text(QL_WIDE("0.00")) : formatCents(cents); }

int32_t projectCents(int32_t netCents, int32_t monthsToDate, int32_t monthsInPeriod) {
    return rounded(f32(netCents) / f32(monthsToDate) * f32(monthsInPeriod));
}

}  // namespace ql::tax
