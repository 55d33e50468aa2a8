// The formatters with random values, decimals and capacities.  Buffers are
// exactly the capacity long (AddressSanitizer sees any overrun), and the
// text must be either whole or empty, terminated within the capacity.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "measure/fixed_digits.h"
#include "measure/measure.h"
#include "measure/number_text.h"

namespace {

template <class T>
T take(const uint8_t*& data, size_t& size) {
    T v{};
    const size_t n = size < sizeof v ? size : sizeof v;
    std::memcpy(&v, data, n);
    data += n;
    size -= n;
    return v;
}

template <class Ch>
void checkTerminated(const std::vector<Ch>& buffer) {
    for (Ch c : buffer)
        if (c == 0) return;
    if (!buffer.empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint64_t bits = take<uint64_t>(data, size);
    const int32_t decimals = take<int8_t>(data, size);
    const int32_t capacity = take<uint8_t>(data, size) % 80;
    const int32_t unit = take<uint8_t>(data, size) % 7;
    const int32_t thousandths = take<int32_t>(data, size);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    float f;
    const uint32_t fbits = static_cast<uint32_t>(bits);
    std::memcpy(&f, &fbits, sizeof f);

    std::vector<QLWChar> wide(static_cast<size_t>(capacity));
    ql::formatFloat(f, wide.data(), capacity, decimals);
    checkTerminated(wide);
    ql::formatMeasure(thousandths, wide.data(), capacity, unit, decimals);
    checkTerminated(wide);
    std::vector<char> narrow(static_cast<size_t>(capacity));
    ql::formatHex64(bits, narrow.data(), capacity);
    checkTerminated(narrow);

    // The conversion itself at any limit: digits never pass limit + 1.
    const int limit = capacity % (ql::kLargestDigitLimit + 1);
    std::vector<char> digits(static_cast<size_t>(limit) + 2);
    const ql::FixedDigits r = ql::fixedDigits(d, decimals, digits.data(), limit);
    if (r.count > limit + 1 || digits[static_cast<size_t>(r.count)] != 0) std::abort();
    return 0;
}
