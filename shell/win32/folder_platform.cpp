// The folder platform on Windows: the real shell, kernel and COM calls.
#include <windows.h>
#include <shlobj.h>

#include "shell/folder_platform.h"

namespace ql {

namespace {

static_assert(sizeof(QLGuid) == sizeof(KNOWNFOLDERID), "GUID layout");
static_assert(kMaxPath == MAX_PATH, "SHGetFolderPathW writes MAX_PATH units");

struct Win32FolderPlatform final : FolderPlatform {
    int32_t SHGetFolderPathW(void* owner, int32_t folder, void* token, uint32_t flags, QLWChar* path) override {
        return ::SHGetFolderPathW(static_cast<HWND>(owner), folder, static_cast<HANDLE>(token), flags, path);
    }
    int32_t CreateDirectoryW(const QLWChar* path, void* security) override {
        return ::CreateDirectoryW(path, static_cast<LPSECURITY_ATTRIBUTES>(security));
    }
    int32_t SHGetKnownFolderPath(const QLGuid& folder, uint32_t flags, void* token, QLWChar** path) override {
        return ::SHGetKnownFolderPath(reinterpret_cast<const KNOWNFOLDERID&>(folder), flags,
                                      static_cast<HANDLE>(token), path);
    }
    void CoTaskMemFree(void* block) override { ::CoTaskMemFree(block); }
    uint32_t GetPrivateProfileStringW(const QLWChar* section, const QLWChar* key, const QLWChar* fallback,
                                      QLWChar* out, uint32_t size, const QLWChar* file) override {
        return ::GetPrivateProfileStringW(section, key, fallback, out, size, file);
    }
    int32_t WritePrivateProfileStringW(const QLWChar* section, const QLWChar* key, const QLWChar* value,
                                       const QLWChar* file) override {
        return ::WritePrivateProfileStringW(section, key, value, file);
    }
};

}  // namespace

FolderPlatform& nativeFolderPlatform() {
    static Win32FolderPlatform platform;
    return platform;
}

}  // namespace ql
