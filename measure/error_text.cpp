// Messages for the error numbers the stream back end saves.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

void QLCommon::GetLastErrorText(QLWChar* /*buffer*/, int32_t /*capacity*/) {}

}  // namespace ql
