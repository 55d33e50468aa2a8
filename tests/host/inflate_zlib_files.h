// The zlib library files of the inflate host tests: the real zlib1.dll
// from the MinGW-w64 zlib package (as the Z: drive shows it), copied into
// the cache folder the library reports, and compression with it.
#ifndef QL_TESTS_WINE_INFLATE_ZLIB_FILES_H
#define QL_TESTS_WINE_INFLATE_ZLIB_FILES_H

#include <windows.h>

#include <string>
#include <vector>

#include "folders_files.h"
#include "hostkit/host.h"

namespace qltest {
using namespace hostkit;

inline std::string narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

// Debian's libz-mingw-w64; QL_ZLIB_DLL names another copy.
inline std::wstring sourceZlib() {
    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"QL_ZLIB_DLL", path, MAX_PATH)) return path;
    return L"Z:\\usr\\x86_64-w64-mingw32\\lib\\zlib1.dll";
}

inline std::wstring cacheFolder() {
    Object obj;
    wchar_t path[1024] = {};
    obj->GetCacheFolder(path, 1024);
    return path;
}

inline std::wstring cachedZlib() { return cacheFolder() + L"\\ZLIB1.dll"; }

// Puts `file` in the cache folder as ZLIB1.dll (the library does not
// create the cache folder itself).
inline bool installZlib(const std::wstring& file) {
    CreateDirectoryW(cacheFolder().c_str(), nullptr);
    return CopyFileW(file.c_str(), cachedZlib().c_str(), FALSE) != 0;
}

inline void removeZlib() { DeleteFileW(cachedZlib().c_str()); }

// True while some module of the process is the cache folder's ZLIB1.dll.
inline bool zlibLoaded() { return GetModuleHandleW(cachedZlib().c_str()) != nullptr; }

// `text` compressed into the zlib format with the real library, which is
// unloaded again afterwards.
inline std::vector<unsigned char> compress(const std::string& text, int level = 6) {
    std::vector<unsigned char> out;
    HMODULE z = LoadLibraryExW(sourceZlib().c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!z) return out;
    using Bound = unsigned long (*)(unsigned long);
    using Compress2 = int (*)(unsigned char*, unsigned long*, const unsigned char*, unsigned long, int);
    auto bound = reinterpret_cast<Bound>(reinterpret_cast<void*>(GetProcAddress(z, "compressBound")));
    auto compress2 = reinterpret_cast<Compress2>(reinterpret_cast<void*>(GetProcAddress(z, "compress2")));
    unsigned long size = bound(static_cast<unsigned long>(text.size()));
    out.resize(size);
    if (compress2(out.data(), &size, reinterpret_cast<const unsigned char*>(text.data()),
                  static_cast<unsigned long>(text.size()), level) == 0)
        out.resize(size);
    else
        out.clear();
    FreeLibrary(z);
    return out;
}

}  // namespace qltest

#endif
