// The handle back end's system calls in the native build, made with POSIX
// calls: a handle is a file descriptor, and the error codes are the Win32
// codes the same failures give in the DLL.
#include "datafile/file_api.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "object/wide_text.h"

namespace ql {

namespace {

// Handles are descriptors plus one, so that descriptor 0 is not null.
void* handleFromFd(int fd) { return reinterpret_cast<void*>(static_cast<intptr_t>(fd) + 1); }
int fdFromHandle(void* handle) { return static_cast<int>(reinterpret_cast<intptr_t>(handle) - 1); }

uint32_t win32ErrorFromErrno(int e) {
    switch (e) {
    case 0: return 0;
    case ENOENT: return 2;              // ERROR_FILE_NOT_FOUND
    case ENOTDIR: return 3;             // ERROR_PATH_NOT_FOUND
    case EMFILE: case ENFILE: return 4; // ERROR_TOO_MANY_OPEN_FILES
    case EACCES: case EPERM: case EISDIR: case EROFS: return 5;  // ERROR_ACCESS_DENIED
    case EBADF: return 6;               // ERROR_INVALID_HANDLE
    case EEXIST: return 80;             // ERROR_FILE_EXISTS
    case EINVAL: return 87;             // ERROR_INVALID_PARAMETER
    case ENOSPC: return 112;            // ERROR_DISK_FULL
    case ENAMETOOLONG: return 206;      // ERROR_FILENAME_EXCED_RANGE
    default: return 31;                 // ERROR_GEN_FAILURE
    }
}

struct PosixFileApi final : FileApi {
    uint32_t lastError = 0;

    void* fail(int e) {
        lastError = win32ErrorFromErrno(e);
        return fileapi::invalidHandle();
    }

    void* CreateFileW(const QLWChar* path, uint32_t access, uint32_t /*shareMode*/, void* /*security*/,
                      uint32_t disposition, uint32_t /*attributes*/, void* /*templateFile*/) override {
        if (!path) return fail(ENOENT);
        int flags = O_CLOEXEC;
        if (access & fileapi::kReadData) flags |= (access & (fileapi::kWriteData | fileapi::kAppendData)) ? O_RDWR : O_RDONLY;
        else flags |= O_WRONLY;
        if ((access & fileapi::kAppendData) && !(access & fileapi::kWriteData)) flags |= O_APPEND;
        switch (disposition) {
        case fileapi::kCreateAlways: flags |= O_CREAT | O_TRUNC; break;
        case fileapi::kOpenExisting: break;
        case fileapi::kOpenAlways: flags |= O_CREAT; break;
        default: return fail(EINVAL);
        }
        const int fd = ::open(toUtf8(path).c_str(), flags, 0666);
        if (fd < 0) return fail(errno);
        // A folder is not a file to the Win32 call either.
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            return fail(EACCES);
        }
        lastError = 0;
        return handleFromFd(fd);
    }

    bool WriteFile(void* handle, const void* data, uint32_t count, uint32_t* written) override {
        const auto* p = static_cast<const char*>(data);
        uint32_t done = 0;
        while (done < count) {
            const ssize_t n = ::write(fdFromHandle(handle), p + done, count - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                *written = done;
                lastError = win32ErrorFromErrno(n < 0 ? errno : ENOSPC);
                return false;
            }
            done += static_cast<uint32_t>(n);
        }
        *written = done;
        return true;
    }

    uint32_t GetFileSize(void* handle, uint32_t* high) override {
        struct stat st {};
        if (::fstat(fdFromHandle(handle), &st) != 0) {
            lastError = win32ErrorFromErrno(errno);
            return fileapi::kInvalidSize;
        }
        const auto size = static_cast<uint64_t>(st.st_size);
        if (high) *high = static_cast<uint32_t>(size >> 32);
        lastError = 0;
        return static_cast<uint32_t>(size);
    }

    bool CloseHandle(void* handle) override {
        if (::close(fdFromHandle(handle)) != 0) {
            lastError = win32ErrorFromErrno(errno);
            return false;
        }
        return true;
    }

    uint32_t GetLastError() override { return lastError; }
};

}  // namespace

FileApi& platformFileApi() {
    static PosixFileApi api;
    return api;
}

}  // namespace ql
