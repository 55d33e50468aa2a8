// The fixed-point digit conversion: exact decimal digits of a double.
//
// q = floor(|v| * 10^(decimals+1)) holds every kept digit plus the first
// dropped one; the kept digits are rounded up when that dropped digit is 5
// or more.  Most values of real use (|v| below 2^64, up to 18 decimals) take
// the 128-bit path; the rest go through a small fixed-size big integer.
#include "measure/fixed_digits.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace ql {
namespace {

using u128 = unsigned __int128;

constexpr uint64_t kPow10[20] = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull,
    100000000ull, 1000000000ull, 10000000000ull, 100000000000ull, 1000000000000ull,
    10000000000000ull, 100000000000000ull, 1000000000000000ull, 10000000000000000ull,
    100000000000000000ull, 1000000000000000000ull, 10000000000000000000ull};

// An unsigned integer of up to 3072 bits, enough for m * 10^686 (the
// largest product the conversion forms) and for 2^1074.
class BigInt {
public:
    explicit BigInt(uint64_t v) {
        limb_[0] = static_cast<uint32_t>(v);
        limb_[1] = static_cast<uint32_t>(v >> 32);
        size_ = limb_[1] ? 2 : (limb_[0] ? 1 : 0);
    }

    void mulSmall(uint32_t f) {
        uint64_t carry = 0;
        for (int i = 0; i < size_; ++i) {
            uint64_t t = uint64_t{limb_[i]} * f + carry;
            limb_[i] = static_cast<uint32_t>(t);
            carry = t >> 32;
        }
        if (carry) limb_[size_++] = static_cast<uint32_t>(carry);
    }

    void mulPow10(int n) {
        for (; n >= 9; n -= 9) mulSmall(1000000000u);
        if (n > 0) mulSmall(static_cast<uint32_t>(kPow10[n]));
    }

    void shiftLeft(int bits) {
        if (size_ == 0 || bits == 0) return;
        const int words = bits / 32, rest = bits % 32;
        int newSize = size_ + words + 1;
        for (int i = newSize - 1; i >= words; --i) {
            const int src = i - words;
            uint64_t hi = src < size_ ? limb_[src] : 0;
            uint64_t lo = (rest && src - 1 >= 0 && src - 1 < size_) ? limb_[src - 1] : 0;
            limb_[i] = static_cast<uint32_t>(rest ? (hi << rest) | (lo >> (32 - rest)) : hi);
        }
        for (int i = 0; i < words; ++i) limb_[i] = 0;
        size_ = newSize;
        trim();
    }

    void shiftRight(int bits) {
        const int words = bits / 32, rest = bits % 32;
        if (words >= size_) {
            size_ = 0;
            return;
        }
        const int newSize = size_ - words;
        for (int i = 0; i < newSize; ++i) {
            uint64_t lo = limb_[i + words];
            uint64_t hi = (i + words + 1 < size_) ? limb_[i + words + 1] : 0;
            limb_[i] = static_cast<uint32_t>(rest ? (lo >> rest) | (hi << (32 - rest)) : lo);
        }
        size_ = newSize;
        trim();
    }

    // Divides in place and returns the remainder.
    uint32_t divSmall(uint32_t d) {
        uint64_t rem = 0;
        for (int i = size_ - 1; i >= 0; --i) {
            uint64_t t = (rem << 32) | limb_[i];
            limb_[i] = static_cast<uint32_t>(t / d);
            rem = t % d;
        }
        trim();
        return static_cast<uint32_t>(rem);
    }

    bool isZero() const { return size_ == 0; }

    friend int compare(const BigInt& a, const BigInt& b) {
        if (a.size_ != b.size_) return a.size_ < b.size_ ? -1 : 1;
        for (int i = a.size_ - 1; i >= 0; --i)
            if (a.limb_[i] != b.limb_[i]) return a.limb_[i] < b.limb_[i] ? -1 : 1;
        return 0;
    }

private:
    void trim() {
        while (size_ > 0 && limb_[size_ - 1] == 0) --size_;
    }
    static constexpr int kLimbs = 96;
    uint32_t limb_[kLimbs + 1] = {};
    int size_ = 0;
};

// |v| = m * 2^e with m an integer below 2^53.
struct Binary {
    uint64_t m;
    int e;
};

Binary decompose(double a) {
    uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    uint64_t m = bits & ((uint64_t{1} << 52) - 1);
    if (biased == 0) return {m, -1074};
    return {m | (uint64_t{1} << 52), biased - 1075};
}

int bitLength(uint64_t m) { return 64 - __builtin_clzll(m); }

// floor(log10(2^b)) for |b| below 1700, rounding toward minus infinity.
int floorLog10Pow2(int b) { return (b * 78913) >> 18; }

// Sign of m * 2^e - 10^j, exactly.
int compareWithPow10(Binary x, int j) {
    BigInt left(x.m), right(1);
    if (x.e >= 0) left.shiftLeft(x.e); else right.shiftLeft(-x.e);
    if (j >= 0) right.mulPow10(j); else left.mulPow10(-j);
    return compare(left, right);
}

// The exact decimal exponent k of a non-zero value: 10^k <= |v| < 10^(k+1).
int decimalExponent(Binary x) {
    // 2^b <= |v| < 2^(b+1) puts k at floorLog10Pow2(b) or one above.
    const int estimate = floorLog10Pow2(x.e + bitLength(x.m) - 1);
    return compareWithPow10(x, estimate + 1) >= 0 ? estimate + 1 : estimate;
}

// Decimal text of q, most significant digit first, no leading zeros ("" for
// 0).  Returns the length.
int writeU64(uint64_t q, char* out) {
    char tmp[24];
    int n = 0;
    while (q) {
        tmp[n++] = static_cast<char>('0' + q % 10);
        q /= 10;
    }
    for (int i = 0; i < n; ++i) out[i] = tmp[n - 1 - i];
    return n;
}

int writeU128(u128 q, char* out) {
    if (q >> 64 == 0) return writeU64(static_cast<uint64_t>(q), out);
    const uint64_t lowPart = static_cast<uint64_t>(q % kPow10[19]);
    const int n = writeU128(q / kPow10[19], out);
    // The low part always has 19 digits, leading zeros included.
    uint64_t v = lowPart;
    for (int i = 18; i >= 0; --i) {
        out[n + i] = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    return n + 19;
}

int writeBig(BigInt q, char* out) {
    uint32_t chunks[80];
    int count = 0;
    while (!q.isZero()) chunks[count++] = q.divSmall(1000000000u);
    if (count == 0) return 0;
    int n = writeU64(chunks[count - 1], out);
    for (int c = count - 2; c >= 0; --c) {
        uint32_t v = chunks[c];
        for (int i = 8; i >= 0; --i) {
            out[n + i] = static_cast<char>('0' + v % 10);
            v /= 10;
        }
        n += 9;
    }
    return n;
}

// The text of q = floor(|v| * 10^scale).
int scaledDigits(Binary x, int scale, char* out) {
    if (scale <= 19 && (x.e < 0 || x.e <= 11)) {
        u128 q;
        if (x.e >= 0) {
            q = u128{x.m << x.e} * kPow10[scale];
        } else {
            // m * 10^scale < 2^117: any shift of 117 or more leaves 0.
            const u128 product = u128{x.m} * kPow10[scale];
            q = -x.e >= 128 ? 0 : product >> -x.e;
        }
        return writeU128(q, out);
    }
    BigInt q(x.m);
    if (x.e >= 0) {
        q.shiftLeft(x.e);
        q.mulPow10(scale);
    } else {
        q.mulPow10(scale);
        q.shiftRight(-x.e);
    }
    return writeBig(q, out);
}

}  // namespace

FixedDigits fixedDigits(double value, int decimals, char* digits, int limit) {
    FixedDigits r;
    r.negative = std::signbit(value);
    digits[0] = '\0';
    if (std::isnan(value)) {
        r.kind = FixedKind::notANumber;
        return r;
    }
    if (std::isinf(value)) {
        r.kind = FixedKind::infinite;
        return r;
    }
    if (decimals < 0) decimals = 0;
    if (limit < 0) limit = 0;
    if (limit > kLargestDigitLimit) limit = kLargestDigitLimit;

    const double magnitude = std::fabs(value);
    if (magnitude == 0.0) {
        if (decimals > limit) {
            r.kind = FixedKind::tooLong;
            return r;
        }
        std::memset(digits, '0', static_cast<size_t>(decimals));
        digits[decimals] = '\0';
        r.count = decimals;
        return r;
    }

    const Binary x = decompose(magnitude);
    // The decimal position before rounding is k + 1, with k the estimate or
    // one above it; a value whose position is certainly too far out is
    // refused before any big arithmetic (this also bounds huge decimals).
    const int estimate = floorLog10Pow2(x.e + bitLength(x.m) - 1);
    if (estimate + 1 + static_cast<long long>(decimals) > limit) {
        r.kind = FixedKind::tooLong;
        return r;
    }

    // q = kept digits followed by the first dropped digit.
    char q[kLargestDigitLimit + 8];
    const int qLength = scaledDigits(x, decimals + 1, q);
    if (qLength - 1 > limit) {  // kept digits = point + decimals
        r.kind = FixedKind::tooLong;
        return r;
    }

    int kept = qLength > 0 ? qLength - 1 : 0;
    std::memcpy(digits, q, static_cast<size_t>(kept));
    if (qLength > 0 && q[qLength - 1] >= '5') {
        int i = kept - 1;
        while (i >= 0 && digits[i] == '9') digits[i--] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {  // all nines (or nothing kept): a new leading 1
            std::memmove(digits + 1, digits, static_cast<size_t>(kept));
            digits[0] = '1';
            ++kept;
        }
    }
    digits[kept] = '\0';
    r.count = kept;
    r.point = kept > 0 ? kept - decimals : decimalExponent(x) + 1;
    return r;
}

}  // namespace ql
