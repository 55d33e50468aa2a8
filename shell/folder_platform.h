// The platform calls behind the folder tree and the settings file.
//
// Each member is named after the Win32 call it stands for and takes the
// same arguments in portable types.  shell/win32/ makes the real calls;
// shell/posix/ maps them onto the native system (see docs/shell-folders.md).
// Unit tests install a recording fake with setFolderPlatform.
#ifndef QL_SHELL_FOLDER_PLATFORM_H
#define QL_SHELL_FOLDER_PLATFORM_H

#include <cstddef>
#include <cstdint>

#include "qlcommon.h"

namespace ql {

// A GUID laid out as the system lays it out (KNOWNFOLDERID).
struct QLGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

// FOLDERID_Desktop {B4BFCC3A-DB2C-424C-B029-7FE99A87C641}.
constexpr QLGuid kFolderIdDesktop = {0xB4BFCC3A, 0xDB2C, 0x424C, {0xB0, 0x29, 0x7F, 0xE9, 0x9A, 0x87, 0xC6, 0x41}};

// Folder ids of SHGetFolderPathW, without CSIDL_FLAG_CREATE.
constexpr int32_t kCsidlLocalAppData = 0x1C;
constexpr int32_t kCsidlCommonAppData = 0x23;
constexpr int32_t kCsidlProgramFiles = 0x26;
constexpr uint32_t kShgfpTypeDefault = 1;  // the default location, not a redirected one

// SHGetFolderPathW writes at most this many units, terminator included.
constexpr size_t kMaxPath = 260;

struct FolderPlatform {
    virtual ~FolderPlatform() = default;
    // HRESULT: 0 or above is success.  `path` holds kMaxPath units.
    virtual int32_t SHGetFolderPathW(void* owner, int32_t folder, void* token, uint32_t flags, QLWChar* path) = 0;
    // BOOL.  An existing folder is a failure the callers ignore.
    virtual int32_t CreateDirectoryW(const QLWChar* path, void* security) = 0;
    // HRESULT; `*path` is released with CoTaskMemFree, also on failure.
    virtual int32_t SHGetKnownFolderPath(const QLGuid& folder, uint32_t flags, void* token, QLWChar** path) = 0;
    virtual void CoTaskMemFree(void* block) = 0;
    // Copies the value, or `fallback` on any miss, truncated to size - 1
    // units and terminated; returns the units copied.
    virtual uint32_t GetPrivateProfileStringW(const QLWChar* section, const QLWChar* key, const QLWChar* fallback,
                                              QLWChar* out, uint32_t size, const QLWChar* file) = 0;
    // Creates the file and section as needed; a null value removes the key.
    virtual int32_t WritePrivateProfileStringW(const QLWChar* section, const QLWChar* key, const QLWChar* value,
                                               const QLWChar* file) = 0;
};

// The current implementation: the platform's own unless a test set another.
FolderPlatform& folderPlatform();
// Installs `platform` (null restores the platform's own) and returns the
// one that was current.
FolderPlatform* setFolderPlatform(FolderPlatform* platform);
// The platform's own implementation (shell/win32/ or shell/posix/).
FolderPlatform& nativeFolderPlatform();

// Forgets the process-wide settings path, for unit tests that change the
// folders below it.  The library itself never clears it.
void clearSettingsPathCacheForTests();

}  // namespace ql

#endif
