// Finding the line feed that ends a line while copying the line out: one
// pass over the bytes instead of a search followed by a copy.  With SSE2
// (every x86-64 build) sixteen bytes are compared and stored at a time;
// elsewhere memchr finds the line feed and memcpy copies.
#ifndef QL_DATAFILE_LINE_SCAN_H
#define QL_DATAFILE_LINE_SCAN_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ql {

// Copies n bytes (n below 16) without a library call: two overlapping
// fixed-size moves cover every length.
inline void copySmall(uint8_t* to, const uint8_t* from, size_t n) {
    if (n >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + n - 4, from + n - 4, 4);
    } else if (n >= 2) {
        std::memcpy(to, from, 2);
        std::memcpy(to + n - 2, from + n - 2, 2);
    } else if (n == 1) {
        *to = *from;
    }
}

// Copies the bytes of from[0..k) that come before the first line feed to
// to[0..), and returns the line feed's index, or k when there is none.
// Nothing at or after the line feed is written, and nothing beyond k is
// read.
inline size_t copyUntilLineFeed(uint8_t* to, const uint8_t* from, size_t k) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi8('\n');
    for (; i + 16 <= k; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lineFeed)));
        if (mask != 0) {
            const size_t at = i + static_cast<size_t>(__builtin_ctz(mask));
            copySmall(to + i, from + i, at - i);
            return at;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), v);
    }
#endif
    const void* hit = std::memchr(from + i, '\n', k - i);
    const size_t at = hit ? static_cast<size_t>(static_cast<const uint8_t*>(hit) - from) : k;
    std::memcpy(to + i, from + i, at - i);
    return at;
}

}  // namespace ql

#endif
