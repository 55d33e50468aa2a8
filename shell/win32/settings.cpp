// The two remembered paths of the settings file (slots 31, 33, 42, 43).
//
// Section "Current Settings" of the settings file, keys "Job File Path" and
// "Graphix File Path".  A read composes its default first (creating the
// folders of that default), then asks the system for the value; no read
// creates the settings file.  A write hands the value to the system
// unchanged; the system creates the file and section as needed.
#include <windows.h>

#include <algorithm>

#include "base/wide_text.h"
#include "object/win32/qlcommon_impl.h"
#include "shell/names.h"

namespace ql {

namespace {

constexpr const QLWChar* kSection = QL_WIDE("Current Settings");
constexpr const QLWChar* kJobKey = QL_WIDE("Job File Path");
constexpr const QLWChar* kGraphixKey = QL_WIDE("Graphix File Path");

// The value of `key`, or `fallback`, into out (capacity units).  Without a
// settings path (its folders could not be composed) the fallback is the
// answer, as for a missing file, truncated the same way.
void readSetting(const QLWChar* key, const QLWChar* fallback, const QLWChar* file, QLWChar* out, int32_t capacity) {
    if (file && file[0] != 0) {
        GetPrivateProfileStringW(kSection, key, fallback, out, static_cast<uint32_t>(capacity), file);
        return;
    }
    const size_t n = std::min(textLength(fallback, kWorkingSize), static_cast<size_t>(capacity) - 1);
    copyCounted(out, static_cast<size_t>(capacity), fallback, n);
}

void writeSetting(const QLWChar* key, const QLWChar* value, const QLWChar* file) {
    if (file && file[0] != 0) WritePrivateProfileStringW(kSection, key, value, file);
}

}  // namespace

void QLCommon::GetJobFilePath(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !buffer || capacity <= 0) return;
    QLWChar fallback[kWorkingSize] = {};
    call(&ICommonVtbl::GetJobsFolder, fallback, static_cast<int32_t>(kWorkingSize));  // creates the jobs folder
    readSetting(kJobKey, fallback, call(&ICommonVtbl::GetSettingsFilePath), buffer, capacity);
}

void QLCommon::GetGraphixFilePath(QLWChar* buffer, int32_t capacity) {
    if (!state_ || !buffer || capacity <= 0) return;
    QLWChar fallback[kWorkingSize] = {};
    call(&ICommonVtbl::GetCommonProductFolder, fallback, static_cast<int32_t>(kWorkingSize));
    // The graphics folder exists after every read, whatever the stored value.
    if (fallback[0] != 0 && appendBounded(fallback, kWorkingSize, kGraphixFolderName))
        CreateDirectoryW(fallback, nullptr);
    readSetting(kGraphixKey, fallback, call(&ICommonVtbl::GetSettingsFilePath), buffer, capacity);
}

void QLCommon::SetJobFilePath(const QLWChar* value) {
    if (!state_) return;
    writeSetting(kJobKey, value, call(&ICommonVtbl::GetSettingsFilePath));
}

void QLCommon::SetGraphixFilePath(const QLWChar* value) {
    if (!state_) return;
    writeSetting(kGraphixKey, value, call(&ICommonVtbl::GetSettingsFilePath));
}

}  // namespace ql
