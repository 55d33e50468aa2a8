/*
 * A host written in C: it loads QLCommon.dll at run time and calls only
 * through the C view of the interface table.  Lifecycle, counts, slot 0,
 * slot 7 against slot 6, and the table's reach to its last slot.
 */
#include "ctest_harness.h"

/* A host context the library must store and never touch. */
#define POISON ((void*)(uintptr_t)0xBAADF00DBAADF00Dull)

static void counts_follow_factory_and_destroyer(const QLLibrary* lib) {
    int32_t start = lib->release();
    ICommon* a = lib->getObject(POISON);
    ICommon* b = lib->getObject(NULL);
    CHECK(a != NULL && b != NULL && a != b);
    CHECK(lib->release() == start + 2);
    lib->destroy(a);
    CHECK(lib->release() == start + 1);
    lib->destroy(NULL); /* lowers the count, frees nothing */
    CHECK(lib->release() == start);
    lib->destroy(b);
    CHECK(lib->release() == start - 1);
}

static void fresh_object(const QLLibrary* lib) {
    ICommon* obj = lib->getObject(POISON);
    const ICommonVtbl* t = obj->lpVtbl;
    CHECK(t->GetInterfaceVersion(obj) == 7);
    CHECK(t->GetByteCount(obj) == 0);
    CHECK(t->GetElementCount(obj) == 0);
    /* The object is two words: the table and the state record. */
    CHECK(((void**)obj)[1] != NULL);
    CHECK(t->MulDivRound(obj, 7.0, 3.0, 2.0) == t->MulDivRound2(obj, 7.0, 3.0, 2.0));
    /* The last slot is reachable and harmless with a null buffer. */
    t->FormatHexDigits(obj, 255, NULL, 0);
    lib->destroy(obj);
}

int main(void) {
    QLLibrary lib;
    if (!ql_load_library(&lib)) {
        printf("cannot load QLCommon.dll\n0 passed, 1 failed\n");
        return 1;
    }
    counts_follow_factory_and_destroyer(&lib);
    fresh_object(&lib);
    FreeLibrary(lib.module);
    return ql_harness_end();
}
