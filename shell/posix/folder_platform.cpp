// The folder platform of the native build.
//
// Paths composed by the portable code use backslashes; they become slashes
// here.  The three base folders are below the user's home folder and the
// system's shared folders:
//   local application data  ~/.local/share
//   common application data /var/lib
//   program files           /opt
//   desktop                 ~/Desktop
// The home folder comes from the password database, not the environment.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/folder_platform.h"
#include "object/wide_text.h"
#include "shell/posix/folder_profile.h"

namespace ql {

namespace {

constexpr int32_t kFailed = static_cast<int32_t>(0x80004005);  // E_FAIL

std::string posixPath(const QLWChar* path) {
    std::string p = toUtf8(path);
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

std::string homeFolder() {
    const passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

struct PosixFolderPlatform final : FolderPlatform {
    int32_t SHGetFolderPathW(void*, int32_t folder, void*, uint32_t, QLWChar* path) override {
        std::string base;
        switch (folder) {
        case kCsidlLocalAppData: base = homeFolder().empty() ? "" : homeFolder() + "/.local/share"; break;
        case kCsidlCommonAppData: base = "/var/lib"; break;
        case kCsidlProgramFiles: base = "/opt"; break;
        default: break;
        }
        const std::u16string wide = fromUtf8(base);
        if (wide.empty() || wide.size() >= kMaxPath) return kFailed;
        for (size_t i = 0; i < wide.size(); ++i) path[i] = static_cast<QLWChar>(wide[i]);
        path[wide.size()] = 0;
        return 0;
    }
    int32_t CreateDirectoryW(const QLWChar* path, void*) override {
        return path && mkdir(posixPath(path).c_str(), 0777) == 0;
    }
    int32_t SHGetKnownFolderPath(const QLGuid& folder, uint32_t, void*, QLWChar** path) override {
        *path = nullptr;
        const std::string home = homeFolder();
        if (std::memcmp(&folder, &kFolderIdDesktop, sizeof folder) != 0 || home.empty()) return kFailed;
        const std::u16string wide = fromUtf8(home + "/Desktop");
        // Released by CoTaskMemFree, which is free() here.
        auto* copy = static_cast<QLWChar*>(std::calloc(wide.size() + 1, sizeof(QLWChar)));
        if (!copy) return kFailed;
        for (size_t i = 0; i < wide.size(); ++i) copy[i] = static_cast<QLWChar>(wide[i]);
        *path = copy;
        return 0;
    }
    void CoTaskMemFree(void* block) override { std::free(block); }
    uint32_t GetPrivateProfileStringW(const QLWChar* section, const QLWChar* key, const QLWChar* fallback,
                                      QLWChar* out, uint32_t size, const QLWChar* file) override {
        return readProfileString(posixPath(file), section, key, fallback, out, size);
    }
    int32_t WritePrivateProfileStringW(const QLWChar* section, const QLWChar* key, const QLWChar* value,
                                       const QLWChar* file) override {
        return writeProfileString(posixPath(file), section, key, value);
    }
};

}  // namespace

FolderPlatform& nativeFolderPlatform() {
    static PosixFolderPlatform platform;
    return platform;
}

}  // namespace ql
