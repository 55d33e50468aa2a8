// The demo host's pieces: the loaded library and the subcommand registry.
#ifndef QLHOST_QLHOST_H
#define QLHOST_QLHOST_H

#include <windows.h>

#include <string>
#include <vector>

#include "qlcommon.h"

namespace qlhost {

// QLCommon.dll loaded with LoadLibraryW and its three exports.
class Library {
public:
    Library();
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool loaded() const { return module_ && getObject && release && destroy; }
    HMODULE module() const { return module_; }

    QLGetQLObjectFn getObject = nullptr;
    QLReleaseFn release = nullptr;
    QLDestroyFn destroy = nullptr;

private:
    HMODULE module_ = nullptr;
};

// One service object, destroyed when it goes out of scope.
class Service {
public:
    explicit Service(Library& lib) : lib_(lib), object_(lib.getObject(nullptr)) {}
    ~Service() { lib_.destroy(object_); }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;
    ICommon* operator->() const { return object_; }
    ICommon* get() const { return object_; }

private:
    Library& lib_;
    ICommon* object_;
};

using Args = std::vector<std::wstring>;

struct Command {
    const char* name;     // the word after qlhost
    const char* usage;    // its arguments, for --help
    const char* summary;  // one line, for --help
    int (*run)(Library& lib, const Args& args);
};

// Adds a subcommand; each cmd_*.cpp file calls it from a static registrar.
bool registerCommand(const Command& command);

// UTF-16 to UTF-8 for printing.
std::string narrow(const std::wstring& text);

}  // namespace qlhost

#endif
