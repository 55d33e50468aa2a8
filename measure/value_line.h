// The value-line writer behind WriteValueLine: up to three typed values as
// one 8-bit text line, each value followed by a blank, the line ended by
// CR LF.  Every part of the line goes out with its own write.
#ifndef QL_MEASURE_VALUE_LINE_H
#define QL_MEASURE_VALUE_LINE_H

#include <cstdint>

namespace ql {

// Where the line goes: the service object hands these to WriteBytes and
// FormatHex64 through its interface table; tests record them.
class ValueLineOutput {
public:
    virtual void writeBytes(const void* data, uint32_t count) = 0;
    virtual void formatHex64(uint64_t value, char* buffer, int32_t capacity) = 0;

protected:
    ~ValueLineOutput() = default;
};

void writeValueLine(ValueLineOutput& out, const int32_t kinds[3], const uint64_t values[3]);

// Decimal text of a signed integer; returns its length (at most 20).
int formatInteger(int64_t value, char* out);

}  // namespace ql

#endif
