// The host toolkit, for qlhost and the host tests: QLCommon.dll loaded from beside the test program
// with LoadLibraryW, and service objects made and destroyed through its
// exports.  Tests call the library only through the interface table.
#ifndef QL_HOSTKIT_HOST_H
#define QL_HOSTKIT_HOST_H

#include <windows.h>

#include <string>

#include "qlcommon.h"

namespace hostkit {

inline std::wstring testProgramFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

class Library {
public:
    Library() {
        module_ = LoadLibraryW((testProgramFolder() + L"QLCommon.dll").c_str());
        if (!module_) return;
        getObject = reinterpret_cast<QLGetQLObjectFn>(proc("GetQLObject"));
        release = reinterpret_cast<QLReleaseFn>(proc("QLRelease"));
        destroy = reinterpret_cast<QLDestroyFn>(proc("QLDestroy"));
    }
    ~Library() {
        if (module_) FreeLibrary(module_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool loaded() const { return module_ && getObject && release && destroy; }
    HMODULE module() const { return module_; }

    QLGetQLObjectFn getObject = nullptr;
    QLReleaseFn release = nullptr;
    QLDestroyFn destroy = nullptr;

private:
    void* proc(const char* name) { return reinterpret_cast<void*>(GetProcAddress(module_, name)); }
    HMODULE module_ = nullptr;
};

// The library, loaded once per test program.
inline Library& library() {
    static Library lib;
    return lib;
}

// One service object for the length of a scope.
class Object {
public:
    explicit Object(void* hostContext = nullptr) : object_(library().getObject(hostContext)) {}
    ~Object() { library().destroy(object_); }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    ICommon* operator->() const { return object_; }
    ICommon* get() const { return object_; }
    const ICommonVtbl* table() const { return *reinterpret_cast<const ICommonVtbl* const*>(object_); }

private:
    ICommon* object_;
};

}  // namespace hostkit

#endif
