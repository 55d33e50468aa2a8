// Small text helpers shared by every subsystem: the literal macro, the
// working size, lengths, comparison, the one bounded-copy family and the
// UTF-8 conversions.
//
// The bounded helpers keep one rule: a text that does not fit its bound
// leaves the empty string behind, never a partial text (a cut-off number or
// path would read as a different one), and nothing is written at or past
// the bound.  They work on UTF-16 and on 8-bit text alike.
#ifndef QL_BASE_WIDE_TEXT_H
#define QL_BASE_WIDE_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "qlcommon.h"

// A UTF-16 literal of the build's QLWChar type.
#ifdef _WIN32
#define QL_WIDE(s) L##s
#else
#define QL_WIDE(s) u##s
#endif

namespace ql {

// Paths and other texts are composed in working buffers of this many units.
constexpr size_t kWorkingSize = 512;

template <class T>
struct Same {
    using type = T;
};
template <class T>
using Same_t = typename Same<T>::type;  // keeps a parameter out of deduction

// Length of a zero-terminated text.
template <class Ch>
size_t textLength(const Ch* text) {
    size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

// Length of a zero-terminated text, or `limit` when no terminator comes
// within the first `limit` units (so a reader never runs past `limit`).
template <class Ch>
size_t textLength(const Ch* text, size_t limit) {
    size_t n = 0;
    while (n < limit && text[n] != 0) ++n;
    return n;
}

// Equality of two zero-terminated texts, each unit passed through `fold`
// (which maps only 0 to 0) first.
template <class Ch, class Fold>
bool sameText(const Ch* a, const Same_t<Ch>* b, Fold fold) {
    for (size_t i = 0;; ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
        if (a[i] == 0) return true;
    }
}

template <class Ch>
bool sameText(const Ch* a, const Same_t<Ch>* b) {
    return sameText(a, b, [](Ch c) { return c; });
}

// Copies `count` units of `source` and a terminator into `dest`, whose
// bound (terminator included) is `bound`.  When they do not fit, `dest`
// becomes empty (if it can hold a terminator at all) and false comes back.
template <class Ch>
bool copyCounted(Ch* dest, size_t bound, const Same_t<Ch>* source, size_t count) {
    if (!dest || bound == 0) return false;
    if (count >= bound) {
        dest[0] = 0;
        return false;
    }
    for (size_t i = 0; i < count; ++i) dest[i] = source[i];
    dest[count] = 0;
    return true;
}

// Bounded copy of a zero-terminated text.
template <class Ch>
bool copyBounded(Ch* dest, size_t bound, const Same_t<Ch>* source) {
    return copyCounted(dest, bound, source, textLength(source, bound));
}

// Bounded concatenation: appends `tail` to the text in `dest`.  The text
// already there must be terminated within `bound`; otherwise, or when the
// result does not fit, `dest` becomes empty and false comes back.
template <class Ch>
bool appendBounded(Ch* dest, size_t bound, const Same_t<Ch>* tail) {
    if (!dest || bound == 0) return false;
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

// A text composed in a local buffer of N units and handed to the caller's
// buffer whole with copyCounted.  Units appended beyond N are counted but
// not kept, and such a text is never handed out.
template <class Ch, size_t N>
class LocalText {
public:
    void append(Ch c) {
        if (length_ < N) text_[length_] = c;
        ++length_;
    }
    void append(const char* ascii, size_t count) {
        for (size_t i = 0; i < count; ++i) append(static_cast<Ch>(ascii[i]));
    }
    void appendRepeated(Ch c, size_t count) {
        for (size_t i = 0; i < count; ++i) append(c);
    }
    size_t length() const { return length_; }

    // The whole text and its terminator, or the empty text when they do not
    // fit `capacity`; nothing for a null buffer or a capacity below 1.
    bool copyTo(Ch* out, int32_t capacity) const {
        if (!out || capacity < 1) return false;
        if (length_ > N) {
            out[0] = 0;
            return false;
        }
        return copyCounted(out, static_cast<size_t>(capacity), text_, length_);
    }

private:
    Ch text_[N];
    size_t length_ = 0;
};

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
