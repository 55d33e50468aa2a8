// The measure and number-text operations of the table: thin bodies over the
// portable core (measure/*.h).  FormatHexDigits keeps its digits on the
// element array through the table, as a host would.
#include "measure/elements.h"
#include "measure/measure.h"
#include "measure/number_text.h"
#include "object/win32/qlcommon_impl.h"

namespace ql {

// Slots 6 and 7: one operation under two names, both entries run one body.
int32_t QLCommon::MulDivRound(double a, double b, double c) { return mulDivRound(a, b, c); }
int32_t QLCommon::MulDivRound2(double a, double b, double c) { return mulDivRound(a, b, c); }

double QLCommon::Hypotenuse(double a, double b) { return hypotenuse(a, b); }

void QLCommon::FormatMeasure(int32_t thousandths, QLWChar* text, int32_t capacity, int32_t unit, int32_t decimals) {
    formatMeasure(thousandths, text, capacity, unit, decimals);
}

int32_t QLCommon::ParseMeasure(const QLWChar* text, int32_t unit) { return parseMeasure(text, unit); }

QLBool QLCommon::ParseFractionalMeasureW(const QLWChar* text, int32_t textUnit, float* out, int32_t targetUnit) {
    return state_ && parseFractionalMeasure(text, textUnit, out, targetUnit);
}

QLBool QLCommon::ParseFractionalMeasureA(const char* text, int32_t textUnit, float* out, int32_t targetUnit) {
    return state_ && parseFractionalMeasure(text, textUnit, out, targetUnit);
}

QLBool QLCommon::ParseFractionalMeasureRounded(const QLWChar* text, int32_t textUnit, int32_t* out,
                                               int32_t targetUnit) {
    if (!state_) return 0;
    float value = 0.0f;
    const QLBool sign = call(&ICommonVtbl::ParseFractionalMeasureW, text, textUnit, &value, targetUnit);
    if (out) *out = roundFraction(value);
    return sign;
}

void QLCommon::FormatHex64(uint64_t value, char* buffer, int32_t capacity) {
    if (state_) formatHex64(value, buffer, capacity);
}

void QLCommon::StraightenQuotes(QLWChar* text) {
    if (state_) straightenQuotes(text);
}

void QLCommon::FormatFloat(float value, QLWChar* text, int32_t capacity, int32_t decimals) {
    if (state_) formatFloat(value, text, capacity, decimals);
}

void QLCommon::FormatHexDigits(int32_t value, QLWChar* text, int32_t capacity) {
    if (!text || capacity <= 0) return;
    call(&ICommonVtbl::BeginElements, 4);
    for (; value > 0; value /= 16) {
        const int32_t digit = value % 16;
        call(&ICommonVtbl::PushElement, static_cast<const void*>(&digit));
    }
    // Most significant digit first; when the digits do not all fit, every
    // element is still popped and the text is left empty.
    const int32_t count = call(&ICommonVtbl::GetElementCount);
    int32_t length = 0;
    bool fits = true;
    for (int32_t i = 0; i < count; ++i) {
        int32_t digit = 0;
        if (!call(&ICommonVtbl::PopElement, static_cast<void*>(&digit))) break;
        if (length + 1 < capacity) text[length++] = static_cast<QLWChar>(kUpperHexDigits[digit & 0xF]);
        else fits = false;
    }
    call(&ICommonVtbl::FreeElements);
    text[fits ? length : 0] = 0;
}

void QLCommon::BeginElements(int32_t elementSize) {
    if (state_) beginElements(state_->elements, elementSize);
}

void QLCommon::FreeElements() {
    if (state_) freeElements(state_->elements);
}

int32_t QLCommon::GetElementCount() { return state_ ? state_->elements.count : 0; }

void QLCommon::PushElement(const void* element) {
    if (state_) pushElement(state_->elements, element);
}

QLBool QLCommon::PopElement(void* element) { return state_ && popElement(state_->elements, element); }

QLBool QLCommon::CopyElement(int32_t index, void* element) {
    return state_ && copyElement(state_->elements, index, element);
}

QLBool QLCommon::GetElementPointer(int32_t index, void** address) {
    return state_ && elementPointer(state_->elements, index, address);
}

}  // namespace ql
