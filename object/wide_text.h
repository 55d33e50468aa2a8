// Small UTF-16 text helpers shared by every subsystem: the literal macro,
// lengths, bounded copies and the UTF-8 conversions the native back ends
// use for paths and profile files.
//
// The bounded helpers keep one rule: a text that does not fit its bound
// leaves the empty string behind, never a partial text, and nothing is
// written at or past the bound.
#ifndef QL_OBJECT_WIDE_TEXT_H
#define QL_OBJECT_WIDE_TEXT_H

#include <cstddef>
#include <string>

#include "qlcommon.h"

// A UTF-16 literal of the build's QLWChar type.
#ifdef _WIN32
#define QL_WIDE(s) L##s
#else
#define QL_WIDE(s) u##s
#endif

namespace ql {

// Length of a zero-terminated text.
inline size_t textLength(const QLWChar* text) {
    size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

// Length of a zero-terminated text, or `limit` when no terminator comes
// within the first `limit` units (so a reader never runs past `limit`).
inline size_t textLength(const QLWChar* text, size_t limit) {
    size_t n = 0;
    while (n < limit && text[n] != 0) ++n;
    return n;
}

// Copies `count` units of `source` and a terminator into `dest`, whose
// bound (terminator included) is `bound`.  When they do not fit, `dest`
// becomes empty (if it can hold a terminator at all) and false comes back.
inline bool copyCounted(QLWChar* dest, size_t bound, const QLWChar* source, size_t count) {
    if (bound == 0) return false;
    if (count >= bound) {
        dest[0] = 0;
        return false;
    }
    for (size_t i = 0; i < count; ++i) dest[i] = source[i];
    dest[count] = 0;
    return true;
}

// Bounded copy of a zero-terminated text.
inline bool copyBounded(QLWChar* dest, size_t bound, const QLWChar* source) {
    return copyCounted(dest, bound, source, textLength(source, bound));
}

// Bounded concatenation: appends `tail` to the text in `dest`.  The text
// already there must be terminated within `bound`; otherwise, or when the
// result does not fit, `dest` becomes empty and false comes back.
inline bool appendBounded(QLWChar* dest, size_t bound, const QLWChar* tail) {
    if (bound == 0) return false;
    const size_t have = textLength(dest, bound);
    const size_t add = textLength(tail, bound);
    if (have >= bound || have + add >= bound) {
        dest[0] = 0;
        return false;
    }
    for (size_t i = 0; i < add; ++i) dest[have + i] = tail[i];
    dest[have + add] = 0;
    return true;
}

// UTF-16 (unpaired surrogates become U+FFFD, so every text has a UTF-8
// form) to UTF-8, for the native code that hands paths to POSIX calls.
inline std::string toUtf8(const QLWChar* text) {
    std::string out;
    if (!text) return out;
    for (size_t i = 0; text[i] != 0; ++i) {
        char32_t c = static_cast<char16_t>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// UTF-8 to UTF-16; malformed bytes become U+FFFD.
inline std::u16string fromUtf8(const std::string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra >= 0 && i + extra < text.size() + (extra == 0 ? 1 : 0);
        for (int k = 1; ok && k <= extra; ++k) {
            const unsigned char t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80) ok = false;
            c = (c << 6) | (t & 0x3F);
        }
        if (!ok) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        i += static_cast<size_t>(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

}  // namespace ql

#endif
