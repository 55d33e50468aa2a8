// UTF-16 text as the calculator keeps it, in both builds.
#ifndef QL_TAXCALC_TEXT_H
#define QL_TAXCALC_TEXT_H

#include <cstddef>
#include <string>

#include "qlcommon.h"

namespace ql::tax {

using Text = std::basic_string<QLWChar>;

// An ASCII literal as UTF-16 (every fixed text of the calculator is ASCII).
inline Text ascii(const char* s) {
    Text t;
    for (; *s; ++s) t.push_back(static_cast<QLWChar>(static_cast<unsigned char>(*s)));
    return t;
}

// A zero-terminated text of at most capacity - 1 units, as a bounded read
// of a field with that capacity gives it.
inline Text bounded(const QLWChar* s, std::size_t capacity) {
    Text t;
    if (!s || capacity == 0) return t;
    for (std::size_t i = 0; i + 1 < capacity && s[i]; ++i) t.push_back(s[i]);
    return t;
}

// The month names in calendar order; a month's index is its place here.
constexpr const char* kMonthNames[12] = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

}  // namespace ql::tax

#endif
