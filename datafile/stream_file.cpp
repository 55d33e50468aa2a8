// The stream back end of the data file: open, buffered writes and reads, fields, lines, seeking.
//
// Not built yet: every operation gives its empty result.
#include "object/qlcommon_impl.h"

namespace ql {

QLBool QLCommon::OpenFile(const QLWChar* /*path*/, uint32_t /*mode*/, QLBool /*append*/) { return 0; }
void QLCommon::WriteBytes(const void* /*data*/, uint32_t /*count*/) {}
uint32_t QLCommon::ReadBytes(void* /*dest*/, uint32_t /*count*/) { return 0; }
void QLCommon::CloseFile() {}
uint32_t QLCommon::GetByteCount() { return 0; }
int32_t QLCommon::ReadField(char* /*dest*/, int32_t /*capacity*/, uint8_t /*terminator*/) { return 0; }
int32_t QLCommon::ReadWideField(QLWChar* /*dest*/, int32_t /*capacity*/, uint16_t /*terminator*/, QLBool /*stopAtLineFeed*/) { return 0; }
uint32_t QLCommon::ReadBlock(void* /*dest*/, uint32_t /*count*/) { return 0; }
uint32_t QLCommon::ReadLine(char* /*dest*/, uint32_t /*capacity*/) { return 0; }
QLBool QLCommon::SeekRead(int32_t /*offset*/) { return 0; }
uint32_t QLCommon::GetBufferPos() { return 0xFFFFFFFFu; }

void releaseStream(QLState& /*s*/) {}

void releaseIoBuffer(QLState& /*s*/) {}

}  // namespace ql
