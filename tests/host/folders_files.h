// The host's folder tree for the tests that change it (the folder tests,
// and the inflate tests that put a zlib library into the cache folder).
#ifndef QL_TESTS_HOST_FOLDERS_FILES_H
#define QL_TESTS_HOST_FOLDERS_FILES_H

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

namespace qltest {

// Programs that change the tree run one at a time, also when CTest starts
// them in parallel: each waits for this named mutex of the Wine session and
// holds it until it exits (an abandoned mutex goes to the next waiter).
struct HostTreeLock {
    HostTreeLock() { WaitForSingleObject(CreateMutexW(nullptr, FALSE, L"Local\\QLCommonHostTreeTests"), INFINITE); }
};

// A system folder as SHGetFolderPathW reports its default location.
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

}  // namespace qltest

#endif
