// A C++ host: one service object, a few operations, the object handed back.
#include <cstdio>
#include <cwchar>

#include "qlcommon.h"

int main() {
    ICommon* obj = GetQLObject(nullptr);
    QLWChar text[32];
    obj->FormatMeasure(1500, text, 32, unitInches, 3);  // "1.500"
    int32_t thousandths = 0;
    obj->ParseFractionalMeasureRounded(L"1 1/2", unitInches, &thousandths, unitThousandths);
    bool ok = obj->GetInterfaceVersion() == 7 && std::wcscmp(text, L"1.500") == 0 && thousandths == 1500;
    QLDestroy(obj);
    ok = ok && QLRelease() == 0;  // no object left alive
    std::printf("sample C++ host: %s\n", ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
