// Opening the self-employment tax calculator.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

int32_t QLCommon::ShowTaxCalculator(QLWindow /*parent*/) { return 0; }

}  // namespace ql
