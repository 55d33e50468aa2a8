// Splitting a path into folder, name and extension.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

void QLCommon::SplitPathExt(const QLWChar* /*path*/, QLWChar* /*folder*/, int32_t /*folderCapacity*/, QLWChar* /*name*/, int32_t /*nameCapacity*/, QLWChar* /*ext*/, int32_t /*extCapacity*/) {}
void QLCommon::SplitPath(const QLWChar* /*path*/, QLWChar* /*folder*/, int32_t /*folderCapacity*/, QLWChar* /*name*/, int32_t /*nameCapacity*/) {}

}  // namespace ql
