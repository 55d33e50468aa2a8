/* A C host linked against the installed import library. */
#include <stdio.h>

#include "qlcommon.h"

int main(void) {
    ICommon* obj = GetQLObject(NULL);
    QLWChar text[32];
    obj->lpVtbl->FormatHexDigits(obj, 255, text, 32);
    int ok = obj->lpVtbl->GetInterfaceVersion(obj) == 7 && QLRelease() == 1;
    QLDestroy(obj);
    ok = ok && QLRelease() == 0;
    printf("sample C host: %s\n", ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
