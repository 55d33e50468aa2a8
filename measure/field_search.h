// The field search behind FindField: reads tab- or line-separated UTF-16
// fields until one equals a given text.
#ifndef QL_MEASURE_FIELD_SEARCH_H
#define QL_MEASURE_FIELD_SEARCH_H

#include <cstdint>

#include "qlcommon.h"

namespace ql {

// Where the fields come from: the service object's ReadWideField through
// its interface table; tests deliver their own.
class FieldReader {
public:
    virtual int32_t readWideField(QLWChar* dest, int32_t capacityBytes, uint16_t terminator,
                                  QLBool stopAtLineFeed) = 0;

protected:
    ~FieldReader() = default;
};

// Units of the search buffer, and the bytes one read may fill.
constexpr int kFieldBufferUnits = 1024;
constexpr int32_t kFieldReadBytes = 1024;

// 0 when a field equal to `text` was read, -1 when the reads ran out.
// A field longer than one read (a read that fills all 1024 bytes) never
// matches: its parts, up to and including the part that ends it, are read
// and passed over.
int32_t findField(const QLWChar* text, FieldReader& reader);

}  // namespace ql

#endif
