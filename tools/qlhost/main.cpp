// qlhost: a small command-line host for QLCommon.dll.
//   qlhost              the default scenario
//   qlhost --help       the subcommands
//   qlhost NAME ARGS    one subcommand
#include <cstdio>
#include <cstring>
#include <map>

#include "qlhost.h"

namespace qlhost {

namespace {
std::map<std::string, Command>& registry() {
    static std::map<std::string, Command> commands;
    return commands;
}

std::wstring besideThisProgram(const wchar_t* file) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    dir.resize(dir.find_last_of(L"\\/") + 1);
    return dir + file;
}

int usage() {
    std::printf("usage: qlhost [COMMAND [ARGS...]]\n\n");
    std::printf("With no command, runs the default scenario.\n\nCommands:\n");
    for (const auto& [name, command] : registry()) {
        std::printf("  %s %s\n      %s\n", name.c_str(), command.usage, command.summary);
    }
    return 0;
}
}  // namespace

Library::Library() {
    // The DLL beside qlhost.exe, by full path: a host names its library.
    module_ = LoadLibraryW(besideThisProgram(L"QLCommon.dll").c_str());
    if (!module_) return;
    getObject = reinterpret_cast<QLGetQLObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, "GetQLObject")));
    release = reinterpret_cast<QLReleaseFn>(reinterpret_cast<void*>(GetProcAddress(module_, "QLRelease")));
    destroy = reinterpret_cast<QLDestroyFn>(reinterpret_cast<void*>(GetProcAddress(module_, "QLDestroy")));
}

Library::~Library() {
    if (module_) FreeLibrary(module_);
}

bool registerCommand(const Command& command) {
    registry()[command.name] = command;
    return true;
}

std::string narrow(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace qlhost

int wmain(int argc, wchar_t** argv) {
    using namespace qlhost;
    Args args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == L"--help" || args[0] == L"-h" || args[0] == L"help")) return usage();

    Library lib;
    if (!lib.loaded()) {
        std::fprintf(stderr, "qlhost: cannot load QLCommon.dll beside qlhost.exe (error %lu)\n", GetLastError());
        return 2;
    }
    std::string name = args.empty() ? "demo" : narrow(args[0]);
    auto found = registry().find(name);
    if (found == registry().end()) {
        std::fprintf(stderr, "qlhost: unknown command '%s' (qlhost --help lists them)\n", name.c_str());
        return 2;
    }
    Args rest(args.empty() ? args.begin() : args.begin() + 1, args.end());
    return found->second.run(lib, rest);
}
