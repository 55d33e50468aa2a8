// The error numbers saved in streamError.  They are the runtime error
// numbers of the DLL's runtime library, whatever the build: a runtime that
// numbers its errors differently has its errno translated by symbolic name.
#ifndef QL_DATAFILE_ERROR_NUMBERS_H
#define QL_DATAFILE_ERROR_NUMBERS_H

#include <cstdint>

namespace ql {

// The number saved for a failed call that left errno at runtimeErrno.
// Errors the DLL's runtime has no number for, and a failure that left errno
// at 0, become 5 ("I/O error"): a failure must never be saved as 0.
int32_t savedErrorNumber(int runtimeErrno);

}  // namespace ql

#endif
