// GetSettingsFilePath (slot 38): the settings file's path, composed once
// per process and shared by every service object.
//
// The library takes no locks.  Two threads that both find the cache empty
// each compose the path in a buffer of their own (creating the same folders,
// which is harmless) and then publish the same text: every unit after the
// first, then the first unit with a release store.  A reader tests the
// first unit with an acquire load, so once it sees a non-empty cache it
// also sees the whole text.  The racing writers store identical units, so
// the text never changes once visible.  A failed composition publishes
// nothing and the next call tries again.
#include "object/qlcommon_impl.h"
#include "shell/folder_platform.h"
#include "object/wide_text.h"
#include "shell/folder_tree.h"

namespace ql {

namespace {


// Empty at load; filled by the first successful call; never cleared.
QLWChar settingsPathCache[kWorkingSize];

bool cacheFilled() { return __atomic_load_n(&settingsPathCache[0], __ATOMIC_ACQUIRE) != 0; }

void publish(const QLWChar* path) {
    const size_t n = textLength(path, kWorkingSize);
    for (size_t i = 1; i <= n && i < kWorkingSize; ++i) settingsPathCache[i] = path[i];
    __atomic_store_n(&settingsPathCache[0], path[0], __ATOMIC_RELEASE);
}

}  // namespace

const QLWChar* QLCommon::GetSettingsFilePath() {
    if (!state_) return nullptr;
    if (cacheFilled()) return settingsPathCache;
    QLWChar path[kWorkingSize] = {};
    call(&ICommonVtbl::GetUserProductFolder, path, static_cast<int32_t>(kWorkingSize));
    if (path[0] != 0 && appendBounded(path, kWorkingSize, kSettingsFileName)) publish(path);
    return settingsPathCache;
}

void clearSettingsPathCacheForTests() {
    __atomic_store_n(&settingsPathCache[0], QLWChar{0}, __ATOMIC_RELEASE);
}

}  // namespace ql
