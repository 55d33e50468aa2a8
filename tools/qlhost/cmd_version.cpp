// qlhost version: the release version of qlhost and of the QLCommon.dll it
// loaded (the file version in the DLL's version resource), the interface
// version and the live-object count.
#include <cstdio>
#include <vector>

#include "ql_version.h"
#include "qlhost.h"

namespace qlhost {
namespace {

// "1.0.0.1" from the version resource of a loaded module, or "none".
std::string fileVersion(HMODULE module) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(module, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeW(path, &ignored));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (data.empty() || !GetFileVersionInfoW(path, 0, static_cast<DWORD>(data.size()), data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &size) || size < sizeof *info)
        return "none";
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                  HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
    return text;
}

}  // namespace

int runVersion(const Args& args, const WindowOptions&) {
    noMoreThan(args, 0);
    hostkit::Library& lib = hostkit::library();
    std::printf("qlhost version:        %s\n", QL_VERSION_TEXT);
    std::printf("QLCommon.dll version:  %s\n", fileVersion(lib.module()).c_str());
    std::printf("live objects at start: %d\n", lib.release());
    {
        Object a;
        std::printf("interface version:     %u\n", a->GetInterfaceVersion());
        Object b;
        std::printf("live objects with two: %d\n", lib.release());
    }
    std::printf("live objects at end:   %d\n", lib.release());
    return 0;
}

}  // namespace qlhost
