// The fixed-point digit conversion and the leading-number reader against
// exact references.  The random rounds run a quick count by default; set
// QL_LONG_PROPERTY_TESTS=1 for a long run.
#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "measure/fixed_digits.h"
#include "measure/number_reader.h"
#include "measure_support.h"

namespace {

struct Expected {
    std::string digits;
    int point;
    int unroundedPoint;  // decimal position before rounding
};

// The exact decimal expansion from the C library's printf (every double has
// at most 1074 fraction digits), rounded by the rule: up when the first
// dropped digit is 5 or more.
bool referenceDigits(double v, int d, Expected& e) {
    static char text[1500];
#if defined(_WIN32)
    const int n = __mingw_snprintf(text, sizeof text, "%.1100f", std::fabs(v));
#else
    const int n = std::snprintf(text, sizeof text, "%.1100f", std::fabs(v));
#endif
    if (n <= 0 || n >= static_cast<int>(sizeof text)) return false;
    const char* point = std::strchr(text, '.');
    std::string whole(static_cast<const char*>(text), point), fraction(point + 1);
    std::string kept = whole + fraction.substr(0, static_cast<size_t>(d));
    const char dropped = fraction[static_cast<size_t>(d)];
    if (dropped >= '5') {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<size_t>(i)] == '9') kept[static_cast<size_t>(i--)] = '0';
        if (i >= 0) ++kept[static_cast<size_t>(i)];
        else kept.insert(kept.begin(), '1');
    }
    const size_t first = kept.find_first_not_of('0');
    const std::string all = whole + fraction;
    e.unroundedPoint = static_cast<int>(whole.size()) - static_cast<int>(all.find_first_not_of('0'));
    if (v == 0.0) {
        e.digits = std::string(static_cast<size_t>(d), '0');
        e.point = 0;
    } else if (first == std::string::npos) {  // rounds to zero: the value's own exponent
        e.digits.clear();
        e.point = e.unroundedPoint;
    } else {
        e.digits = kept.substr(first);
        e.point = static_cast<int>(e.digits.size()) - d;
    }
    return true;
}

void expectConversion(double v, int d, const char* digits, int point) {
    char out[ql::kFormatDigitLimit + 2];
    const ql::FixedDigits f = ql::fixedDigits(v, d, out, ql::kFormatDigitLimit);
    ASSERT_EQ(f.kind, ql::FixedKind::finite) << v;
    EXPECT_STREQ(out, digits) << v << " at " << d;
    EXPECT_EQ(f.point, point) << v << " at " << d;
    EXPECT_EQ(f.count, static_cast<int>(std::strlen(digits)));
}

TEST(FixedDigits, DecimalPositionAndSpecialCases) {
    expectConversion(1.5, 2, "150", 1);
    expectConversion(0.05, 2, "5", -1);
    expectConversion(0.0, 2, "00", 0);
    expectConversion(0.0, 0, "", 0);
    expectConversion(0.004, 2, "", -2);   // rounds to zero: own exponent
    expectConversion(0.0004, 2, "", -3);
    expectConversion(0.006, 2, "1", -1);  // rounds up to 0.01
    expectConversion(9.996, 2, "1000", 2);
    expectConversion(0.5, 0, "1", 1);
    expectConversion(2.5, 0, "3", 1);     // an exact tie goes away from zero
    expectConversion(0.125, 2, "13", 0);  // exact tie in the fraction
    expectConversion(1e-320, 2, "", -320);  // a subnormal just below 1e-320
    expectConversion(5e-324, 330, "4940656", -323);
    expectConversion(1e19, 10, "10000000000000000000" "0000000000", 20);
}

TEST(FixedDigits, SignAndValuesWithoutDigits) {
    char out[ql::kFormatDigitLimit + 2];
    EXPECT_TRUE(ql::fixedDigits(-0.0, 2, out, 30).negative);
    EXPECT_TRUE(ql::fixedDigits(-0.001, 2, out, 30).negative);
    EXPECT_FALSE(ql::fixedDigits(0.001, 2, out, 30).negative);
    EXPECT_EQ(ql::fixedDigits(NAN, 2, out, 30).kind, ql::FixedKind::notANumber);
    EXPECT_EQ(ql::fixedDigits(-INFINITY, 2, out, 30).kind, ql::FixedKind::infinite);
    // The 30-digit limit: point plus decimals.
    EXPECT_EQ(ql::fixedDigits(1e19, 10, out, 30).kind, ql::FixedKind::finite);
    EXPECT_EQ(ql::fixedDigits(1e19, 11, out, 30).kind, ql::FixedKind::tooLong);
    EXPECT_EQ(ql::fixedDigits(0.0, 31, out, 30).kind, ql::FixedKind::tooLong);
    EXPECT_EQ(ql::fixedDigits(1.0, 2000000000, out, 30).kind, ql::FixedKind::tooLong);
    // A negative count of decimals counts as 0.
    expectConversion(2.5, -4, "3", 1);
}

long propertyRounds(long quick, long slow) {
    const char* env = std::getenv("QL_LONG_PROPERTY_TESTS");
    return env && *env && *env != '0' ? slow : quick;
}

TEST(FixedDigits, MatchesTheExactExpansionForRandomDoubles) {
    std::mt19937_64 rng(20261205);
    const long rounds = propertyRounds(20000, 2000000);
    Expected e;
    char out[ql::kLargestDigitLimit + 2];
    for (long r = 0; r < rounds; ++r) {
        double v;
        switch (r % 4) {
        case 0: {  // any bit pattern
            uint64_t bits = rng();
            std::memcpy(&v, &bits, sizeof v);
            break;
        }
        case 1:  // measure-sized values
            v = std::ldexp(static_cast<double>(rng() >> 11), -53) * std::pow(10.0, static_cast<int>(rng() % 12) - 4);
            break;
        case 2:  // ties and near-ties of short decimals
            v = static_cast<double>(rng() % 2000000) / 8.0 / std::pow(10.0, static_cast<int>(rng() % 6));
            break;
        default:  // floats, as FormatFloat sees them
            v = static_cast<float>(std::ldexp(static_cast<double>(rng() >> 40), static_cast<int>(rng() % 80) - 60));
        }
        if (!std::isfinite(v)) continue;
        const int d = static_cast<int>(rng() % 25);
        const int limit = (r & 1) ? ql::kFormatDigitLimit : ql::kLargestDigitLimit;
        const ql::FixedDigits f = ql::fixedDigits(v, d, out, limit);
        ASSERT_TRUE(referenceDigits(v, d, e));
        const bool tooLong = v == 0.0 ? d > limit : e.unroundedPoint + d > limit;
        ASSERT_EQ(f.kind == ql::FixedKind::tooLong, tooLong) << v << " at " << d;
        if (tooLong) continue;
        ASSERT_EQ(f.kind, ql::FixedKind::finite);
        ASSERT_EQ(std::string(out), e.digits) << v << " at " << d;
        ASSERT_EQ(f.point, e.point) << v << " at " << d;
        ASSERT_EQ(f.negative, std::signbit(v));
    }
}

TEST(NumberReader, TakesTheLeadingNumberOnly) {
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("2 dia").c_str()), 2.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("25.4mm").c_str()), 25.4);
    EXPECT_EQ(ql::readLeadingNumber(" \t\n-3 in"), -3.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("+.5").c_str()), 0.5);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("5.").c_str()), 5.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("1e3x").c_str()), 1000.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("1e").c_str()), 1.0);      // no exponent digits: not taken
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("1E+x").c_str()), 1.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("2.5e-1").c_str()), 0.25);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("0x1A").c_str()), 0.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("abc").c_str()), 0.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w(".").c_str()), 0.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("-").c_str()), 0.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("").c_str()), 0.0);
    EXPECT_EQ(ql::readLeadingNumber(static_cast<const char*>(nullptr)), 0.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("1e999").c_str()), INFINITY);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("-1e999").c_str()), -INFINITY);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("1e-999").c_str()), 0.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("0e999").c_str()), 0.0);
    EXPECT_TRUE(std::signbit(ql::readLeadingNumber(measuretest::w("-0").c_str())));
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("4.9406564584124654e-324").c_str()), 4.9406564584124654e-324);
    EXPECT_EQ(ql::readLeadingNumber("12\xE9"), 12.0);  // a non-ASCII byte ends the number
    EXPECT_EQ(ql::readLeadingNumber(measuretest::WString{'1', '2', 0xB2}.c_str()), 12.0);
    const std::string longDigits = "0." + std::string(2000, '0') + "1";
    EXPECT_EQ(ql::readLeadingNumber(longDigits.c_str()), 0.0);
    EXPECT_EQ(ql::readLeadingNumber((std::string(400, '9') + "e-390").c_str()), 1e10);
}

// A locale with a decimal comma changes nothing: the reader and the
// digit conversion never ask the C runtime.
TEST(NumberReader, IgnoresTheLocale) {
    const char* names[] = {"de_DE.UTF-8", "de_DE", "German_Germany.1252", "German"};
    const char* chosen = nullptr;
    for (const char* name : names)
        if ((chosen = std::setlocale(LC_ALL, name))) break;
    if (!chosen) GTEST_SKIP() << "no locale with a decimal comma here";
    EXPECT_EQ(ql::readLeadingNumber("1.5"), 1.5);
    EXPECT_EQ(ql::readLeadingNumber("1,5"), 1.0);
    EXPECT_EQ(ql::readLeadingNumber(measuretest::w("2.25e1").c_str()), 22.5);
    char out[ql::kFormatDigitLimit + 2];
    const ql::FixedDigits f = ql::fixedDigits(0.125, 2, out, ql::kFormatDigitLimit);
    EXPECT_STREQ(out, "13");
    EXPECT_EQ(f.point, 0);
    std::setlocale(LC_ALL, "C");
}

// Round trips through the shortest text of random doubles: correct rounding
// gives back the very same double, also from UTF-16 text.
TEST(NumberReader, ReadsEveryDoubleBackExactly) {
    std::mt19937_64 rng(7);
    const long rounds = propertyRounds(20000, 2000000);
    for (long r = 0; r < rounds; ++r) {
        uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) continue;
        char text[64];
        std::snprintf(text, sizeof text, "%.17g", v);
        const measuretest::WString wide = measuretest::w(text);
        ASSERT_EQ(ql::readLeadingNumber(text), v) << text;
        ASSERT_EQ(ql::readLeadingNumber(wide.c_str()), v) << text;
    }
}

}  // namespace
