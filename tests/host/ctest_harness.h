/*
 * The harness of the host tests in C.  CHECK(cond, format, ...) counts a pass, or prints the line and the case
 * (what came, what was expected) and goes on.  ql_load_library loads QLCommon.dll from beside the program, as
 * a host does; ql_harness_end prints "N passed, N failed" and gives the exit code.
 */
#ifndef QL_CTEST_HARNESS_H
#define QL_CTEST_HARNESS_H

#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "qlcommon.h"

static int ql_passed, ql_failed;

#define CHECK(cond, ...)                                    \
    do {                                                    \
        if (cond) {                                         \
            ++ql_passed;                                    \
        } else {                                            \
            ++ql_failed;                                    \
            printf("line %d: failed: ", __LINE__);          \
            printf(__VA_ARGS__);                            \
            puts("");                                       \
        }                                                   \
    } while (0)

static struct {
    HMODULE module;
    QLGetQLObjectFn getObject;
    QLReleaseFn release;
    QLDestroyFn destroy;
} lib;

static int ql_load_library(void) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, path, MAX_PATH);
    while (n > 0 && path[n - 1] != L'\\' && path[n - 1] != L'/') --n;
    wcscpy(path + n, L"QLCommon.dll");
    if ((lib.module = LoadLibraryW(path)) != NULL) {
        lib.getObject = (QLGetQLObjectFn)(void*)GetProcAddress(lib.module, "GetQLObject");
        lib.release = (QLReleaseFn)(void*)GetProcAddress(lib.module, "QLRelease");
        lib.destroy = (QLDestroyFn)(void*)GetProcAddress(lib.module, "QLDestroy");
    }
    if (lib.getObject && lib.release && lib.destroy) return 1;
    printf("cannot load QLCommon.dll\n0 passed, 1 failed\n");
    return 0;
}

static int ql_harness_end(void) {
    printf("%d passed, %d failed\n", ql_passed, ql_failed);
    return ql_failed == 0 ? 0 : 1;
}

#endif
