// The delayed progress window.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

void QLCommon::BeginProgress(QLWindow /*parent*/, QLInstance /*instance*/, int32_t /*range*/) {}
void QLCommon::EndProgress() {}
void QLCommon::SetProgressPos(int32_t /*pos*/) {}
void QLCommon::StepProgress() {}
void QLCommon::IdleProgress() {}

void releaseProgressWindow(QLState& /*s*/) {}

}  // namespace ql
