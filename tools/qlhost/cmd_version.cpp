// qlhost version: the interface version and the live-object count.
#include <cstdio>

#include "qlhost.h"

namespace qlhost {

int runVersion(const Args& args, const WindowOptions&) {
    noMoreThan(args, 0);
    hostkit::Library& lib = hostkit::library();
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
