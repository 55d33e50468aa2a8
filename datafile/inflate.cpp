// zlib decompression through the library loaded at run time, and line copying.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

QLBool QLCommon::InflateBlock(const void* /*input*/, int32_t /*inputLength*/, void* /*output*/, uint32_t /*room*/, uint32_t* /*produced*/, int32_t /*kind*/) { return 0; }
QLBool QLCommon::InflateBegin(const void* /*input*/, uint32_t /*inputLength*/, int32_t /*kind*/) { return 0; }
void QLCommon::InflateFinish(int32_t /*kind*/) {}
uint32_t QLCommon::CopyLine(const void* /*source*/, int32_t /*sourceLength*/, void* /*dest*/, uint32_t /*capacity*/) { return 0; }

void releaseZlibModule(QLState& /*s*/) {}

void releaseZStream(QLState& /*s*/) {}

}  // namespace ql
