// The stream back end's runtime calls in the native build: the UTF-16 path
// converted to UTF-8 for fopen.
#include "datafile/stream_platform.h"

#include <sys/stat.h>

#include <cerrno>

#include "base/wide_text.h"

namespace ql {

std::FILE* openStreamW(const QLWChar* path, const char* mode) {
    std::FILE* f = std::fopen(toUtf8(path).c_str(), mode);
    if (!f) return nullptr;
    // A folder is no data file.  The C library refuses one for writing
    // (EISDIR) but opens it for reading, where every read would then fail
    // and the length would be the folder's; refused here with its number.
    struct stat st {};
    if (fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f);
        errno = EISDIR;
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
