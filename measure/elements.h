// The element array: a growable array or stack of fixed-size elements, kept
// in six fields of the state record (the struct ElementArray below sits
// there in their place).
//
// The storage is a reserved address range of which the first `capacity`
// bytes are usable; a growth commits the next 65536 bytes in place, so
// elements never move and their addresses stay valid until FreeElements.
// Element sizes from 1 byte up are handled; an element larger than one step
// grows the storage by as many steps as it needs.  A size of 0 or less
// leaves an array that takes no elements.
#ifndef QL_MEASURE_ELEMENTS_H
#define QL_MEASURE_ELEMENTS_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/owned.h"

namespace ql {

// The growth step and the largest storage: the capacity is a signed 32-bit
// byte count, so it ends at the last multiple of the step below 2^31.
constexpr int32_t kElementStep = 65536;
constexpr int32_t kElementReserve = INT32_MAX / kElementStep * kElementStep;  // 2147418112

// The address space, from the system (win32/ and posix/element_memory.cpp).
// Reserves kElementReserve bytes, none of them usable yet; throws
// std::bad_alloc when the system refuses.
uint8_t* reserveElementSpace();
// Makes [base + from, base + to) usable, reading as zero; throws
// std::bad_alloc when the system refuses.
void commitElementSpace(uint8_t* base, size_t from, size_t to);
// Gives the whole reservation back.
void releaseElementSpace(uint8_t* base);

using ElementStore = Owned<uint8_t*, releaseElementSpace>;

struct ElementArray {
    ElementStore store;         // the reservation; empty before BeginElements and after FreeElements
    uint8_t* cursor = nullptr;  // where the next element goes: store + count * size
    uint8_t* limit = nullptr;   // last usable byte: store + capacity - 1
    int32_t capacity = 0;       // usable bytes
    int32_t count = 0;          // elements held
    int32_t size = 0;           // bytes per element
};

// The six fields of the state record, in their order and at their offsets.
static_assert(sizeof(ElementStore) == sizeof(void*), "a holder as large as the pointer");
static_assert(offsetof(ElementArray, cursor) == sizeof(void*) && offsetof(ElementArray, limit) == 2 * sizeof(void*) &&
                  offsetof(ElementArray, capacity) == 3 * sizeof(void*) &&
                  offsetof(ElementArray, count) == 3 * sizeof(void*) + 4 &&
                  offsetof(ElementArray, size) == 3 * sizeof(void*) + 8,
              "elementStore, elementCursor, elementLimit, elementCapacity, elementCount, elementSize");

// The operations of slots 18 to 22, 50 and 51.
void beginElements(ElementArray& a, int32_t size);
void freeElements(ElementArray& a);
void pushElementGrowing(ElementArray& a, const void* element);  // null: ignored

// A push is the array's most frequent call: with room left (more than one
// element's bytes free, as the last byte is never used) it is a copy and two
// additions written in place; the usual sizes copy by a move the compiler
// writes.  Otherwise the storage grows first (or, without storage, nothing).
inline void pushElement(ElementArray& a, const void* element) {
    if (!element || a.size <= 0 || a.limit - a.cursor < a.size) return pushElementGrowing(a, element);
    if (a.size == 4) std::memcpy(a.cursor, element, 4);
    else std::memcpy(a.cursor, element, static_cast<size_t>(a.size));
    a.cursor += a.size;
    ++a.count;
}
bool popElement(ElementArray& a, void* element);
bool copyElement(const ElementArray& a, int32_t index, void* element);
bool elementPointer(const ElementArray& a, int32_t index, void** address);  // null stored on failure

}  // namespace ql

#endif
