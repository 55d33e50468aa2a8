// Number formatting: hexadecimal and float text, quotes.
#include "measure/bounded_text.h"
#include "measure/fixed_text.h"
#include "object/qlcommon_impl.h"

namespace ql {
namespace {

const char kLowerHex[] = "0123456789abcdef";
const char kUpperHex[] = "0123456789ABCDEF";

}  // namespace

void QLCommon::FormatHex64(uint64_t value, char* buffer, int32_t capacity) {
    if (!state_) return;
    LocalText<char, 19> text;
    text.append("0x", 2);
    for (int shift = 60; shift >= 0; shift -= 4) {
        if (shift == 28) text.append('\'');
        text.append(kLowerHex[(value >> shift) & 0xF]);
    }
    text.copyTo(buffer, capacity);
}

void QLCommon::StraightenQuotes(QLWChar* text) {
    if (!state_ || !text) return;
    for (; *text; ++text) {
        if (*text == 0x2018 || *text == 0x2019) *text = 0x27;
        else if (*text == 0x201C || *text == 0x201D) *text = 0x22;
    }
}

void QLCommon::FormatFloat(float value, QLWChar* text, int32_t capacity, int32_t decimals) {
    if (!state_) return;
    NumberText t;
    floatText(t, static_cast<double>(value), decimals);
    t.copyTo(text, capacity);
}

void QLCommon::FormatHexDigits(int32_t value, QLWChar* text, int32_t capacity) {
    if (!text || capacity <= 0) return;
    ICommon& self = *this;
    self.BeginElements(4);
    for (; value > 0; value /= 16) {
        const int32_t digit = value % 16;
        self.PushElement(&digit);
    }
    // Most significant digit first; when the digits do not all fit, every
    // element is still popped and the text is left empty.
    const int32_t count = self.GetElementCount();
    int32_t length = 0;
    bool fits = true;
    for (int32_t i = 0; i < count; ++i) {
        int32_t digit = 0;
        if (!self.PopElement(&digit)) break;
        if (length + 1 < capacity) text[length++] = static_cast<QLWChar>(kUpperHex[digit & 0xF]);
        else fits = false;
    }
    self.FreeElements();
    text[fits ? length : 0] = 0;
}

}  // namespace ql
