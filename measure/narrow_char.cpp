// Narrowing through wcrtomb in the C runtime's current locale.  A unit that
// is not a surrogate is a whole character, and its value is the character's
// code point both in Windows' 16-bit wchar_t and in the 32-bit wchar_t of
// the other systems (ISO 10646 values), so one call serves both builds.
#include <climits>
#include <cwchar>

#include "measure/narrow_char.h"

namespace ql {

static_assert(MB_LEN_MAX <= kNarrowCharMax, "room for one character");
#if !defined(_WIN32) && !defined(__STDC_ISO_10646__)
#error "wchar_t must hold ISO 10646 code points"
#endif

int narrowChar(QLWChar unit, char* out) {
    if (unit >= 0xD800 && unit <= 0xDFFF) {
        out[0] = '?';
        return 1;
    }
    std::mbstate_t state{};
    const size_t n = std::wcrtomb(out, static_cast<wchar_t>(unit), &state);
    if (n == static_cast<size_t>(-1) || n == 0) {
        out[0] = '?';
        return 1;
    }
    return static_cast<int>(n);
}

}  // namespace ql
