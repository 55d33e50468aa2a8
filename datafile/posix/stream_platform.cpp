// The stream back end's runtime calls in the native build: the UTF-16 path
// converted to UTF-8 for fopen.
#include "datafile/stream_platform.h"

#include <sys/stat.h>

#include <cerrno>

#include "base/wide_text.h"

namespace ql {

std::FILE* openStreamW(const QLWChar* path, const char* mode) {
    std::FILE* f = std::fopen(toUtf8(path).c_str(), mode);
    // The DLL's runtime refuses a folder in every mode with EACCES; so does
    // this, whether the C library refused it (writing) or opened it (reading).
    if (!f) {
        if (errno == EISDIR) errno = EACCES;
        return nullptr;
    }
    struct stat st {};
    if (fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f);
        errno = EACCES;
        return nullptr;
    }
    std::setvbuf(f, nullptr, _IONBF, 0);
    return f;
}

bool streamFileLength(std::FILE* stream, int64_t* length) {
    struct stat st {};
    if (fstat(fileno(stream), &st) != 0) return false;
    *length = st.st_size;
    return true;
}

}  // namespace ql
