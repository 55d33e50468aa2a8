// Messages for the error numbers the stream back end saves in streamError.
//
// The numbers are those of the DLL's runtime library (the native build
// translates its own errno to them, datafile/error_numbers.cpp).  The texts
// are the library's own; neither the system nor the runtime is asked.
#include "object/qlcommon_impl.h"

namespace ql {

namespace {

struct ErrorMessage {
    int32_t number;
    const char* text;  // ASCII, widened as it is copied
};

constexpr ErrorMessage kMessages[] = {
    {1, "Operation not permitted"},
    {2, "No such file or directory"},
    {3, "No such process"},
    {4, "Interrupted function"},
    {5, "I/O error"},
    {6, "No such device or address"},
    {7, "Argument list too long"},
    {8, "Exec format error"},
    {9, "Bad file number"},
    {10, "No spawned processes"},
    {11, "No more processes or not enough memory or maximum nesting level reached"},
    {12, "Not enough memory"},
    {13, "Permission denied"},
    {14, "Bad address"},
    {16, "Device or resource busy"},
    {17, "File exists"},
    {18, "Cross-device link"},
    {19, "No such device"},
    {20, "Not a directory"},
    {21, "Is a directory"},
    {22, "Invalid argument"},
    {23, "Too many files open in system"},
    {24, "Too many open files"},
    {25, "Inappropriate I/O control operation"},
    {27, "File too large"},
    {28, "No space left on device"},
    {29, "Invalid seek"},
    {30, "Read-only file system"},
    {31, "Too many links"},
    {32, "Broken pipe"},
    {33, "Math argument"},
    {34, "Result too large"},
    {36, "Resource deadlock would occur"},
    {38, "File name too long"},
    {39, "No locks available"},
    {40, "Function not supported"},
    {41, "Directory not empty"},
    {42, "Illegal byte sequence"},
    {80, "String was truncated"},
};

const char* messageFor(int32_t number) {
    for (const ErrorMessage& m : kMessages)
        if (m.number == number) return m.text;
    return nullptr;
}

}  // namespace

// A number without a message leaves the buffer exactly as it was.  A
// message longer than the buffer is cut to fit, still terminated.
void QLCommon::GetLastErrorText(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !buffer || capacity < 1) return;
    const char* text = messageFor(state_->streamError);
    if (!text) return;
    int32_t i = 0;
    for (; i < capacity - 1 && text[i]; ++i) buffer[i] = static_cast<QLWChar>(text[i]);
    buffer[i] = 0;
}

}  // namespace ql
