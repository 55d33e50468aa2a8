// qlhost version: the interface version and the live-object count.
#include <cstdio>

#include "qlhost.h"

namespace qlhost {
namespace {

int runVersion(Library& lib, const Args&) {
    std::printf("live objects at start: %d\n", lib.release());
    {
        Service a(lib);
        std::printf("interface version:     %u\n", a->GetInterfaceVersion());
        Service b(lib);
        std::printf("live objects with two: %d\n", lib.release());
    }
    std::printf("live objects at end:   %d\n", lib.release());
    return 0;
}

const bool registered = registerCommand(
    {"version", "", "prints the interface version and the live-object count", runVersion});

}  // namespace
}  // namespace qlhost
