// zlib's stream record as the library sees it, and the values it hands to
// zlib's entry points.  The library does not link zlib: the DLL loads it at
// run time (datafile/win32/inflate.cpp).
#ifndef QL_DATAFILE_ZSTREAM_H
#define QL_DATAFILE_ZSTREAM_H

#include <cstdint>

namespace ql {

// zlib's z_stream (zlib 1.3.1).  The library sets the input, output and
// allocator members and reads total_out; zlib owns the rest.  uLong is
// `unsigned long`: 32 bits on Windows, so the record is 88 bytes there.
struct ZStreamRecord {
    const uint8_t* next_in;
    unsigned int avail_in;
    unsigned long total_in;
    uint8_t* next_out;
    unsigned int avail_out;
    unsigned long total_out;
    const char* msg;
    void* state;
    void* zalloc;
    void* zfree;
    void* opaque;
    int data_type;
    unsigned long adler;
    unsigned long reserved;
};
#ifdef _WIN64
static_assert(sizeof(ZStreamRecord) == 88, "z_stream on 64-bit Windows");
#endif

// Entry points fetched from the zlib library.
using InflateInitFn = int (*)(void* stream, const char* version, int streamSize);
using InflateFn = int (*)(void* stream, int flush);
using InflateEndFn = int (*)(void* stream);

}  // namespace ql

#endif
