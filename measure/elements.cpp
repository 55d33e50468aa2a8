// The element array over its reserved address space.
#include "measure/elements.h"

#include <cstring>

namespace ql {
namespace {

// Makes room for one more element: grows while the free bytes are not more
// than one element.  False when that would pass the largest storage.
bool makeRoomForOne(ElementArray& a) {
    const int64_t needed = (a.cursor - a.store.get()) + int64_t{a.size};  // must stay below the capacity
    if (needed < a.capacity) return true;
    const int64_t capacity = (needed / kElementStep + 1) * kElementStep;
    if (capacity > kElementReserve) return false;
    commitElementSpace(a.store.get(), static_cast<size_t>(a.capacity), static_cast<size_t>(capacity));
    a.capacity = static_cast<int32_t>(capacity);
    a.limit = a.store.get() + capacity - 1;
    return true;
}

uint8_t* element(const ElementArray& a, int32_t index) {
    return a.store && index >= 0 && index < a.count ? a.store.get() + int64_t{index} * a.size : nullptr;
}

}  // namespace

void beginElements(ElementArray& a, int32_t size) {
    if (size > 0 && !a.store) {
        ElementStore store(reserveElementSpace());
        commitElementSpace(store.get(), 0, kElementStep);
        a.store = std::move(store);
        a.capacity = kElementStep;
        a.limit = a.store.get() + kElementStep - 1;
    }
    a.count = 0;
    a.cursor = a.store.get();
    a.size = size > 0 ? size : 0;
}

void freeElements(ElementArray& a) {
    if (a.store) a = ElementArray{};
}

void pushElementGrowing(ElementArray& a, const void* element) {
    if (!element || !a.store || a.size <= 0 || !makeRoomForOne(a)) return;
    pushElement(a, element);  // with room now, the push written in place
}

bool popElement(ElementArray& a, void* element) {
    if (!element || !a.store || a.size <= 0 || a.cursor - a.store.get() < a.size) return false;
    --a.count;
    a.cursor -= a.size;
    std::memcpy(element, a.cursor, static_cast<size_t>(a.size));
    return true;
}

bool copyElement(const ElementArray& a, int32_t index, void* out) {
    const uint8_t* at = element(a, index);
    if (!out || !at) return false;
    std::memcpy(out, at, static_cast<size_t>(a.size));
    return true;
}

bool elementPointer(const ElementArray& a, int32_t index, void** address) {
    if (!address) return false;
    *address = element(a, index);
    return *address != nullptr;
}

}  // namespace ql
