// The field search.
#include "measure/field_search.h"

namespace ql {
namespace {

bool sameText(const QLWChar* a, const QLWChar* b) {
    for (; *a && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}

}  // namespace

int32_t findField(const QLWChar* text, FieldReader& reader) {
    if (!text || !*text) return -1;
    QLWChar buffer[kFieldBufferUnits] = {};
    constexpr int32_t kFullRead = kFieldReadBytes / 2;
    bool insideLongField = false;
    for (;;) {
        const int32_t count = reader.readWideField(buffer, kFieldReadBytes, 9, 1);
        if (count < 1) return -1;
        const int32_t last = count <= kFieldBufferUnits ? count - 1 : kFieldBufferUnits - 1;
        if (count >= kFullRead) {  // no room was left for the field's end
            insideLongField = true;
            continue;
        }
        if (insideLongField) {  // the last part of a long field
            insideLongField = false;
            continue;
        }
        if (buffer[last] == 9 || buffer[last] == 10) buffer[last] = 0;
        if (sameText(buffer, text)) return 0;
    }
}

}  // namespace ql
