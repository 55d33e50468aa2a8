// Holders for what the shell's Windows code gets from COM: interface
// pointers, released once, and texts allocated with CoTaskMemAlloc.
#ifndef QL_SHELL_WIN32_SHELL_HANDLES_H
#define QL_SHELL_WIN32_SHELL_HANDLES_H

#include <windows.h>
#include <objbase.h>

#include "base/owned.h"

namespace ql {

template <typename T>
void releaseInterface(T* object) { object->Release(); }
inline void freeShellText(wchar_t* text) { CoTaskMemFree(text); }

template <typename T>
using Com = Owned<T*, releaseInterface<T>>;
using ShellText = Owned<wchar_t*, freeShellText>;

}  // namespace ql

#endif
