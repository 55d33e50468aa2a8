// The host's folder tree for the tests that change it or put a zlib library into its cache folder.
#ifndef QL_TESTS_HOST_FOLDERS_FILES_H
#define QL_TESTS_HOST_FOLDERS_FILES_H

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "hostkit/host.h"

namespace qltest {

inline std::wstring systemFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_DEFAULT, path);
    return path;
}

// The host's whole tree below the three system folders, gone.
inline void removeHostTree() {
    for (int csidl : {CSIDL_LOCAL_APPDATA, CSIDL_COMMON_APPDATA, CSIDL_PROGRAM_FILES}) {
        const std::wstring tree = systemFolder(csidl) + L"\\Tamarisk Works" + L'\0';  // a list of one path
        SHFILEOPSTRUCTW op{nullptr, FO_DELETE, tree.c_str(), nullptr, FOF_NO_UI, FALSE, nullptr, nullptr};
        SHFileOperationW(&op);
    }
}

// Debian's MinGW-w64 zlib; cacheZlib makes the cache folder's ZLIB1.dll a copy of `dll` (none when empty).
const wchar_t* const kRealZlib = L"Z:\\usr\\x86_64-w64-mingw32\\lib\\zlib1.dll";
const unsigned char kSoak[12] = {0x78, 0x9c, 0x2b, 0xce, 0x4f, 0xcc, 0x06, 0x00, 0x04, 0x4a, 0x01, 0xaf};  // "soak"
inline std::wstring cacheZlib(const std::wstring& dll) {
    wchar_t path[1024] = {};
    hostkit::Object()->GetCacheFolder(path, 1024);
    CreateDirectoryW(path, nullptr);  // the library does not create it
    const std::wstring cached = path + std::wstring(L"\\ZLIB1.dll");
    DeleteFileW(cached.c_str());
    if (!dll.empty()) CopyFileW(dll.c_str(), cached.c_str(), FALSE);
    return cached;
}

}  // namespace qltest

#endif
