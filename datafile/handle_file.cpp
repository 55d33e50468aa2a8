// The system-handle back end of the data file: open, buffered writes, close.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

QLBool QLCommon::OpenFileHandle(const QLWChar* /*path*/, uint32_t /*mode*/, QLBool /*append*/) { return 0; }
void QLCommon::WriteBytesHandle(const void* /*data*/, uint32_t /*count*/) {}
void QLCommon::CloseFileHandle() {}

void releaseFileHandle(QLState& /*s*/) {}

}  // namespace ql
