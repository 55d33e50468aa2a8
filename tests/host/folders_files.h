// File-system helpers for the folder, settings and inflate host tests.
#ifndef QL_TESTS_WINE_FOLDERS_FILES_H
#define QL_TESTS_WINE_FOLDERS_FILES_H

#include "hostkit/host.h"
#include <windows.h>
#include <shlobj.h>

#include <string>

namespace qltest {
using namespace hostkit;

// Test programs that change the host's folder tree (removing it, putting
// a zlib library into the cache folder) run one at a time, also when CTest
// starts them in parallel: each holds this named mutex of the Wine session
// from start to exit.  An abandoned mutex is granted to the next waiter.
class HostTreeLock {
public:
    HostTreeLock() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\QLCommonHostTreeTests")) {
        if (mutex_) WaitForSingleObject(mutex_, INFINITE);
    }
    ~HostTreeLock() {
        if (mutex_) {
            ReleaseMutex(mutex_);
            CloseHandle(mutex_);
        }
    }
    HostTreeLock(const HostTreeLock&) = delete;
    HostTreeLock& operator=(const HostTreeLock&) = delete;

private:
    HANDLE mutex_;
};

// A system folder as SHGetFolderPathW reports its default location.
inline std::wstring systemFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_DEFAULT, path);
    return path;
}

inline bool isFolder(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool isFile(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// A whole file's bytes ("" when it cannot be read).
inline std::string fileBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(h, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(h);
    return bytes;
}

// Removes a folder and everything below it.
inline void removeTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(h, &found));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

// The host's whole tree below the three system folders, gone.
inline void removeHostTree() {
    removeTree(systemFolder(CSIDL_LOCAL_APPDATA) + L"\\Tamarisk Works");
    removeTree(systemFolder(CSIDL_COMMON_APPDATA) + L"\\Tamarisk Works");
    removeTree(systemFolder(CSIDL_PROGRAM_FILES) + L"\\Tamarisk Works");
}

}  // namespace qltest

#endif
