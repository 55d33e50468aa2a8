/*
 * The calling convention at the table's edge, as a host built by another
 * compiler exercises it.  Such a host may leave garbage above a one-byte
 * boolean or above a 32-bit integer in the 64-bit register (or stack slot)
 * that carries it; the library must read only the low byte or the low half.
 * The calls below go through function-pointer types that pass 64-bit
 * values where the table has a byte or a 32-bit integer, with garbage on
 * top, and compare the results with the same calls made with clean values.
 *
 * Floating-point arguments travel by position (the float of FormatFloat is
 * the second argument, so XMM1), a float may arrive with garbage above it
 * in its register, and boolean results are read from AL only.
 */
#include "ctest_harness.h"

#include <stdint.h>
#include <wchar.h>

static QLLibrary lib;

/* 64-bit views of the slots under test. */
typedef QLBool (*OpenFile64)(ICommon*, const QLWChar*, uint64_t mode, uint64_t append);
typedef void (*FormatHexDigits64)(ICommon*, uint64_t value, QLWChar*, uint64_t capacity);
typedef void (*FormatMeasure64)(ICommon*, uint64_t thousandths, QLWChar*, uint64_t capacity, uint64_t unit,
                                uint64_t decimals);
typedef uint32_t (*ReadLine64)(ICommon*, char*, uint64_t capacity);
typedef int32_t (*ReadWideField64)(ICommon*, QLWChar*, uint64_t capacity, uint64_t terminator,
                                   uint64_t stopAtLineFeed);
typedef uint32_t (*CopyLine64)(ICommon*, const void*, uint64_t sourceLength, void*, uint64_t capacity);
typedef void (*WriteBytes64)(ICommon*, const void*, uint64_t count);
typedef void (*BeginElements64)(ICommon*, uint64_t elementSize);
typedef QLBool (*CopyElement64)(ICommon*, uint64_t index, void*);
typedef QLBool (*ParseFractional64)(ICommon*, const QLWChar*, uint64_t textUnit, float*, uint64_t targetUnit);
/* A float with garbage above it: the double's low 32 bits are the float. */
typedef void (*FormatFloatBits)(ICommon*, double bits, QLWChar*, int32_t, int32_t);

#define GARBAGE 0xDEADBEEF00000000ull

static int same_text(const QLWChar* a, const wchar_t* b) { return wcscmp(a, b) == 0; }

static void temp_file(wchar_t* path, const wchar_t* name) {
    GetTempPathW(MAX_PATH, path);
    wcscat(path, name);
}

/* The file's bytes, up to `room`; the count, or -1. */
static long read_file(const wchar_t* path, char* out, long room) {
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    DWORD got = 0;
    if (h == INVALID_HANDLE_VALUE) return -1;
    ReadFile(h, out, (DWORD)room, &got, NULL);
    CloseHandle(h);
    return (long)got;
}

static void write_text(ICommon* obj, const wchar_t* path, const char* text, QLBool append) {
    const ICommonVtbl* t = obj->lpVtbl;
    CHECK(t->OpenFile(obj, path, qlModeWrite, append) == 1);
    t->WriteBytes(obj, text, (uint32_t)strlen(text));
    t->CloseFile(obj);
}

/* Mode and append with garbage above them, on both back ends: a low byte
 * of 0 means "no append" whatever lies above it. */
static void open_reads_low_parts(void) {
    ICommon* obj = lib.getObject(NULL);
    const ICommonVtbl* t = obj->lpVtbl;
    wchar_t path[MAX_PATH];
    char bytes[64];
    temp_file(path, L"ql-reliability-abi.txt");
    for (int slot = 0; slot < 2; ++slot) {
        OpenFile64 open = slot == 0 ? (OpenFile64)(void*)t->OpenFile : (OpenFile64)(void*)t->OpenFileHandle;
        write_text(obj, path, "old", 0);
        CHECK(open(obj, path, 0xDEADBEEF00000001ull, 0xFFFFFF00ull) == 1);
        t->WriteBytes(obj, "new", 3);
        t->CloseFile(obj);
        CHECK(read_file(path, bytes, sizeof bytes) == 3 && memcmp(bytes, "new", 3) == 0);
        /* Low byte 1 under garbage: append. */
        CHECK(open(obj, path, 0x1234567800000001ull, 0xABCDEF0000000001ull) == 1);
        t->WriteBytes(obj, "+", 1);
        t->CloseFile(obj);
        CHECK(read_file(path, bytes, sizeof bytes) == 4 && memcmp(bytes, "new+", 4) == 0);
        /* A mode of 2 under garbage reads; the result is exactly 1. */
        CHECK(open(obj, path, GARBAGE | qlModeRead, GARBAGE) == 1);
        CHECK(t->GetByteCount(obj) == 4);
        t->CloseFile(obj);
    }
    /* A failed open answers exactly 0 in AL. */
    CHECK(t->OpenFile(obj, L"Z:\\no\\such\\folder\\file.txt", qlModeRead, 0) == 0);
    lib.destroy(obj);
    DeleteFileW(path);
}

static void formatters_read_low_halves(void) {
    ICommon* obj = lib.getObject(NULL);
    const ICommonVtbl* t = obj->lpVtbl;
    QLWChar clean[64], dirty[64];

    /* FormatHexDigits: the value's and the capacity's low halves. */
    wmemset(dirty, L'#', 64);
    ((FormatHexDigits64)(void*)t->FormatHexDigits)(obj, 0xABCDEF0000000010ull, dirty, GARBAGE | 3);
    CHECK(same_text(dirty, L"10"));
    CHECK(dirty[3] == L'#');

    /* FormatMeasure: value, capacity, unit and decimals (the last two on the
     * stack), with positive and negative values. */
    static const int32_t values[] = {12345, -12345, 0, 2000000000};
    for (int v = 0; v < 4; ++v) {
        for (int32_t unit = unitFeet; unit <= unitMillimeters; ++unit) {
            t->FormatMeasure(obj, values[v], clean, 64, unit, 3);
            wmemset(dirty, L'#', 64);
            ((FormatMeasure64)(void*)t->FormatMeasure)(obj, 0x5555555500000000ull | (uint32_t)values[v], dirty,
                                                        0xFFFFFFFF00000000ull | 64, GARBAGE | (uint32_t)unit,
                                                        0x8000000000000000ull | 3);
            CHECK(same_text(dirty, clean));
        }
    }
    t->FormatMeasure(obj, 12345, clean, 64, unitInches, 3);
    CHECK(same_text(clean, L"12.345"));

    /* FormatFloat: the float in XMM1, with garbage in the register above it. */
    t->FormatFloat(obj, 1.5f, clean, 64, 2);
    CHECK(same_text(clean, L"1.50"));
    {
        float f = -2.25f;
        uint32_t fbits;
        uint64_t wide;
        double d;
        memcpy(&fbits, &f, 4);
        wide = 0x7FF8DEAD00000000ull | fbits; /* a NaN if read as a double */
        memcpy(&d, &wide, 8);
        ((FormatFloatBits)(void*)t->FormatFloat)(obj, d, dirty, 64, 3);
        CHECK(same_text(dirty, L"-2.250"));
    }

    /* MulDivRound and Hypotenuse: XMM1, XMM2, XMM3 by position, XMM0 back. */
    CHECK(t->MulDivRound(obj, 10.0, 7.0, 3.0) == 23);
    CHECK(t->MulDivRound(obj, 10.0, 3.0, 7.0) == 4);
    CHECK(t->MulDivRound(obj, 3.0, 7.0, 10.0) == 2);
    CHECK(t->MulDivRound2(obj, 10.0, 7.0, 3.0) == 23);
    CHECK(t->Hypotenuse(obj, 3.0, 4.0) == 5.0);
    lib.destroy(obj);
}

/* Reading: capacities and the wide field's boolean (a stack argument). */
static void readers_read_low_parts(void) {
    ICommon* obj = lib.getObject(NULL);
    const ICommonVtbl* t = obj->lpVtbl;
    wchar_t path[MAX_PATH];
    char line[32];
    QLWChar field[32];
    temp_file(path, L"ql-reliability-abi-lines.txt");
    write_text(obj, path, "first line\nsecond\nA\nB;rest", 0);

    CHECK(t->OpenFile(obj, path, qlModeRead, 0) == 1);
    memset(line, '#', sizeof line);
    /* Capacity 8 under garbage: eight bytes of the longer line (no
     * terminator when the line does not fit), not one more. */
    CHECK(((ReadLine64)(void*)t->ReadLine)(obj, line, 0xFFFFFFFF00000008ull) == 8);
    CHECK(memcmp(line, "first li", 8) == 0 && line[8] == '#');
    t->CloseFile(obj);

    /* The same read from the start with clean values, on a fresh open. */
    CHECK(t->OpenFile(obj, path, qlModeRead, 0) == 1);
    memset(line, '#', sizeof line);
    CHECK(t->ReadLine(obj, line, 8) == 8);
    CHECK(memcmp(line, "first li", 8) == 0 && line[8] == '#');

    /* SeekRead answers exactly 1. */
    CHECK(t->SeekRead(obj, 18) == 1);
    /* Stop at the line feed: low byte 1 under garbage on the stack. The
     * text is ASCII read as bytes, so a ';' terminator is ';' twice. */
    wmemset(field, L'#', 32);
    {
        int32_t n = ((ReadWideField64)(void*)t->ReadWideField)(obj, field, GARBAGE | 32, 0xFFFFFFFFFFFF3B3Bull,
                                                               0xFFFFFFFFFFFFFF01ull);
        int32_t m;
        QLWChar again[32];
        t->SeekRead(obj, 18);
        wmemset(again, L'#', 32);
        m = t->ReadWideField(obj, again, 32, 0x3B3B, 1);
        CHECK(n == m && n > 0 && memcmp(field, again, sizeof field) == 0);
    }
    t->CloseFile(obj);
    lib.destroy(obj);
    DeleteFileW(path);
}

/* Counts, sizes and indexes with garbage on top; boolean results exact. */
static void elements_and_copies_read_low_halves(void) {
    ICommon* obj = lib.getObject(NULL);
    const ICommonVtbl* t = obj->lpVtbl;
    char out[16];
    int32_t e = 0;
    void* address = NULL;
    float parsed = 0;

    ((BeginElements64)(void*)t->BeginElements)(obj, GARBAGE | 4);
    for (e = 1; e <= 3; ++e) t->PushElement(obj, &e);
    CHECK(t->GetElementCount(obj) == 3);
    e = 0;
    CHECK(((CopyElement64)(void*)t->CopyElement)(obj, 0xFFFFFFFF00000001ull, &e) == 1 && e == 2);
    CHECK(((CopyElement64)(void*)t->CopyElement)(obj, 0x0000000100000005ull, &e) == 0);
    CHECK(t->GetElementPointer(obj, 2, &address) == 1 && address && *(int32_t*)address == 3);
    CHECK(t->PopElement(obj, &e) == 1 && e == 3);
    t->FreeElements(obj);
    CHECK(t->PopElement(obj, &e) == 0);

    memset(out, '#', sizeof out);
    CHECK(((CopyLine64)(void*)t->CopyLine)(obj, "abcdefgh", GARBAGE | 5, out, 0xFFFFFFFF00000010ull) == 5);
    CHECK(memcmp(out, "abcde#", 6) == 0);

    /* Counting without a file: only the low half is added. */
    ((WriteBytes64)(void*)t->WriteBytes)(obj, NULL, GARBAGE | 7);
    CHECK(t->GetByteCount(obj) == 7);

    /* The answer is the sign flag (a trailing + or -), exactly 0 or 1; the
     * units under garbage read as their low halves. */
    CHECK(((ParseFractional64)(void*)t->ParseFractionalMeasureW)(obj, L"1 1/2", GARBAGE | unitInches, &parsed,
                                                                  GARBAGE | unitThousandths) == 0);
    CHECK(parsed == 1500.0f);
    CHECK(t->ParseFractionalMeasureA(obj, "1/2-", unitInches, &parsed, unitThousandths) == 1 && parsed == -500.0f);
    lib.destroy(obj);
}

int main(void) {
    if (!ql_load_library(&lib)) {
        printf("cannot load QLCommon.dll\n0 passed, 1 failed\n");
        return 1;
    }
    open_reads_low_parts();
    formatters_read_low_halves();
    readers_read_low_parts();
    elements_and_copies_read_low_halves();
    FreeLibrary(lib.module);
    return ql_harness_end();
}
