// What the stream back end needs from the platform's runtime library: a
// stream opened by a UTF-16 path, and the length of an open stream's file.
// The DLL uses the wide-character open of its runtime; the native build
// converts the path to UTF-8.
#ifndef QL_DATAFILE_STREAM_PLATFORM_H
#define QL_DATAFILE_STREAM_PLATFORM_H

#include <cstdint>
#include <cstdio>

#include "qlcommon.h"

namespace ql {

// Opens path with mode "wb", "ab" or "rb".  Null on failure, with errno set
// by the runtime.  The stream comes back unbuffered: the data file's own
// buffer already gathers the traffic into 65536-byte pieces.
std::FILE* openStreamW(const QLWChar* path, const char* mode);

// The length of the file behind stream, through its descriptor.  False on
// failure, with errno set.
bool streamFileLength(std::FILE* stream, int64_t* length);

}  // namespace ql

#endif
