// The list of the DLL's system-call tables, for overriding by name.  It
// names the subsystems' tables, so it stands at the top of the DLL.
#include "base/win32/system_calls.h"

#include <cstring>

namespace ql {

// Each file that keeps a table defines it and its length.
extern SystemCall handleFileCalls[];
extern const size_t handleFileCallCount;

namespace {

struct Table {
    SystemCall* calls;
    const size_t* count;
};

const Table tables[] = {
    {handleFileCalls, &handleFileCallCount},
};

}  // namespace

bool overrideSystemCall(const char* name, SystemFunction replacement) {
    bool found = false;
    for (const Table& t : tables) {
        for (size_t i = 0; i < *t.count; ++i) {
            SystemCall& c = t.calls[i];
            if (std::strcmp(c.name, name) != 0) continue;
            c.current = replacement ? replacement : c.original;
            found = true;
        }
    }
    return found;
}

void restoreSystemCalls() {
    for (const Table& t : tables)
        for (size_t i = 0; i < *t.count; ++i) t.calls[i].current = t.calls[i].original;
}

}  // namespace ql
