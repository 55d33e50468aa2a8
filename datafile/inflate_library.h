// The platform calls that load the zlib library at run time, and zlib's
// stream record as the library sees it.
//
// Members are named after the Win32 calls they stand for.  datafile/win32/
// makes the real calls; datafile/posix/ uses dlopen.  Unit tests install a
// recording fake with setLibraryLoader.
#ifndef QL_DATAFILE_INFLATE_LIBRARY_H
#define QL_DATAFILE_INFLATE_LIBRARY_H

#include <cstddef>
#include <cstdint>

#include "qlcommon.h"

namespace ql {

// LoadLibraryExW flag: the library's own dependencies are looked for in
// its folder.
constexpr uint32_t kLoadWithAlteredSearchPath = 8;

struct LibraryLoader {
    virtual ~LibraryLoader() = default;
    virtual void* LoadLibraryExW(const QLWChar* path, void* file, uint32_t flags) = 0;
    virtual void* GetProcAddress(void* module, const char* name) = 0;
    virtual int32_t FreeLibrary(void* module) = 0;  // BOOL
};

LibraryLoader& libraryLoader();
// Installs `loader` (null restores the platform's own) and returns the one
// that was current.
LibraryLoader* setLibraryLoader(LibraryLoader* loader);
LibraryLoader& nativeLibraryLoader();

// The zlib library's file in the cache folder, with its leading separator:
// "\ZLIB1.dll" on Windows, the system's file name elsewhere.
extern const QLWChar* const kZlibFileName;

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

// The version text handed to inflateInit_.
constexpr const char* kZlibVersion = "1.3.1";
constexpr int kZOk = 0;
constexpr int kZStreamEnd = 1;
constexpr int kZNoFlush = 0;

}  // namespace ql

#endif
