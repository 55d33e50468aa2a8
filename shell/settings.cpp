// The two remembered paths of the settings file.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

void QLCommon::GetJobFilePath(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::SetJobFilePath(const QLWChar* /*value*/) {}
void QLCommon::GetGraphixFilePath(QLWChar* /*buffer*/, int32_t /*capacity*/) {}
void QLCommon::SetGraphixFilePath(const QLWChar* /*value*/) {}

}  // namespace ql
