// The library loader on Windows: the kernel's own calls.
#include <windows.h>

#include "datafile/inflate_library.h"

namespace ql {

const QLWChar* const kZlibFileName = L"\\ZLIB1.dll";

namespace {

static_assert(kLoadWithAlteredSearchPath == LOAD_WITH_ALTERED_SEARCH_PATH, "flag 8");

struct Win32LibraryLoader final : LibraryLoader {
    void* LoadLibraryExW(const QLWChar* path, void* file, uint32_t flags) override {
        return ::LoadLibraryExW(path, static_cast<HANDLE>(file), flags);
    }
    void* GetProcAddress(void* module, const char* name) override {
        return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
    }
    int32_t FreeLibrary(void* module) override { return ::FreeLibrary(static_cast<HMODULE>(module)); }
};

}  // namespace

LibraryLoader& nativeLibraryLoader() {
    static Win32LibraryLoader loader;
    return loader;
}

}  // namespace ql
