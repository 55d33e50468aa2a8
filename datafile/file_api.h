// The platform seam of the system-handle back end: the five system calls it
// makes, named after the Win32 calls, with portable types.  The DLL makes
// the real calls (win32/file_api.cpp); the native build opens and writes
// files through POSIX calls (posix/file_api.cpp); unit tests install a
// recording fake with setFileApi.
#ifndef QL_DATAFILE_FILE_API_H
#define QL_DATAFILE_FILE_API_H

#include <cstdint>

#include "qlcommon.h"

namespace ql {

// Values the handle back end passes to CreateFileW.
namespace fileapi {
constexpr uint32_t kReadData = 1;         // FILE_READ_DATA
constexpr uint32_t kWriteData = 2;        // FILE_WRITE_DATA
constexpr uint32_t kAppendData = 4;       // FILE_APPEND_DATA
constexpr uint32_t kCreateAlways = 2;     // CREATE_ALWAYS
constexpr uint32_t kOpenExisting = 3;     // OPEN_EXISTING
constexpr uint32_t kOpenAlways = 4;       // OPEN_ALWAYS
constexpr uint32_t kNormal = 0x80;        // FILE_ATTRIBUTE_NORMAL
constexpr uint32_t kInvalidSize = 0xFFFFFFFFu;  // INVALID_FILE_SIZE
inline void* invalidHandle() { return reinterpret_cast<void*>(~uintptr_t{0}); }  // INVALID_HANDLE_VALUE
}  // namespace fileapi

struct FileApi {
    virtual void* CreateFileW(const QLWChar* path, uint32_t access, uint32_t shareMode, void* security,
                              uint32_t disposition, uint32_t attributes, void* templateFile) = 0;
    // True on success; *written receives the bytes written.
    virtual bool WriteFile(void* handle, const void* data, uint32_t count, uint32_t* written) = 0;
    virtual uint32_t GetFileSize(void* handle, uint32_t* high) = 0;
    virtual bool CloseHandle(void* handle) = 0;
    virtual uint32_t GetLastError() = 0;

protected:
    ~FileApi() = default;
};

// The platform's implementation unless a test installed another.
FileApi& fileApi();
// Installs api (not owned); null puts the platform's implementation back.
void setFileApi(FileApi* api);

// The platform's own implementation (win32/ or posix/).
FileApi& platformFileApi();

}  // namespace ql

#endif
