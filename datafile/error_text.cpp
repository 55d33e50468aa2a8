// Messages for the error numbers the stream back end saves in streamError.
//
// The numbers are those of the DLL's runtime library (the native build
// translates its own errno to them, datafile/error_numbers.cpp).  The texts
// are the library's own; neither the system nor the runtime is asked.
#include "datafile/text_fields.h"
#include "base/wide_text.h"

namespace ql {

namespace {

struct ErrorMessage {
    int32_t number;
    const QLWChar* text;
};

constexpr ErrorMessage kMessages[] = {
    {1, QL_WIDE("Operation not permitted")},
    {2, QL_WIDE("No such file or directory")},
    {3, QL_WIDE("No such process")},
    {4, QL_WIDE("Interrupted function")},
    {5, QL_WIDE("I/O error")},
    {6, QL_WIDE("No such device or address")},
    {7, QL_WIDE("Argument list too long")},
    {8, QL_WIDE("Exec format error")},
    {9, QL_WIDE("Bad file number")},
    {10, QL_WIDE("No spawned processes")},
    {11, QL_WIDE("No more processes or not enough memory or maximum nesting level reached")},
    {12, QL_WIDE("Not enough memory")},
    {13, QL_WIDE("Permission denied")},
    {14, QL_WIDE("Bad address")},
    {16, QL_WIDE("Device or resource busy")},
    {17, QL_WIDE("File exists")},
    {18, QL_WIDE("Cross-device link")},
    {19, QL_WIDE("No such device")},
    {20, QL_WIDE("Not a directory")},
    {21, QL_WIDE("Is a directory")},
    {22, QL_WIDE("Invalid argument")},
    {23, QL_WIDE("Too many files open in system")},
    {24, QL_WIDE("Too many open files")},
    {25, QL_WIDE("Inappropriate I/O control operation")},
    {27, QL_WIDE("File too large")},
    {28, QL_WIDE("No space left on device")},
    {29, QL_WIDE("Invalid seek")},
    {30, QL_WIDE("Read-only file system")},
    {31, QL_WIDE("Too many links")},
    {32, QL_WIDE("Broken pipe")},
    {33, QL_WIDE("Math argument")},
    {34, QL_WIDE("Result too large")},
    {36, QL_WIDE("Resource deadlock would occur")},
    {38, QL_WIDE("File name too long")},
    {39, QL_WIDE("No locks available")},
    {40, QL_WIDE("Function not supported")},
    {41, QL_WIDE("Directory not empty")},
    {42, QL_WIDE("Illegal byte sequence")},
    {80, QL_WIDE("String was truncated")},
};

}  // namespace

const QLWChar* errorMessage(int32_t number) {
    for (const ErrorMessage& m : kMessages)
        if (m.number == number) return m.text;
    return nullptr;
}

}  // namespace ql
