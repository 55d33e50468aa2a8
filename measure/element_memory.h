// Address space for the element array: reserved once, committed in steps.
//
// The storage of an element array never moves: its whole address range is
// reserved when the array starts, and each growth commits the next 65536
// bytes at its end.  Nothing is copied and element addresses stay valid for
// as long as the storage lives.
#ifndef QL_MEASURE_ELEMENT_MEMORY_H
#define QL_MEASURE_ELEMENT_MEMORY_H

#include <cstddef>
#include <cstdint>

namespace ql {

// The growth step and the largest storage: the capacity is a signed 32-bit
// byte count, so it ends at the last multiple of the step below 2^31.
constexpr int32_t kElementStep = 65536;
constexpr int32_t kElementReserve = INT32_MAX / kElementStep * kElementStep;  // 2147418112

// Reserves kElementReserve bytes of address space, none of it usable yet.
// Throws std::bad_alloc when the system refuses.
uint8_t* reserveElementSpace();

// Makes [base + from, base + to) usable; the new bytes read as zero.
// Throws std::bad_alloc when the system refuses.
void commitElementSpace(uint8_t* base, size_t from, size_t to);

// Gives the whole reservation back.
void releaseElementSpace(uint8_t* base);

}  // namespace ql

#endif
