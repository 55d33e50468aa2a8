// The fault-injection seam: a table of the system functions one file of the
// DLL calls, named after them, that a test can override by name.
//
// Only faults the real system will not produce on demand go through such a
// table (a write the disk refuses part way, a full disk).  A file keeps its
// table beside the code it serves:
//
//     SystemCall handleFileCalls[] = {
//         QL_SYSTEM_CALL(WriteFile),
//         QL_SYSTEM_CALL(GetFileSize),
//     };
//     ... systemCall<decltype(&::WriteFile)>(handleFileCalls[0])(h, p, n, &w, nullptr);
//
// and the top of the DLL lists it in object/win32/system_calls.cpp, which
// overrides by name.  A test replaces one entry with
// overrideSystemCall("WriteFile", fake) and puts every table back with
// restoreSystemCalls().
#ifndef QL_BASE_WIN32_SYSTEM_CALLS_H
#define QL_BASE_WIN32_SYSTEM_CALLS_H

#include <cstddef>

namespace ql {

// The generic function pointer type of the table (any function pointer
// converts to it and back without loss).
using SystemFunction = void (*)();

struct SystemCall {
    const char* name;
    SystemFunction current;
    SystemFunction original;
};

#define QL_SYSTEM_CALL(fn) \
    { #fn, reinterpret_cast<::ql::SystemFunction>(&::fn), reinterpret_cast<::ql::SystemFunction>(&::fn) }

// The entry's current function, as its own type.
template <typename Fn>
Fn systemCall(const SystemCall& call) {
    return reinterpret_cast<Fn>(call.current);
}

// Replaces the system function `name` in every table that lists it.  False
// when no table does.  A null replacement restores that one function.
bool overrideSystemCall(const char* name, SystemFunction replacement);

template <typename Fn>
bool overrideSystemCall(const char* name, Fn replacement) {
    return overrideSystemCall(name, reinterpret_cast<SystemFunction>(replacement));
}

// Puts the original function back in every entry of every table.
void restoreSystemCalls();

}  // namespace ql

#endif
