// Narrowing through c32rtomb in the current locale.
#include <climits>
#include <cuchar>

#include "measure/narrow_char.h"

namespace ql {

static_assert(MB_LEN_MAX <= kNarrowCharMax, "room for one character");

int narrowChar(QLWChar unit, char* out) {
    if (unit >= 0xD800 && unit <= 0xDFFF) {
        out[0] = '?';
        return 1;
    }
    std::mbstate_t state{};
    const size_t n = std::c32rtomb(out, static_cast<char32_t>(unit), &state);
    if (n == static_cast<size_t>(-1) || n == 0) {
        out[0] = '?';
        return 1;
    }
    return static_cast<int>(n);
}

}  // namespace ql
