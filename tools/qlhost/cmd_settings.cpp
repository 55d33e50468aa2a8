// qlhost settings [--job PATH] [--graphix PATH]: sets the given values in
// the settings file, then shows both values and the file's path.
#include <cstdio>

#include "qlhost.h"

namespace qlhost {
namespace {

int runSettings(Library& lib, const Args& args) {
    Service s(lib);
    for (size_t i = 0; i < args.size(); i += 2) {  // an option and its path
        if (i + 1 >= args.size() || (args[i] != L"--job" && args[i] != L"--graphix")) {
            std::fprintf(stderr, "usage: qlhost settings [--job PATH] [--graphix PATH]\n");
            return 2;
        }
        if (args[i] == L"--job")
            s->SetJobFilePath(args[i + 1].c_str());
        else
            s->SetGraphixFilePath(args[i + 1].c_str());
    }
    wchar_t job[512] = {}, graphix[512] = {};
    s->GetJobFilePath(job, 512);
    s->GetGraphixFilePath(graphix, 512);
    const QLWChar* file = s->GetSettingsFilePath();
    std::printf("settings file:     %s\n", file ? narrow(file).c_str() : "(none)");
    std::printf("Job File Path:     %s\n", narrow(job).c_str());
    std::printf("Graphix File Path: %s\n", narrow(graphix).c_str());
    return 0;
}

const bool registered = registerCommand(
    {"settings", "[--job PATH] [--graphix PATH]", "sets and shows the two remembered paths of the settings file",
     runSettings});

}  // namespace
}  // namespace qlhost
