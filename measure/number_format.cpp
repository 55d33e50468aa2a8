// Number formatting and text fields: value lines, hexadecimal and float
// text, quotes, field search.
#include "measure/bounded_text.h"
#include "measure/field_search.h"
#include "measure/fixed_text.h"
#include "measure/value_line.h"
#include "object/qlcommon_impl.h"

namespace ql {
namespace {

// The value-line writer's output: WriteBytes and FormatHex64 of the table.
class TableLineOutput final : public ValueLineOutput {
public:
    explicit TableLineOutput(ICommon& table) : table_(table) {}
    void writeBytes(const void* data, uint32_t count) override { table_.WriteBytes(data, count); }
    void formatHex64(uint64_t value, char* buffer, int32_t capacity) override {
        table_.FormatHex64(value, buffer, capacity);
    }

private:
    ICommon& table_;
};

class TableFieldReader final : public FieldReader {
public:
    explicit TableFieldReader(ICommon& table) : table_(table) {}
    int32_t readWideField(QLWChar* dest, int32_t capacityBytes, uint16_t terminator, QLBool stopAtLineFeed) override {
        return table_.ReadWideField(dest, capacityBytes, terminator, stopAtLineFeed);
    }

private:
    ICommon& table_;
};

const char kLowerHex[] = "0123456789abcdef";
const char kUpperHex[] = "0123456789ABCDEF";

}  // namespace

void QLCommon::WriteValueLine(int32_t kind1, uint64_t value1, int32_t kind2, uint64_t value2, int32_t kind3,
                              uint64_t value3) {
    if (!state_ || !state_->stream) return;
    const int32_t kinds[3] = {kind1, kind2, kind3};
    const uint64_t values[3] = {value1, value2, value3};
    TableLineOutput out(*this);
    writeValueLine(out, kinds, values);
}

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

int32_t QLCommon::FindField(const QLWChar* text) {
    if (!state_) return -1;
    TableFieldReader reader(*this);
    return findField(text, reader);
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
