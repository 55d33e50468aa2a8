// The stream back end's runtime calls in the DLL: the wide-character open
// and the descriptor's length.
#include "datafile/stream_platform.h"

#include <io.h>
#include <stdio.h>

namespace ql {

std::FILE* openStreamW(const QLWChar* path, const char* mode) {
    wchar_t wideMode[4] = {};
    for (int i = 0; i < 3 && mode[i]; ++i) wideMode[i] = static_cast<wchar_t>(mode[i]);
    std::FILE* f = _wfopen(path, wideMode);
    if (f) std::setvbuf(f, nullptr, _IONBF, 0);
    return f;
}

bool streamFileLength(std::FILE* stream, int64_t* length) {
    const int fd = _fileno(stream);
    if (fd < 0) return false;
    const __int64 n = _filelengthi64(fd);
    if (n < 0) return false;
    *length = n;
    return true;
}

}  // namespace ql
