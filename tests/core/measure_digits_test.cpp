// The fixed-point digit conversion against the exact decimal expansion, and
// the leading-number reader with the runtime's grammar.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <tuple>

#include "measure/fixed_digits.h"
#include "measure/number_reader.h"

namespace {

using K = ql::FixedKind;
using Digits = std::tuple<K, std::string, int>;  // kind, digits, point

Digits convert(double v, int d, int limit) {
    char out[ql::kLargestDigitLimit + 2];
    const ql::FixedDigits f = ql::fixedDigits(v, d, out, limit);
    return {f.kind, std::string(out, static_cast<size_t>(f.count)), f.point};
}

// The exact expansion from printf (every double has at most 1074 fraction
// digits), rounded up when the first dropped digit is 5 or more.
Digits reference(double v, int d, int limit) {
    static char text[1500];
    std::snprintf(text, sizeof text, "%.1100f", std::fabs(v));
    const std::string whole(text, std::strchr(text, '.')), fraction(whole.size() + 1 + text);
    const int unrounded = static_cast<int>(whole.size()) - static_cast<int>((whole + fraction).find_first_not_of('0'));
    if (v == 0.0) return d > limit ? Digits{K::tooLong, "", 0} : Digits{K::finite, std::string(d, '0'), 0};
    if (unrounded + d > limit) return {K::tooLong, "", 0};
    std::string kept = "0" + whole + fraction.substr(0, static_cast<size_t>(d));  // room for a carry
    if (fraction[static_cast<size_t>(d)] >= '5') {
        size_t i = kept.size() - 1;
        while (kept[i] == '9') kept[i--] = '0';
        ++kept[i];
    }
    const size_t first = kept.find_first_not_of('0');
    if (first == std::string::npos) return {K::finite, "", unrounded};
    return {K::finite, kept.substr(first), static_cast<int>(kept.size() - first) - d};
}

TEST(FixedDigits, TableAndRandomDoublesAgainstTheExactExpansion) {
    const struct { double v; int d, limit; Digits want; } cases[] = {
        {0.004, 2, 30, {K::finite, "", -2}}, {0.0004, 2, 30, {K::finite, "", -3}}, {9.996, 2, 30, {K::finite, "1000", 2}},
        {0.0, 2, 30, {K::finite, "00", 0}}, {2.5, -4, 30, {K::finite, "3", 1}}, {1e19, 11, 30, {K::tooLong, "", 0}},
        {5e-324, 330, 340, {K::finite, "4940656", -323}}, {0.0, 31, 30, {K::tooLong, "", 0}}, {1.0, 2000000000, 30, {K::tooLong, "", 0}},
        {NAN, 2, 30, {K::notANumber, "", 0}}, {-INFINITY, 2, 30, {K::infinite, "", 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(convert(c.v, c.d, c.limit), c.want) << "row " << c.v << " at " << c.d;
    // Random doubles against the exact expansion; the round-trip text of each
    // reads back as the very same double (the reader rounds correctly).
    std::mt19937_64 rng(20261205);
    for (long r = 0; r < 20000; ++r) {
        const uint64_t bits = rng();
        double v;  // any bit pattern, a mantissa times a power of ten, few decimals, a float
        std::memcpy(&v, &bits, sizeof v);
        if (r % 4 == 1) v = std::ldexp(static_cast<double>(bits >> 11), -53) * std::pow(10.0, static_cast<int>(rng() % 24) - 4);
        if (r % 4 == 2) v = static_cast<double>(bits % 2000000) / 8.0 / std::pow(10.0, static_cast<int>(rng() % 6));
        if (r % 4 == 3) v = static_cast<float>(std::ldexp(static_cast<double>(bits >> 40), static_cast<int>(rng() % 80) - 60));
        const int d = static_cast<int>(rng() % 25), limit = (r & 1) ? 30 : ql::kLargestDigitLimit;
        char out[ql::kLargestDigitLimit + 2];
        if (!std::isfinite(v)) continue;
        ASSERT_EQ(convert(v, d, limit), reference(v, d, limit)) << std::hexfloat << v << " at " << d << " limit " << limit;
        std::snprintf(out, sizeof out, "%.17g", v);
        ASSERT_EQ(ql::readLeadingNumber(out), v) << out;
    }
}

// UTF-16 and, where the text is ASCII, 8-bit text read alike.
TEST(NumberReader, TheRuntimeGrammar) {
    const struct { std::u16string text; double want; } cases[] = {
        {u"2 dia", 2}, {u"\v\f\r3", 3}, {u"25.4mm", 25.4}, {u" \t\n-3 in", -3}, {u"+.5", 0.5}, {u"5.", 5}, {u"1e3x", 1000}, {u"1e", 1}, {u"1E+x", 1},
        {u"2.5e-1", 0.25}, {u"0x1A", 0}, {u"abc", 0}, {u".", 0}, {u"-", 0}, {u"", 0}, {u"- 3", 0}, {u"1d2", 100}, {u"1D-1", 0.1}, {u"2.5d1", 25},
        {u"1dia", 1}, {u"1d+2", 100}, {u"1,5", 1}, {u"12\u00B2", 12}, {u"1e999", INFINITY}, {u"-1e999", -INFINITY}, {u"1e-999", 0}, {u"0e999", 0},
        {u"\u3000-2", -2}, {u"-\u30002", 0}, {u"\u00A03", 3}, {u"\u16803", 3}, {u"\u20003", 3}, {u"\u200A3", 3}, {u"\u20283", 3}, {u"\u20293", 3},
        {u"\u202F3", 3}, {u"\u205F3", 3}, {u"\u00853", 0}, {u"\u200B3", 0}, {u"\u180E3", 0}, {u"\uFEFF3", 0}, {u"\uFF13", 0},
        {u"4.9406564584124654e-324", 4.9406564584124654e-324}, {std::u16string(400, u'9') + u"e-390", 1e10},
        {u"0." + std::u16string(2000, u'0') + u"1", 0},
    };
    for (const auto& c : cases) {
        const std::string narrow(c.text.begin(), c.text.end());  // for ASCII rows the 8-bit text
        const double ascii = std::u16string(narrow.begin(), narrow.end()) == c.text ? ql::readLeadingNumber(narrow.c_str()) : c.want;
        EXPECT_EQ(std::make_tuple(ql::readLeadingNumber(c.text.c_str()), ql::readLeadingNumber(c.text.c_str(), static_cast<long>(c.text.size())), ascii),
                  std::make_tuple(c.want, c.want, c.want)) << "row " << narrow << " (UTF-16, bounded, 8-bit)";
    }
    // 8-bit white space is the "C" locale's: no-break space 0xA0 is not.
    EXPECT_TRUE(ql::readLeadingNumber("\xA0" "3") == 0.0 && std::signbit(ql::readLeadingNumber(u"-0")) && ql::readLeadingNumber(static_cast<char*>(nullptr)) == 0);
    // A bound ends the number as a terminator would.
    EXPECT_TRUE(ql::readLeadingNumber(u"12345", 3) == 123.0 && ql::readLeadingNumber("1e25", 3) == 100.0);
}

}  // namespace
