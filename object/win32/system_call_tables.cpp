// Every table of system calls in the DLL, for overriding by name.  The list
// stands at the top of the DLL because it names the subsystems' tables.
#include "base/win32/system_calls.h"

namespace ql {

extern SystemCall handleFileCalls[];  // datafile/win32/handle_file.cpp
extern const size_t handleFileCallCount;

extern const SystemCallTable systemCallTables[] = {
    {handleFileCalls, &handleFileCallCount},
};
extern const size_t systemCallTableCount = sizeof systemCallTables / sizeof systemCallTables[0];

}  // namespace ql
