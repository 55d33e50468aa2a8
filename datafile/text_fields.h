// The text that goes into and comes out of the data file: value lines,
// the field search, lines copied out of memory blocks, and the messages
// for the error numbers the stream back end saves.  Portable; the DLL's
// operations feed them through the interface table.
#ifndef QL_DATAFILE_TEXT_FIELDS_H
#define QL_DATAFILE_TEXT_FIELDS_H

#include <cstdint>

#include "qlcommon.h"

namespace ql {

// One value line, composed in memory and kept in its parts: the operation
// writes each part with its own WriteBytes call.
struct ValueLine {
    static constexpr int kMaxParts = 40;
    char text[1024];
    uint16_t ends[kMaxParts];  // part i is text[ends[i-1] .. ends[i])
    int parts;
};

// Up to three typed values (ValueKind) as one 8-bit line: each value of a
// known kind followed by a blank, the line ended by CR LF.  hex64[k] is the
// text FormatHex64 gave for value k when its kind is valueHex64.
void composeValueLine(ValueLine& line, const int32_t kinds[3], const uint64_t values[3], const char* const hex64[3]);

// Decimal text of a signed integer; returns its length (at most 20).
int formatInteger(int64_t value, char* out);

// The field search: feed it each field ReadWideField delivered (count as
// it returned) until it answers found or end.
enum class FieldVerdict { next, found, end };
struct FieldSearch {
    static constexpr int32_t kReadBytes = 1024;  // one read's capacity
    bool insideLongField;
    FieldVerdict check(QLWChar* field, int32_t count, const QLWChar* text);
};

// Bytes of source up to and including the first line feed, at most
// min(sourceLength, capacity); no terminator.  0 for missing arguments.
uint32_t copyLine(const void* source, int32_t sourceLength, void* dest, uint32_t capacity);

// The message for an error number saved in streamError, or null.
const QLWChar* errorMessage(int32_t number);

}  // namespace ql

#endif
