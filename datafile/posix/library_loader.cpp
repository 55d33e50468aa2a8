// The library loader of the native build: dlopen of the system's zlib file
// name ("libz.so.1") in the cache folder.  Backslashes of the composed path
// become slashes; the search-path flag has no POSIX counterpart (a path
// with a slash is loaded from exactly there).
#include <dlfcn.h>

#include <string>

#include "datafile/inflate_library.h"
#include "object/wide_text.h"

namespace ql {

const QLWChar* const kZlibFileName = u"\\libz.so.1";

namespace {

struct PosixLibraryLoader final : LibraryLoader {
    void* LoadLibraryExW(const QLWChar* path, void*, uint32_t) override {
        std::string p = toUtf8(path);
        for (char& c : p)
            if (c == '\\') c = '/';
        return dlopen(p.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    void* GetProcAddress(void* module, const char* name) override { return dlsym(module, name); }
    int32_t FreeLibrary(void* module) override { return dlclose(module) == 0; }
};

}  // namespace

LibraryLoader& nativeLibraryLoader() {
    static PosixLibraryLoader loader;
    return loader;
}

}  // namespace ql
