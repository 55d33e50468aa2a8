// A C++ host linked against the installed import library.
#include <cstdio>

#include "qlcommon.h"

int main() {
    ICommon* obj = GetQLObject(nullptr);
    bool ok = obj->GetInterfaceVersion() == 7 && obj->MulDivRound(2.0, 3.0, 1.0) == obj->MulDivRound2(2.0, 3.0, 1.0);
    QLDestroy(obj);
    ok = ok && QLRelease() == 0;
    std::printf("sample C++ host: %s\n", ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
