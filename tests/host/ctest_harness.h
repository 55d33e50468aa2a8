/*
 * A tiny harness for host tests written in C.  CHECK records a failure and
 * goes on; ql_harness_end prints "N passed, N failed" and gives the exit
 * code.  ql_load_library loads QLCommon.dll from beside the test program,
 * as a host does, and finds the three exports.
 */
#ifndef QL_CTEST_HARNESS_H
#define QL_CTEST_HARNESS_H

#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "qlcommon.h"

static int ql_passed, ql_failed;

#define CHECK(cond)                                                        \
    do {                                                                   \
        if (cond) {                                                        \
            ++ql_passed;                                                   \
        } else {                                                           \
            ++ql_failed;                                                   \
            printf("%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
        }                                                                  \
    } while (0)

typedef struct QLLibrary {
    HMODULE module;
    QLGetQLObjectFn getObject;
    QLReleaseFn release;
    QLDestroyFn destroy;
} QLLibrary;

static int ql_load_library(QLLibrary* lib) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, path, MAX_PATH);
    while (n > 0 && path[n - 1] != L'\\' && path[n - 1] != L'/') --n;
    path[n] = 0;
    wcscat(path, L"QLCommon.dll");
    lib->module = LoadLibraryW(path);
    if (!lib->module) return 0;
    lib->getObject = (QLGetQLObjectFn)(void*)GetProcAddress(lib->module, "GetQLObject");
    lib->release = (QLReleaseFn)(void*)GetProcAddress(lib->module, "QLRelease");
    lib->destroy = (QLDestroyFn)(void*)GetProcAddress(lib->module, "QLDestroy");
    return lib->getObject && lib->release && lib->destroy;
}

static int ql_harness_end(void) {
    printf("%d passed, %d failed\n", ql_passed, ql_failed);
    return ql_failed == 0 ? 0 : 1;
}

#endif
