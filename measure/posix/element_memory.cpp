// Element array address space through mmap: PROT_NONE reserved, made
// readable and writable step by step with mprotect.
#include "measure/elements.h"

#include <sys/mman.h>

#include <new>

namespace ql {

uint8_t* reserveElementSpace() {
    void* p = mmap(nullptr, kElementReserve, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    return static_cast<uint8_t*>(p);
}

void commitElementSpace(uint8_t* base, size_t from, size_t to) {
    if (mprotect(base + from, to - from, PROT_READ | PROT_WRITE) != 0) throw std::bad_alloc();
}

void releaseElementSpace(uint8_t* base) { munmap(base, kElementReserve); }

}  // namespace ql
