// qlhost settings [--job PATH] [--graphix PATH]: sets the given values in
// the settings file, then shows both values and the file's path.
#include <cstdio>

#include "qlhost.h"

namespace qlhost {

int runSettings(const Args& args, const WindowOptions&) {
    Object s;
    for (size_t i = 0; i < args.size(); i += 2) {
        if (args[i] != L"--job" && args[i] != L"--graphix") throw UsageError("unexpected argument '" + narrow(args[i]) + "'");
        if (i + 1 >= args.size()) throw UsageError(narrow(args[i]) + " needs a PATH");
        const std::wstring path = hostPath(args[i + 1]);
        if (args[i] == L"--job")
            s->SetJobFilePath(path.c_str());
        else
            s->SetGraphixFilePath(path.c_str());
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

}  // namespace qlhost
