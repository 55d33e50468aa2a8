// The host's folder tree and named files (slots 28-30, 32, 34-41, 44).
//
// Each operation composes one path of the tree in the caller's buffer and
// creates the levels the tree says it creates.
// The rules every step keeps (see docs/shell-folders.md):
//   - a step appends with a bound: the caller's capacity, or 512 where the
//     tree says so, and never more than the capacity;
//   - a path that does not fit its bound leaves the empty string, and the
//     steps after it neither append nor create;
//   - a base folder the system cannot give leaves the empty string too;
//   - a null buffer or a capacity below 1 makes the operation do nothing.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <array>

#include "base/wide_text.h"
#include "object/win32/qlcommon_impl.h"
#include "shell/names.h"
#include "shell/win32/shell_handles.h"

namespace ql {

namespace {

// The bounds of the steps.
size_t capBound(int32_t capacity) { return static_cast<size_t>(capacity); }
size_t fixedBound(int32_t capacity) { return std::min(kWorkingSize, static_cast<size_t>(capacity)); }

bool usable(const QLWChar* buffer, int32_t capacity) { return buffer != nullptr && capacity > 0; }

// The base folder `folder` (its default location, not a redirected one)
// into `buffer`.  The system writes into a buffer of its own size, so a
// small capacity is never overrun.
bool putBase(QLWChar* buffer, size_t bound, int folder) {
    QLWChar base[MAX_PATH + 1] = {};
    const HRESULT hr = SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_DEFAULT, base);
    base[MAX_PATH] = 0;
    if (FAILED(hr) || base[0] == 0) {
        buffer[0] = 0;
        return false;
    }
    return copyBounded(buffer, bound, base);
}

// The create step: its result is not examined.
void create(const QLWChar* path) { CreateDirectoryW(path, nullptr); }

// Appends, then creates when the append fitted.
bool appendAndCreate(QLWChar* buffer, size_t bound, const QLWChar* name) {
    if (!appendBounded(buffer, bound, name)) return false;
    create(buffer);
    return true;
}

}  // namespace

void QLCommon::GetUserCompanyFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    if (putBase(buffer, capBound(capacity), CSIDL_LOCAL_APPDATA))
        appendAndCreate(buffer, capBound(capacity), kCompanyFolderName);
}

void QLCommon::GetUserProductFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    call(&ICommonVtbl::GetUserCompanyFolder, buffer, capacity);
    if (buffer[0] != 0) appendAndCreate(buffer, capBound(capacity), kProductFolderName);
}

void QLCommon::GetCommonCompanyFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    if (putBase(buffer, capBound(capacity), CSIDL_COMMON_APPDATA))
        appendAndCreate(buffer, capBound(capacity), kCompanyFolderName);
}

void QLCommon::GetCommonProductFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !usable(buffer, capacity)) return;
    if (putBase(buffer, capBound(capacity), CSIDL_COMMON_APPDATA) &&
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
    if (putBase(buffer, capBound(capacity), CSIDL_PROGRAM_FILES))
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
    ShellText desktop;  // freed on failure too
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, desktop.put());
    if (SUCCEEDED(hr) && desktop)
        copyBounded(buffer, capBound(capacity), desktop.get());
    else
        buffer[0] = 0;
}

// Composed by the first call in the process and kept while the library
// stays loaded.  The language guards the first fill of a local static, so
// two threads that come first at once get one composition.
const QLWChar* QLCommon::GetSettingsFilePath() {
    if (!state_) return nullptr;
    static const std::array<QLWChar, kWorkingSize> cache = [this] {
        std::array<QLWChar, kWorkingSize> path{};
        call(&ICommonVtbl::GetUserProductFolder, path.data(), static_cast<int32_t>(kWorkingSize));
        if (path[0] != 0) appendBounded(path.data(), kWorkingSize, kSettingsFileName);
        return path;
    }();
    return cache.data();
}

}  // namespace ql
