// The element array: a growable array or stack of fixed-size elements.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

void QLCommon::BeginElements(int32_t /*elementSize*/) {}
void QLCommon::FreeElements() {}
int32_t QLCommon::GetElementCount() { return 0; }
void QLCommon::PushElement(const void* /*element*/) {}
QLBool QLCommon::PopElement(void* /*element*/) { return 0; }
QLBool QLCommon::CopyElement(int32_t /*index*/, void* /*element*/) { return 0; }
QLBool QLCommon::GetElementPointer(int32_t /*index*/, void** /*address*/) { return 0; }

void releaseElements(QLState& /*s*/) {}

}  // namespace ql
