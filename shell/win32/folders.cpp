// The host's folder tree and named files (slots 28-30, 32, 34-41, 44).
//
// Each operation composes one path of the tree in the caller's buffer and
// creates the levels the tree says it creates: one rule a path in the table
// below, one body that follows it.  The rules every step keeps (see docs/shell-folders.md):
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
#include <initializer_list>

#include "base/wide_text.h"
#include "object/win32/qlcommon_impl.h"
#include "shell/names.h"
#include "shell/win32/shell_handles.h"

namespace ql {

namespace {

// A step's bound: the capacity, or 512 within the capacity; and whether it
// makes the level it appended.
enum Bound { toCap, to512 };
enum Level { made, notMade };

using FolderSlot = decltype(&ICommonVtbl::GetUserCompanyFolder);

// A base folder (its CSIDL), or another operation run through the table on
// the same buffer, with the capacity bounded so.
struct Start {
    int baseFolder;
    FolderSlot slot;
    Bound bound;
};
constexpr Start base(int csidl) { return {csidl, nullptr, toCap}; }
constexpr Start after(FolderSlot slot, Bound bound = toCap) { return {0, slot, bound}; }

struct Step {
    const QLWChar* name;  // null: no step
    Bound bound;
    Level level;
};

struct FolderRule {
    Start start;
    Step first;
    Step second = {nullptr, toCap, notMade};  // none by default
};

using V = ICommonVtbl;

// The tree, one rule a path: where it starts, then each name appended.
// Making a folder below program files usually needs rights the user lacks;
// the refusal passes silently.
const FolderRule kUserCompany    = {base(CSIDL_LOCAL_APPDATA),                {kCompanyFolderName, toCap, made}};
const FolderRule kUserProduct    = {after(&V::GetUserCompanyFolder),          {kProductFolderName, toCap, made}};
const FolderRule kCommonCompany  = {base(CSIDL_COMMON_APPDATA),               {kCompanyFolderName, toCap, made}};
const FolderRule kCommonProduct  = {base(CSIDL_COMMON_APPDATA),               {kCompanyFolderName, toCap, made},
                                                                              {kProductFolderName, toCap, made}};
const FolderRule kFonts          = {after(&V::GetCommonProductFolder),        {kFontsFolderName, toCap, made}};
const FolderRule kJobs           = {after(&V::GetCommonProductFolder, to512), {kJobsFolderName, toCap, made}};
const FolderRule kDataFile       = {after(&V::GetCommonProductFolder),        {kDataFileName, to512, notMade}};
const FolderRule kInstallCompany = {base(CSIDL_PROGRAM_FILES),                {kCompanyFolderName, to512, made}};
const FolderRule kCache          = {after(&V::GetInstallCompanyFolder),       {kCacheFolderName, to512, notMade}};
const FolderRule kInstallProduct = {after(&V::GetInstallCompanyFolder),       {kProductFolderName, to512, notMade}};
const FolderRule kControllers    = {after(&V::GetInstallProductFolder),       {kControllersFolderName, to512, notMade}};

size_t boundOf(Bound bound, int32_t capacity) {
    const auto cap = static_cast<size_t>(capacity);
    return bound == toCap ? cap : std::min(kWorkingSize, cap);
}

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

// The one body, keeping the rules above; a creation's result is not examined.
void compose(QLCommon& self, const FolderRule& rule, QLWChar* buffer, int32_t capacity) {
    if (!self.state() || !buffer || capacity < 1) return;
    if (rule.start.slot) {
        self.call(rule.start.slot, buffer, static_cast<int32_t>(boundOf(rule.start.bound, capacity)));
        if (buffer[0] == 0) return;
    } else if (!putBase(buffer, boundOf(toCap, capacity), rule.start.baseFolder)) {
        return;
    }
    for (const Step& step : {rule.first, rule.second}) {
        if (!step.name || !appendBounded(buffer, boundOf(step.bound, capacity), step.name)) return;
        if (step.level == made) CreateDirectoryW(buffer, nullptr);
    }
}

}  // namespace

void QLCommon::GetUserCompanyFolder(QLWChar* b, int32_t n) { compose(*this, kUserCompany, b, n); }
void QLCommon::GetUserProductFolder(QLWChar* b, int32_t n) { compose(*this, kUserProduct, b, n); }
void QLCommon::GetCommonCompanyFolder(QLWChar* b, int32_t n) { compose(*this, kCommonCompany, b, n); }
void QLCommon::GetCommonProductFolder(QLWChar* b, int32_t n) { compose(*this, kCommonProduct, b, n); }
void QLCommon::GetFontsFolder(QLWChar* b, int32_t n) { compose(*this, kFonts, b, n); }
void QLCommon::GetJobsFolder(QLWChar* b, int32_t n) { compose(*this, kJobs, b, n); }
void QLCommon::GetDataFilePath(QLWChar* b, int32_t n) { compose(*this, kDataFile, b, n); }
void QLCommon::GetInstallCompanyFolder(QLWChar* b, int32_t n) { compose(*this, kInstallCompany, b, n); }
void QLCommon::GetCacheFolder(QLWChar* b, int32_t n) { compose(*this, kCache, b, n); }
void QLCommon::GetInstallProductFolder(QLWChar* b, int32_t n) { compose(*this, kInstallProduct, b, n); }
void QLCommon::GetControllersFolder(QLWChar* b, int32_t n) { compose(*this, kControllers, b, n); }

void QLCommon::GetDesktopFolder(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !buffer || capacity < 1) return;
    ShellText desktop;  // freed on failure too
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, desktop.put());
    if (SUCCEEDED(hr) && desktop)
        copyBounded(buffer, static_cast<size_t>(capacity), desktop.get());
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
