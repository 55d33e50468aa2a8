// Once-per-name warnings about missing fonts and images.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

void QLCommon::WarnMissingResource(const QLWChar* /*name*/, int32_t /*kind*/) {}

void releaseWarnings(QLState& /*s*/) {}

}  // namespace ql
