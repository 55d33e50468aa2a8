// Element array address space through VirtualAlloc: MEM_RESERVE once,
// MEM_COMMIT per step, MEM_RELEASE at the end.
#include "measure/elements.h"

#include <windows.h>

#include <new>

namespace ql {

uint8_t* reserveElementSpace() {
    void* p = VirtualAlloc(nullptr, kElementReserve, MEM_RESERVE, PAGE_NOACCESS);
    if (!p) throw std::bad_alloc();
    return static_cast<uint8_t*>(p);
}

void commitElementSpace(uint8_t* base, size_t from, size_t to) {
    if (!VirtualAlloc(base + from, to - from, MEM_COMMIT, PAGE_READWRITE)) throw std::bad_alloc();
}

void releaseElementSpace(uint8_t* base) { VirtualFree(base, 0, MEM_RELEASE); }

}  // namespace ql
