// The handle back end's system calls in the DLL: the real Win32 calls.
#include <windows.h>

#include "datafile/file_api.h"
#include "object/win32/system_calls.h"

namespace ql {

// The handle back end's system calls, overridable by name for fault tests.
SystemCall handleFileCalls[] = {
    QL_SYSTEM_CALL(CreateFileW), QL_SYSTEM_CALL(WriteFile), QL_SYSTEM_CALL(GetFileSize),
    QL_SYSTEM_CALL(CloseHandle), QL_SYSTEM_CALL(GetLastError),
};
extern const size_t handleFileCallCount = sizeof handleFileCalls / sizeof handleFileCalls[0];

namespace {
struct Win32FileApi final : FileApi {
    void* CreateFileW(const QLWChar* path, uint32_t access, uint32_t shareMode, void* security,
                      uint32_t disposition, uint32_t attributes, void* templateFile) override {
        return ::CreateFileW(path, access, shareMode, static_cast<LPSECURITY_ATTRIBUTES>(security), disposition,
                             attributes, static_cast<HANDLE>(templateFile));
    }
    bool WriteFile(void* handle, const void* data, uint32_t count, uint32_t* written) override {
        DWORD n = 0;
        const BOOL ok = ::WriteFile(static_cast<HANDLE>(handle), data, count, &n, nullptr);
        *written = n;
        return ok != FALSE;
    }
    uint32_t GetFileSize(void* handle, uint32_t* high) override {
        DWORD h = 0;
        const DWORD low = ::GetFileSize(static_cast<HANDLE>(handle), high ? &h : nullptr);
        if (high) *high = h;
        return low;
    }
    bool CloseHandle(void* handle) override { return ::CloseHandle(static_cast<HANDLE>(handle)) != FALSE; }
    uint32_t GetLastError() override { return ::GetLastError(); }
};
}  // namespace

FileApi& platformFileApi() {
    static Win32FileApi api;
    return api;
}

}  // namespace ql
