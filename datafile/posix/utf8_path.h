// UTF-16 paths to the UTF-8 the native file system calls take.
#ifndef QL_DATAFILE_POSIX_UTF8_PATH_H
#define QL_DATAFILE_POSIX_UTF8_PATH_H

#include <string>

#include "qlcommon.h"

namespace ql {

// A lone surrogate becomes U+FFFD, so every UTF-16 text has a UTF-8 form.
inline std::string utf8FromUtf16(const QLWChar* text) {
    std::string out;
    for (const QLWChar* p = text; *p; ++p) {
        char32_t c = *p;
        if (c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(p[1]) - 0xDC00);
            ++p;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace ql

#endif
