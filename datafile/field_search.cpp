// The field search and the line copy.
#include <algorithm>

#include "base/wide_text.h"
#include "datafile/text_fields.h"

namespace ql {

// A field longer than one read (a read that fills all 1024 bytes) never
// matches: its parts, up to and including the part that ends it, are
// passed over.
FieldVerdict FieldSearch::check(QLWChar* field, int32_t count, const QLWChar* text) {
    if (count < 1) return FieldVerdict::end;
    if (count >= kReadBytes / 2) {  // no room was left for the field's end
        insideLongField = true;
        return FieldVerdict::next;
    }
    if (insideLongField) {  // the last part of a long field
        insideLongField = false;
        return FieldVerdict::next;
    }
    if (field[count - 1] == 9 || field[count - 1] == 10) field[count - 1] = 0;
    return sameText(field, text) ? FieldVerdict::found : FieldVerdict::next;
}

uint32_t copyLine(const void* source, int32_t sourceLength, void* dest, uint32_t capacity) {
    if (!source || sourceLength <= 0 || !dest || capacity == 0) return 0;
    const auto* from = static_cast<const uint8_t*>(source);
    auto* to = static_cast<uint8_t*>(dest);
    const uint32_t limit = std::min(static_cast<uint32_t>(sourceLength), capacity);
    uint32_t copied = 0;
    while (copied < limit) {
        const uint8_t byte = from[copied];
        to[copied++] = byte;
        if (byte == 10) break;
    }
    return copied;
}

}  // namespace ql
