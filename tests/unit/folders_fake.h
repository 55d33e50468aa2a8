// A recording fake of the folder platform for the folder and settings tests.
#ifndef QL_TESTS_UNIT_FOLDERS_FAKE_H
#define QL_TESTS_UNIT_FOLDERS_FAKE_H

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "shell/folder_platform.h"
#include "object/wide_text.h"

namespace qltest {

using ql::QLGuid;

// Records every call as one line of UTF-8 text.
struct FakeFolderPlatform : ql::FolderPlatform {
    std::map<int32_t, std::string> bases{{ql::kCsidlLocalAppData, "L:\\Local"},
                                         {ql::kCsidlCommonAppData, "C:\\Common"},
                                         {ql::kCsidlProgramFiles, "P:\\Programs"}};
    std::string desktop = "D:\\Desk";
    std::map<std::string, std::string> profile;  // "section|key" -> value
    std::vector<std::string> calls;

    int32_t SHGetFolderPathW(void* owner, int32_t folder, void* token, uint32_t flags, QLWChar* path) override {
        calls.push_back("SHGetFolderPathW " + std::to_string(folder) + " flags " + std::to_string(flags) +
                        (owner || token ? " owner/token!" : ""));
        auto found = bases.find(folder);
        if (found == bases.end()) return static_cast<int32_t>(0x80004005);
        put(found->second, path, ql::kMaxPath);
        return 0;
    }
    int32_t CreateDirectoryW(const QLWChar* path, void* security) override {
        calls.push_back("CreateDirectoryW " + ql::toUtf8(path) + (security ? " security!" : ""));
        return 1;
    }
    int32_t SHGetKnownFolderPath(const QLGuid& folder, uint32_t flags, void*, QLWChar** path) override {
        const bool isDesktop = std::memcmp(&folder, &ql::kFolderIdDesktop, sizeof folder) == 0;
        calls.push_back(std::string("SHGetKnownFolderPath ") + (isDesktop ? "desktop" : "other") + " flags " +
                        std::to_string(flags));
        *path = static_cast<QLWChar*>(std::calloc(desktop.size() + 1, sizeof(QLWChar)));
        put(desktop, *path, desktop.size() + 1);
        return desktop.empty() ? static_cast<int32_t>(0x80070002) : 0;
    }
    void CoTaskMemFree(void* block) override {
        calls.push_back("CoTaskMemFree");
        std::free(block);
    }
    uint32_t GetPrivateProfileStringW(const QLWChar* section, const QLWChar* key, const QLWChar* fallback,
                                      QLWChar* out, uint32_t size, const QLWChar* file) override {
        calls.push_back("GetPrivateProfileStringW " + ql::toUtf8(section) + "|" + ql::toUtf8(key) + " default " +
                        ql::toUtf8(fallback) + " size " + std::to_string(size) + " file " + ql::toUtf8(file));
        auto found = profile.find(ql::toUtf8(section) + "|" + ql::toUtf8(key));
        const std::string value = found != profile.end() ? found->second : ql::toUtf8(fallback);
        const size_t n = std::min<size_t>(value.size(), size - 1);
        put(value.substr(0, n), out, size);
        return static_cast<uint32_t>(n);
    }
    int32_t WritePrivateProfileStringW(const QLWChar* section, const QLWChar* key, const QLWChar* value,
                                       const QLWChar* file) override {
        calls.push_back("WritePrivateProfileStringW " + ql::toUtf8(section) + "|" + ql::toUtf8(key) + " = " +
                        (value ? ql::toUtf8(value) : "(null)") + " file " + ql::toUtf8(file));
        profile[ql::toUtf8(section) + "|" + ql::toUtf8(key)] = ql::toUtf8(value);
        return 1;
    }

    // ASCII text into a buffer of `room` units.
    static void put(const std::string& text, QLWChar* out, size_t room) {
        size_t i = 0;
        for (; i < text.size() && i + 1 < room; ++i) out[i] = static_cast<QLWChar>(text[i]);
        out[i] = 0;
    }
};

// Installs a fake for the length of a scope, with an empty settings cache.
class ScopedFakeFolders {
public:
    ScopedFakeFolders() : previous_(ql::setFolderPlatform(&fake)) { ql::clearSettingsPathCacheForTests(); }
    ~ScopedFakeFolders() {
        ql::setFolderPlatform(previous_);
        ql::clearSettingsPathCacheForTests();
    }
    FakeFolderPlatform fake;

private:
    ql::FolderPlatform* previous_;
};

}  // namespace qltest

#endif
