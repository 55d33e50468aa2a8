// qlhost demo (also qlhost with no command): the default scenario, a short
// tour of the library.
#include <cstdio>

#include "qlhost.h"

namespace qlhost {
namespace {

int runDemo(Library& lib, const Args& args) {
    std::printf("QLCommon.dll demo\n\n");
    Service service(lib);
    std::printf("interface version: %u\n", service->GetInterfaceVersion());
    std::printf("live objects:      %d\n", lib.release());
    (void)args;
    return 0;
}

const bool registered = registerCommand(
    {"demo", "", "the default scenario: a short tour of the library", runDemo});

}  // namespace
}  // namespace qlhost
