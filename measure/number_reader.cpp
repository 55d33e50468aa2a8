// The leading-number reader.  It matches the number itself and hands the
// matched ASCII characters to std::from_chars, which rounds correctly and
// never looks at the locale.
#include "measure/number_reader.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace ql {
namespace {

constexpr long kNoLimit = -1;

bool asciiSpace(unsigned c) { return c == 0x20 || (c >= 0x09 && c <= 0x0D); }

// The runtime's wide white space beyond ASCII: the units its _wtof skips
// and its iswspace accepts (both agree; docs/measure.md tells how they were
// found).
constexpr uint16_t kWideSpaces[] = {0x00A0, 0x1680, 0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005,
                                    0x2006, 0x2007, 0x2008, 0x2009, 0x200A, 0x2028, 0x2029, 0x202F,
                                    0x205F, 0x3000};

bool isExponentLetter(unsigned c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

template <class Ch>
bool isDigit(Ch c) {
    return c >= '0' && c <= '9';
}

// Where the matched number lies in the text, and what the range check needs.
struct Match {
    long begin = 0;       // first character after the sign
    long end = 0;         // one past the last character taken
    bool negative = false;
    bool hasDigits = false;
    long magnitude = 0;   // decimal exponent of the first non-zero digit, plus one
    bool nonZero = false;
};

template <class Ch>
Match match(const Ch* s, long limit) {
    auto at = [&](long i) -> unsigned { return (limit != kNoLimit && i >= limit) ? 0u : static_cast<unsigned>(s[i]); };
    Match m;
    long i = 0;
    while (at(i) && isWhiteSpace(static_cast<Ch>(at(i)))) ++i;
    if (at(i) == '+' || at(i) == '-') {
        m.negative = at(i) == '-';
        ++i;
    }
    m.begin = i;
    long intDigits = 0;
    long zerosBeforeFirst = 0;  // fraction zeros before the first non-zero digit
    bool seenNonZero = false;
    long nonZeroIntIndex = -1;
    for (; isDigit(at(i)); ++i, ++intDigits) {
        if (at(i) != '0' && !seenNonZero) {
            seenNonZero = true;
            nonZeroIntIndex = intDigits;
        }
    }
    m.hasDigits = intDigits > 0;
    if (at(i) == '.') {
        long j = i + 1;
        long fracDigits = 0;
        for (; isDigit(at(j)); ++j, ++fracDigits) {
            if (!seenNonZero) {
                if (at(j) != '0') seenNonZero = true;
                else ++zerosBeforeFirst;
            }
        }
        if (fracDigits > 0 || m.hasDigits) {
            m.hasDigits = m.hasDigits || fracDigits > 0;
            i = j;
        }
    }
    if (!m.hasDigits) return m;
    m.nonZero = seenNonZero;
    m.magnitude = nonZeroIntIndex >= 0 ? intDigits - nonZeroIntIndex : -zerosBeforeFirst;
    if (isExponentLetter(at(i))) {
        long j = i + 1;
        bool expNegative = false;
        if (at(j) == '+' || at(j) == '-') {
            expNegative = at(j) == '-';
            ++j;
        }
        if (isDigit(at(j))) {
            long exponent = 0;
            for (; isDigit(at(j)); ++j)
                if (exponent < 1000000) exponent = exponent * 10 + (at(j) - '0');
            m.magnitude += expNegative ? -exponent : exponent;
            i = j;
        }
    }
    m.end = i;
    return m;
}

template <class Ch>
double read(const Ch* s, long limit) {
    if (!s) return 0.0;
    const Match m = match(s, limit);
    if (!m.hasDigits) return 0.0;

    // The matched characters are ASCII; most numbers fit the stack buffer.
    const long length = m.end - m.begin;
    char small[96];
    std::string large;
    char* chars = small;
    if (length > static_cast<long>(sizeof small)) {
        large.resize(static_cast<size_t>(length));
        chars = &large[0];
    }
    for (long i = 0; i < length; ++i) {
        const unsigned c = static_cast<unsigned>(s[m.begin + i]);
        chars[i] = isExponentLetter(c) ? 'e' : static_cast<char>(c);  // "d" is the runtime's "e"
    }

    double value = 0.0;
    const auto result = std::from_chars(chars, chars + length, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond the doubles: an infinity when the number is large, zero
        // when it is small.
        value = (m.nonZero && m.magnitude > 0) ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return m.negative ? -value : value;
}

}  // namespace

bool isWhiteSpace(char c) { return asciiSpace(static_cast<unsigned char>(c)); }

bool isWhiteSpace(QLWChar c) {
    const unsigned u = static_cast<uint16_t>(c);
    if (u < 0x80) return asciiSpace(u);
    for (uint16_t space : kWideSpaces)
        if (u == space) return true;
    return false;
}

double readLeadingNumber(const QLWChar* text) { return read(text, kNoLimit); }
double readLeadingNumber(const char* text) { return read(text, kNoLimit); }
double readLeadingNumber(const QLWChar* text, long length) { return read(text, length < 0 ? 0 : length); }
double readLeadingNumber(const char* text, long length) { return read(text, length < 0 ? 0 : length); }

}  // namespace ql
