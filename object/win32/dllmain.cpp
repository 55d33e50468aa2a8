// The library entry point: it keeps the module instance handle, which the
// calculator's dialogs load their templates from, and does nothing else.
#include <windows.h>

#include "object/win32/state.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
    ql::moduleInstance = instance;  // whatever the reason code
    return TRUE;
}
