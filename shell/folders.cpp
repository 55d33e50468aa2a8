// The host's folder tree and named files (slots 28-30, 32, 34-41, 44).
//
// Each operation composes one path of the tree in the caller's buffer and
// creates the levels the tree says it creates, through the folder platform.
// The rules every step keeps (see docs/shell-folders.md):
//   - a step appends with a bound: the caller's capacity, or 512 where the
//     tree says so, and never more than the capacity;
//   - a path that does not fit its bound leaves the empty string, and the
//     steps after it neither append nor create;
//   - a base folder the platform cannot give leaves the empty string too;
//   - a null buffer or a capacity below 1 makes the operation do nothing.
#include <algorithm>

#include "object/qlcommon_impl.h"
#include "shell/folder_platform.h"
#include "object/wide_text.h"
#include "shell/folder_tree.h"

namespace ql {

namespace {


// The bounds of the steps.
size_t capBound(int32_t capacity) { return static_cast<size_t>(capacity); }
size_t fixedBound(int32_t capacity) { return std::min(kWorkingSize, static_cast<size_t>(capacity)); }

bool usable(const QLWChar* buffer, int32_t capacity) { return buffer != nullptr && capacity > 0; }

// The base folder `folder` into `buffer`.  The platform writes into a
// buffer of its own size, so a small capacity is never overrun.
bool putBase(QLWChar* buffer, size_t bound, int32_t folder) {
    QLWChar base[kMaxPath + 1] = {};
    const int32_t hr = folderPlatform().SHGetFolderPathW(nullptr, folder, nullptr, kShgfpTypeDefault, base);
    base[kMaxPath] = 0;
    if (hr < 0 || base[0] == 0) {
        buffer[0] = 0;
        return false;
    }
    return copyBounded(buffer, bound, base);
}

// The create step: its result is not examined.
void create(const QLWChar* path) { folderPlatform().CreateDirectoryW(path, nullptr); }

// Appends, then creates when the append fitted.
bool appendAndCreate(QLWChar* buffer, size_t bound, const QLWChar* name) {
    if (!appendBounded(buffer, bound, name)) return false;
    create(buffer);
    return true;
}

}  // namespace

void QLCommon::GetUserCompanyFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    if (putBase(buffer, capBound(capacity), kCsidlLocalAppData))
        appendAndCreate(buffer, capBound(capacity), kCompanyFolderName);
}

void QLCommon::GetUserProductFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    call(&ICommonVtbl::GetUserCompanyFolder, buffer, capacity);
    if (buffer[0] != 0) appendAndCreate(buffer, capBound(capacity), kProductFolderName);
}

void QLCommon::GetCommonCompanyFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    if (putBase(buffer, capBound(capacity), kCsidlCommonAppData))
        appendAndCreate(buffer, capBound(capacity), kCompanyFolderName);
}

void QLCommon::GetCommonProductFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    if (putBase(buffer, capBound(capacity), kCsidlCommonAppData) &&
        appendAndCreate(buffer, capBound(capacity), kCompanyFolderName))
        appendAndCreate(buffer, capBound(capacity), kProductFolderName);
}

void QLCommon::GetFontsFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    call(&ICommonVtbl::GetCommonProductFolder, buffer, capacity);
    if (buffer[0] != 0) appendAndCreate(buffer, capBound(capacity), kFontsFolderName);
}

void QLCommon::GetJobsFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    // The product folder is composed with the working size (512), kept
    // within a smaller capacity.
    call(&ICommonVtbl::GetCommonProductFolder, buffer, static_cast<int32_t>(fixedBound(capacity)));
    if (buffer[0] != 0) appendAndCreate(buffer, capBound(capacity), kJobsFolderName);
}

void QLCommon::GetDataFilePath(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    call(&ICommonVtbl::GetCommonProductFolder, buffer, capacity);
    if (buffer[0] != 0) appendBounded(buffer, fixedBound(capacity), kDataFileName);  // the file is not touched
}

void QLCommon::GetInstallCompanyFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    // Creating below the program-files folder usually needs rights the
    // user lacks; the refusal passes silently.
    if (putBase(buffer, capBound(capacity), kCsidlProgramFiles))
        appendAndCreate(buffer, fixedBound(capacity), kCompanyFolderName);
}

void QLCommon::GetCacheFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    call(&ICommonVtbl::GetInstallCompanyFolder, buffer, capacity);
    if (buffer[0] != 0) appendBounded(buffer, fixedBound(capacity), kCacheFolderName);  // not created
}

void QLCommon::GetInstallProductFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    call(&ICommonVtbl::GetInstallCompanyFolder, buffer, capacity);
    if (buffer[0] != 0) appendBounded(buffer, fixedBound(capacity), kProductFolderName);  // not created
}

void QLCommon::GetControllersFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    call(&ICommonVtbl::GetInstallProductFolder, buffer, capacity);
    if (buffer[0] != 0) appendBounded(buffer, fixedBound(capacity), kControllersFolderName);  // not created
}

void QLCommon::GetDesktopFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    FolderPlatform& platform = folderPlatform();
    QLWChar* desktop = nullptr;
    const int32_t hr = platform.SHGetKnownFolderPath(kFolderIdDesktop, 0, nullptr, &desktop);
    if (hr >= 0 && desktop)
        copyBounded(buffer, capBound(capacity), desktop);
    else
        buffer[0] = 0;
    if (desktop) platform.CoTaskMemFree(desktop);  // released on failure too
}

}  // namespace ql
