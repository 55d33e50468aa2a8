// The fixed-point digit conversion: exact decimal digits of a double.
//
// q = floor(|v| * 10^(decimals+1)) holds every kept digit plus the first
// dropped one; the kept digits are rounded up when that dropped digit is 5
// or more.  Most values of real use (|v| below 2^64, up to 18 decimals) take
// a 128-bit path built from 64-bit halves; the rest go through a small
// fixed-size big integer.
#include "measure/fixed_digits.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace ql {
namespace {

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

// Number of significant bits, by halving steps.
int bitLength(uint64_t m) {
    int n = 0;
    for (int step = 32; step > 0; step /= 2) {
        if (m >> step) {
            m >>= step;
            n += step;
        }
    }
    return n + (m != 0);
}

// An unsigned 128-bit number as two 64-bit halves.
struct Wide {
    uint64_t hi, lo;
};

// The full product of two 64-bit numbers, from four 32-bit partial products.
Wide multiply(uint64_t a, uint64_t b) {
    const uint64_t aLo = a & 0xFFFFFFFFu, aHi = a >> 32, bLo = b & 0xFFFFFFFFu, bHi = b >> 32;
    const uint64_t ll = aLo * bLo, lh = aLo * bHi, hl = aHi * bLo, hh = aHi * bHi;
    const uint64_t mid = (ll >> 32) + (lh & 0xFFFFFFFFu) + (hl & 0xFFFFFFFFu);
    return {hh + (lh >> 32) + (hl >> 32) + (mid >> 32), (mid << 32) | (ll & 0xFFFFFFFFu)};
}

Wide shiftRight(Wide v, int n) {
    if (n >= 128) return {0, 0};
    if (n >= 64) return {0, v.hi >> (n - 64)};
    if (n == 0) return v;
    return {v.hi >> n, (v.lo >> n) | (v.hi << (64 - n))};
}

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

// Nine-digit chunks of a 128-bit number, least significant first.
int chunksOf(Wide q, uint32_t* chunks) {
    uint32_t limb[4] = {static_cast<uint32_t>(q.hi >> 32), static_cast<uint32_t>(q.hi),
                        static_cast<uint32_t>(q.lo >> 32), static_cast<uint32_t>(q.lo)};
    int count = 0;
    while (limb[0] | limb[1] | limb[2] | limb[3]) {
        uint64_t rem = 0;
        for (uint32_t& l : limb) {
            const uint64_t t = (rem << 32) | l;
            l = static_cast<uint32_t>(t / 1000000000u);
            rem = t % 1000000000u;
        }
        chunks[count++] = static_cast<uint32_t>(rem);
    }
    return count;
}

// Decimal text of nine-digit chunks, least significant first.
int writeChunks(const uint32_t* chunks, int count, char* out) {
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

int writeBig(BigInt q, char* out) {
    uint32_t chunks[80];
    int count = 0;
    while (!q.isZero()) chunks[count++] = q.divSmall(1000000000u);
    return writeChunks(chunks, count, out);
}

// The text of q = floor(|v| * 10^scale).
int scaledDigits(Binary x, int scale, char* out) {
    if (scale <= 19 && (x.e < 0 || x.e <= 11)) {
        // m * 10^scale < 2^117, and (m << e) * 10^scale < 2^128.
        const Wide q = x.e >= 0 ? multiply(x.m << x.e, kPow10[scale])
                                : shiftRight(multiply(x.m, kPow10[scale]), -x.e);
        if (q.hi == 0) return writeU64(q.lo, out);
        uint32_t chunks[5];
        return writeChunks(chunks, chunksOf(q, chunks), out);
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
