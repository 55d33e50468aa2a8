// Runtime errno values to the DLL runtime's error numbers, by symbolic name.
#include "datafile/error_numbers.h"

#include <cerrno>

namespace ql {

namespace {
// The DLL runtime's numbers for the errors a file open, close or length can
// report.  On Windows the translation is the identity; on other runtimes
// (glibc numbers ENOSYS, ENOTEMPTY, ENAMETOOLONG and more differently) it is
// what keeps streamError meaning the same in both builds.
constexpr int32_t kIoError = 5;

struct Translation {
    int runtime;
    int32_t saved;
};

constexpr Translation kTranslations[] = {
    {EPERM, 1},   {ENOENT, 2},        {ESRCH, 3},   {EINTR, 4},      {EIO, 5},       {ENXIO, 6},
    {E2BIG, 7},   {ENOEXEC, 8},       {EBADF, 9},   {ECHILD, 10},    {EAGAIN, 11},   {ENOMEM, 12},
    {EACCES, 13}, {EFAULT, 14},       {EBUSY, 16},  {EEXIST, 17},    {EXDEV, 18},    {ENODEV, 19},
    {ENOTDIR, 20}, {EISDIR, 21},      {EINVAL, 22}, {ENFILE, 23},    {EMFILE, 24},   {ENOTTY, 25},
    {EFBIG, 27},  {ENOSPC, 28},       {ESPIPE, 29}, {EROFS, 30},     {EMLINK, 31},   {EPIPE, 32},
    {EDOM, 33},   {ERANGE, 34},       {EDEADLK, 36}, {ENAMETOOLONG, 38}, {ENOLCK, 39}, {ENOSYS, 40},
    {ENOTEMPTY, 41}, {EILSEQ, 42},
#ifdef STRUNCATE
    {STRUNCATE, 80},
#endif
#if defined(ELOOP) && !defined(_WIN32)
    // Too many symbolic links: the nearest the DLL's runtime can say.
    {ELOOP, 38},
#endif
};
}  // namespace

int32_t savedErrorNumber(int runtimeErrno) {
    for (const Translation& t : kTranslations)
        if (t.runtime == runtimeErrno) return t.saved;
    return kIoError;
}

}  // namespace ql
