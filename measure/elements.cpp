// The element array: a growable array or stack of fixed-size elements kept
// in six fields of the state record.
//
// The storage is a reserved address range (element_memory.h) of which the
// first elementCapacity bytes are usable; a growth commits the next 65536
// bytes in place, so elements never move.  Element sizes from 1 byte up
// are handled; an element larger than one step grows the storage by as
// many steps as it needs.  A size of 0 or less leaves an array that takes
// no elements.
#include <cstring>

#include "measure/element_memory.h"
#include "object/qlcommon_impl.h"

namespace ql {
namespace {

void clearElementFields(QLState& s) {
    s.elementStore = nullptr;
    s.elementCursor = nullptr;
    s.elementLimit = nullptr;
    s.elementCapacity = 0;
    s.elementCount = 0;
    s.elementSize = 0;
}

// Makes room for one more element: grows while the free bytes are not more
// than one element.  False when that would pass the largest storage.
bool makeRoomForOne(QLState& s) {
    const int64_t used = s.elementCursor - s.elementStore;
    const int64_t needed = used + s.elementSize;  // must stay below the capacity
    if (needed < s.elementCapacity) return true;
    const int64_t steps = needed / kElementStep + 1;
    const int64_t capacity = steps * kElementStep;
    if (capacity > kElementReserve) return false;
    commitElementSpace(s.elementStore, static_cast<size_t>(s.elementCapacity), static_cast<size_t>(capacity));
    s.elementCapacity = static_cast<int32_t>(capacity);
    s.elementLimit = s.elementStore + capacity - 1;
    return true;
}

}  // namespace

void QLCommon::BeginElements(int32_t elementSize) {
    if (!state_) return;
    QLState& s = *state_;
    if (elementSize > 0 && !s.elementStore) {
        uint8_t* store = reserveElementSpace();
        try {
            commitElementSpace(store, 0, kElementStep);
        } catch (...) {
            releaseElementSpace(store);
            throw;
        }
        s.elementStore = store;
        s.elementCapacity = kElementStep;
        s.elementLimit = store + kElementStep - 1;
    }
    s.elementCount = 0;
    s.elementCursor = s.elementStore;
    s.elementSize = elementSize > 0 ? elementSize : 0;
}

void QLCommon::FreeElements() {
    if (state_) releaseElements(*state_);
}

int32_t QLCommon::GetElementCount() { return state_ ? state_->elementCount : 0; }

void QLCommon::PushElement(const void* element) {
    if (!state_ || !element) return;
    QLState& s = *state_;
    if (!s.elementStore || s.elementSize <= 0) return;
    if (!makeRoomForOne(s)) return;
    std::memcpy(s.elementCursor, element, static_cast<size_t>(s.elementSize));
    s.elementCursor += s.elementSize;
    ++s.elementCount;
}

QLBool QLCommon::PopElement(void* element) {
    if (!state_ || !element) return 0;
    QLState& s = *state_;
    if (!s.elementStore || s.elementSize <= 0) return 0;
    if (s.elementCursor - s.elementStore < s.elementSize) return 0;
    --s.elementCount;
    s.elementCursor -= s.elementSize;
    std::memcpy(element, s.elementCursor, static_cast<size_t>(s.elementSize));
    return 1;
}

QLBool QLCommon::CopyElement(int32_t index, void* element) {
    if (!state_ || !element) return 0;
    const QLState& s = *state_;
    if (!s.elementStore || index < 0 || index >= s.elementCount) return 0;
    std::memcpy(element, s.elementStore + int64_t{index} * s.elementSize, static_cast<size_t>(s.elementSize));
    return 1;
}

QLBool QLCommon::GetElementPointer(int32_t index, void** address) {
    if (!state_ || !address) return 0;
    const QLState& s = *state_;
    if (s.elementStore && index >= 0 && index < s.elementCount) {
        *address = s.elementStore + int64_t{index} * s.elementSize;
        return 1;
    }
    *address = nullptr;
    return 0;
}

void releaseElements(QLState& s) {
    if (!s.elementStore) return;
    releaseElementSpace(s.elementStore);
    clearElementFields(s);
}

}  // namespace ql
