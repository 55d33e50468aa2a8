// Reading a decimal number at the start of a UTF-16 text.
//
// The characters that form the number are matched here and copied as
// ASCII; std::from_chars then converts them, correctly rounded and without
// looking at the locale.
#include "taxcalc/decimal_reader.h"

#include <charconv>
#include <limits>
#include <string>

namespace ql::tax {
namespace {

bool isSpace(QLWChar c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(QLWChar c) { return c >= '0' && c <= '9'; }

// Appends the digits starting at p to out; returns how many there were.
int takeDigits(const QLWChar*& p, std::string& out) {
    int n = 0;
    for (; isDigit(*p); ++p, ++n) out.push_back(static_cast<char>(*p));
    return n;
}

// The decimal exponent of the number's leading digit, roughly: enough to
// tell an overflow from an underflow when from_chars reports the range.
bool isOverflow(const std::string& number) {
    std::size_t e = number.find_first_of("eE");
    std::string mantissa = number.substr(0, e);
    long exponent = 0;
    if (e != std::string::npos) {
        // clamp: only the sign and rough size matter
        const char* q = number.c_str() + e + 1;
        bool neg = *q == '-';
        if (*q == '+' || *q == '-') ++q;
        for (; *q; ++q) exponent = exponent < 100000 ? exponent * 10 + (*q - '0') : exponent;
        if (neg) exponent = -exponent;
    }
    std::size_t point = mantissa.find('.');
    std::string whole = mantissa.substr(0, point);
    std::size_t firstNonZero = whole.find_first_not_of('0');
    long lead = firstNonZero == std::string::npos ? 0 : static_cast<long>(whole.size() - firstNonZero);
    if (lead == 0 && point != std::string::npos) {
        std::string frac = mantissa.substr(point + 1);
        std::size_t nz = frac.find_first_not_of('0');
        lead = nz == std::string::npos ? -100000 : -static_cast<long>(nz);
    }
    return lead + exponent > 0;
}

}  // namespace

double ReadDecimal(const QLWChar* text) {
    if (!text) return 0.0;
    const QLWChar* p = text;
    while (isSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';

    std::string number;
    int digits = takeDigits(p, number);
    if (*p == '.') {
        number.push_back('.');
        ++p;
        digits += takeDigits(p, number);
    }
    if (digits == 0) return 0.0;
    // An exponent counts only when at least one digit follows it.
    if (*p == 'e' || *p == 'E') {
        const QLWChar* q = p + 1;
        std::string exponent = "e";
        if (*q == '+' || *q == '-') exponent.push_back(static_cast<char>(*q++));
        if (takeDigits(q, exponent) > 0) number += exponent;
    }

    double value = 0.0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        value = isOverflow(number) ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

}  // namespace ql::tax
