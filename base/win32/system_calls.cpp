// Overriding the DLL's system calls by name, over every table listed in
// systemCallTables.
#include "base/win32/system_calls.h"

#include <cstring>

namespace ql {

namespace {

template <typename Visit>
void forEachCall(Visit visit) {
    for (size_t t = 0; t < systemCallTableCount; ++t)
        for (size_t i = 0; i < *systemCallTables[t].count; ++i) visit(systemCallTables[t].calls[i]);
}

}  // namespace

bool overrideSystemCall(const char* name, SystemFunction replacement) {
    bool found = false;
    forEachCall([&](SystemCall& c) {
        if (std::strcmp(c.name, name) != 0) return;
        c.current = replacement ? replacement : c.original;
        found = true;
    });
    return found;
}

void restoreSystemCalls() {
    forEachCall([](SystemCall& c) { c.current = c.original; });
}

}  // namespace ql
