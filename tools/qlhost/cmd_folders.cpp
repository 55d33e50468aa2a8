// qlhost folders: the host's folder tree as the library composes it, each
// path marked [x] when it exists afterwards.  Asking for a path creates the
// levels that operation creates, as a host's call would.
#include <cstdio>

#include "qlhost.h"

namespace qlhost {
namespace {

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void show(const char* label, const std::wstring& path) {
    std::printf("  [%c] %-24s %s\n", exists(path) ? 'x' : ' ', label, narrow(path).c_str());
}

}  // namespace

int runFolders(const Args& args, const WindowOptions&) {
    noMoreThan(args, 0);
    Object s;
    using Getter = void (ICommon::*)(QLWChar*, int32_t);
    auto get = [&](Getter op) {
        wchar_t buf[1024] = {};
        (s.get()->*op)(buf, 1024);
        return std::wstring(buf);
    };
    std::printf("per-user application data\n");
    show("user company folder", get(&ICommon::GetUserCompanyFolder));
    show("user product folder", get(&ICommon::GetUserProductFolder));
    const QLWChar* settings = s->GetSettingsFilePath();
    show("settings file", settings ? settings : L"");
    std::printf("all-users application data\n");
    show("common company folder", get(&ICommon::GetCommonCompanyFolder));
    const std::wstring product = get(&ICommon::GetCommonProductFolder);
    show("common product folder", product);
    show("jobs folder", get(&ICommon::GetJobsFolder));
    show("fonts folder", get(&ICommon::GetFontsFolder));
    show("graphics folder", product.empty() ? product : product + L"\\Graphix");
    show("data file", get(&ICommon::GetDataFilePath));
    std::printf("program files\n");
    show("install company folder", get(&ICommon::GetInstallCompanyFolder));
    const std::wstring cache = get(&ICommon::GetCacheFolder);
    show("cache folder", cache);
    show("zlib library", cache.empty() ? cache : cache + L"\\ZLIB1.dll");
    show("install product folder", get(&ICommon::GetInstallProductFolder));
    show("controllers folder", get(&ICommon::GetControllersFolder));
    std::printf("desktop\n");
    show("desktop folder", get(&ICommon::GetDesktopFolder));
    return 0;
}

}  // namespace qlhost
