// The data file's buffer, shared by the stream and the system-handle back
// ends: its size, its allocation by the first open and its release by the
// close.
#ifndef QL_DATAFILE_IO_BUFFER_H
#define QL_DATAFILE_IO_BUFFER_H

#include <cstdint>
#include <memory>

#include "object/state.h"

namespace ql {

// All traffic of a data file goes through one buffer of this many bytes.
constexpr uint32_t kIoBufferSize = 65536;

// Mode codes held in openMode while a file is open.
constexpr uint32_t kModeWrite = 1;
constexpr uint32_t kModeRead = 2;

// The first open allocates the buffer, zero-filled; later opens keep it.
inline void allocateIoBuffer(QLState& s) {
    s.bufferSize = kIoBufferSize;
    s.ioBuffer = std::make_unique<uint8_t[]>(kIoBufferSize).release();  // value-initialised: zeros
}

inline void freeIoBuffer(QLState& s) {
    std::unique_ptr<uint8_t[]> owned(s.ioBuffer);
    s.ioBuffer = nullptr;
}

// What a close leaves behind: no buffer and every counter at zero.
inline void resetFileCounters(QLState& s) {
    s.bufferPos = 0;
    s.bufferSize = 0;
    s.bufferAvail = 0;
    s.openMode = 0;
    s.byteCount = 0;
}

// byteCount is a signed 32-bit field that counts unsigned amounts; the sum
// wraps like the 32-bit register it models instead of overflowing.
inline void addToByteCount(QLState& s, uint32_t n) {
    s.byteCount = static_cast<int32_t>(static_cast<uint32_t>(s.byteCount) + n);
}

}  // namespace ql

#endif
