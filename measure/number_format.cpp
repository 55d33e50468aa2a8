// Number formatting and text fields: value lines, hexadecimal and float text, quotes, field search.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

void QLCommon::WriteValueLine(int32_t /*kind1*/, uint64_t /*value1*/, int32_t /*kind2*/, uint64_t /*value2*/, int32_t /*kind3*/, uint64_t /*value3*/) {}
void QLCommon::FormatHex64(uint64_t /*value*/, char* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::StraightenQuotes(QLWChar* /*text*/) {}
int32_t QLCommon::FindField(const QLWChar* /*text*/) { return -1; }
void QLCommon::FormatFloat(float /*value*/, QLWChar* /*text*/, int32_t /*capacity*/, int32_t /*decimals*/) {}
void QLCommon::FormatHexDigits(int32_t /*value*/, QLWChar* /*text*/, int32_t /*capacity*/) {}

}  // namespace ql
