/* A C host: the same table, reached through lpVtbl with the object first. */
#include <stdio.h>
#include <wchar.h>

#include "qlcommon.h"

int main(void) {
    ICommon* obj = GetQLObject(NULL);
    QLWChar text[32];
    int ok;
    obj->lpVtbl->FormatHexDigits(obj, 255, text, 32); /* "FF" */
    ok = obj->lpVtbl->GetInterfaceVersion(obj) == 7 && wcscmp(text, L"FF") == 0 && QLRelease() == 1;
    QLDestroy(obj);
    ok = ok && QLRelease() == 0;
    printf("sample C host: %s\n", ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}
