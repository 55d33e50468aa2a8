/*
 * The calling convention at the table's edge and the object's lifecycle, as
 * a host built by another compiler exercises them.  Such a host may leave
 * garbage above a one-byte boolean or a 32-bit integer in the 64-bit
 * register (or stack slot) that carries it: the library reads only the low
 * byte or the low half.  Each row calls its slot twice through a type that
 * passes every argument as 64 bits: once clean, once with garbage on top
 * (a true boolean then has the low byte 0x80).  Both calls must give the
 * row's result, read from AL for a boolean and from EAX otherwise, and the
 * row's text.  Floats travel by position (the float of FormatFloat in XMM1,
 * with garbage above it; doubles in XMM1 to XMM3), results in XMM0.  Every
 * row runs on a new object beside a second one, with a host context the
 * library must never touch, and the live-object count follows.
 */
#include "ctest_harness.h"

#include <wchar.h>

static wchar_t path[MAX_PATH];
static char buf[64];
static union { int32_t i; float f; } out;
/* Pointer arguments by number: */
enum { P_NULL, P_PATH, P_MISSING, P_BUF, P_OUT, P_ABC, P_FRACTION_W, P_FRACTION_A, P_DIAMETER, P_SIGNED };
static const void* const pointers[] = {NULL, path, L"Z:\\no\\such\\file", buf, &out, "abcdefgh", L"1 1/2", "1/2-",
                                      L"1/2 dia", L"0.0007-"};

/* A row: its name; what is prepared (f a file "old"; l lines, w UTF-16 text, opened to read; e elements
 * 1, 2, 3 of 4 bytes); the slot; the kinds of the result (b bool, i 32-bit, v none), "=", and of each
 * argument (p pointer, i 32-bit, h 16-bit, b bool, F the bits of a float, with a NaN's upper half above it
 * when dirty); the arguments; the result; what is shown after the call (f the file after "+" is written,
 * a/w the buffer, c the byte count, o/g the output value, e three elements pushed); the text shown. */
static const struct Case {
    const char* name; char prep; int slot; const char* kinds; uint64_t args[5];
    int32_t result; char show; const char* text;
} cases[] = {
#define S(name) QL_SLOT_##name
    {"fresh object", 0, S(GetInterfaceVersion), "i=", {0}, 7, 'c', "0"},
    {"OpenFile, no append", 'f', S(OpenFile), "b=pib", {P_PATH, qlModeWrite, 0}, 1, 'f', "+"},
    {"OpenFile, append", 'f', S(OpenFile), "b=pib", {P_PATH, qlModeWrite, 1}, 1, 'f', "old+"},
    {"OpenFileHandle, no append", 'f', S(OpenFileHandle), "b=pib", {P_PATH, qlModeWrite, 0}, 1, 'f', "+"},
    {"OpenFileHandle, append", 'f', S(OpenFileHandle), "b=pib", {P_PATH, qlModeWrite, 1}, 1, 'f', "old+"},
    {"OpenFile to read", 'f', S(OpenFile), "b=pib", {P_PATH, qlModeRead, 0}, 1, 'c', "3"},
    {"OpenFile of a missing file", 0, S(OpenFile), "b=pib", {P_MISSING, qlModeRead, 0}, 0, 'c', "0"},
    {"FormatFloat -2.25", 0, S(FormatFloat), "v=Fpii", {0xC0100000, P_BUF, 9, 3}, 0, 'w', "-2.250|##"},
    {"FormatHexDigits", 0, S(FormatHexDigits), "v=ipi", {16, P_BUF, 3}, 0, 'w', "10|######"},
    {"FormatHexDigits", 0, S(FormatHexDigits), "v=ipi", {0x7FFFFFFF, P_BUF, 9}, 0, 'w', "7FFFFFFF|"},
    {"FormatHexDigits of a negative", 0, S(FormatHexDigits), "v=ipi", {0xFFFFFFFB, P_BUF, 9}, 0, 'w', "|########"},
    {"FormatHexDigits leaves no storage", 'e', S(FormatHexDigits), "v=ipi", {255, P_BUF, 9}, 0, 'e', "0 -1"},
    {"FormatMeasure, feet", 0, S(FormatMeasure), "v=ipiii", {12345, P_BUF, 9, unitFeet, 3}, 0, 'w', "1.029|###"},
    {"FormatMeasure, inches", 0, S(FormatMeasure), "v=ipiii", {-12345, P_BUF, 9, unitInches, 2}, 0, 'w', "-12.35|##"},
    {"FormatMeasure, mm", 0, S(FormatMeasure), "v=ipiii", {12345, P_BUF, 9, unitMillimeters, 1}, 0, 'w', "313.6|###"},
    {"ReadLine", 'l', S(ReadLine), "i=pi", {P_BUF, 8}, 8, 'a', "first li#"},
    {"ReadWideField to ';'", 'w', S(ReadWideField), "i=pihb", {P_BUF, 30, ';', 1}, 3, 'w', "ab;|#####"},
    {"ReadWideField to a line feed", 'w', S(ReadWideField), "i=pihb", {P_BUF, 30, 'x', 1}, 6, 'w', "ab;cd?|##"},
    {"ReadWideField to the end", 'w', S(ReadWideField), "i=pihb", {P_BUF, 30, 'x', 0}, 8, 'w', "ab;cd?ef|"},
    {"BeginElements", 0, S(BeginElements), "v=i", {4}, 0, 'e', "3 2"},
    {"CopyElement", 'e', S(CopyElement), "b=ip", {1, P_OUT}, 1, 'o', "2"},
    {"CopyElement at the count", 'e', S(CopyElement), "b=ip", {3, P_OUT}, 0, 'o', "0"},
    {"PopElement", 'e', S(PopElement), "b=p", {P_OUT}, 1, 'o', "3"},
    {"CopyLine", 0, S(CopyLine), "i=pipi", {P_ABC, 5, P_BUF, 16}, 5, 'a', "abcde####"},
    {"WriteBytes, counted", 0, S(WriteBytes), "v=pi", {P_NULL, 7}, 0, 'c', "7"},
    {"ParseFractionalMeasureW", 0, S(ParseFractionalMeasureW), "b=pipi", {P_FRACTION_W, 1, P_OUT, 2}, 0, 'g', "1500"},
    {"ParseFractionalMeasureA", 0, S(ParseFractionalMeasureA), "b=pipi", {P_FRACTION_A, 1, P_OUT, 2}, 1, 'g', "-500"},
    {"ParseFractionalMeasureRounded", 0, S(ParseFractionalMeasureRounded), "b=pipi", {P_DIAMETER, 1, P_OUT, 2}, 0, 'o', "1571"},
    {"ParseFractionalMeasureRounded, sign", 0, S(ParseFractionalMeasureRounded), "b=pipi", {P_SIGNED, 1, P_OUT, 2}, 1, 'o', "-1"},
#undef S
};

static void put_file(ICommon* o, const void* bytes, uint32_t n, int read) {
    o->lpVtbl->OpenFile(o, path, qlModeWrite, 0);
    o->lpVtbl->WriteBytes(o, bytes, n);
    o->lpVtbl->CloseFile(o);
    if (read) o->lpVtbl->OpenFile(o, path, qlModeRead, 0);
}

/* What the row shows after its call, as ASCII ('|' for a zero, '?' for others). */
static void show(ICommon* o, char kind, char* text) {
    const ICommonVtbl* t = o->lpVtbl;
    if (kind == 'a' || kind == 'w')
        for (int i = 0; i < 9; ++i) {
            const int c = kind == 'a' ? buf[i] : ((const QLWChar*)buf)[i];
            text[i] = (char)(c == 0 ? '|' : c == 0x2323 ? '#' : c >= 32 && c < 127 ? c : '?'); /* 0x2323: the fill */
        }
    text[kind == 'a' || kind == 'w' ? 9 : 0] = 0;
    if (kind == 'c') sprintf(text, "%u", t->GetByteCount(o));
    if (kind == 'o') sprintf(text, "%d", out.i);
    if (kind == 'g') sprintf(text, "%g", out.f);
    for (int32_t e = 1; kind == 'e' && e <= 3; ++e) t->PushElement(o, &e);
    if (kind == 'e') sprintf(text, "%d %d", t->GetElementCount(o), t->CopyElement(o, 1, &out) ? out.i : -1);
    if (kind == 'f') { /* the file, read back through the library */
        t->WriteBytes(o, "+", 1);
        t->CloseFile(o);
        t->OpenFile(o, path, qlModeRead, 0);
        text[t->ReadBytes(o, text, 16)] = 0;
    }
}

static void run(const struct Case* c, ICommon* o, int dirty, char* text, int32_t* result) {
    typedef uint64_t (*Slot64)(ICommon*, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t);
    typedef uint64_t (*SlotFloat)(ICommon*, double, uint64_t, uint64_t, uint64_t, uint64_t);
    uint64_t a[5] = {0};
    double d;
    for (int k = 0; c->kinds[k + 2]; ++k) {
        const uint64_t v = c->args[k];
        const char kind = c->kinds[k + 2];
        a[k] = kind == 'p' ? (uintptr_t)pointers[v] : !dirty ? v
             : kind == 'b' ? 0xDEADBEEFCAFEBA00ull | (v ? 0x80 : 0)
             : kind == 'h' ? 0xFFFFFFFFFFFF0000ull | (uint16_t)v
             : kind == 'F' ? 0x7FF8DEAD00000000ull | v : 0xDEADBEEF00000000ull | (uint32_t)v;
    }
    memcpy(&d, a, sizeof d);
    memset(buf, '#', sizeof buf);
    out.i = 0;
    if (c->prep == 'f') put_file(o, "old", 3, 0);
    if (c->prep == 'l') put_file(o, "first line\nsecond\n", 18, 1);
    if (c->prep == 'w') put_file(o, L"ab;cd\nef", 16, 1);
    if (c->prep == 'e') o->lpVtbl->BeginElements(o, 4);
    for (int32_t e = 1; c->prep == 'e' && e <= 3; ++e) o->lpVtbl->PushElement(o, &e);
    void* const entry = ((void* const*)o->lpVtbl)[c->slot];
    const uint64_t r = c->kinds[2] == 'F' ? ((SlotFloat)entry)(o, d, a[1], a[2], a[3], a[4])
                                          : ((Slot64)entry)(o, a[0], a[1], a[2], a[3], a[4]);
    *result = c->kinds[0] == 'b' ? (uint8_t)r : c->kinds[0] == 'i' ? (int32_t)r : 0;
    show(o, c->show, text);
}

int main(void) {
    if (!ql_load_library()) return 1;
    wcscat(path + GetTempPathW(MAX_PATH, path), L"ql-abi.bin");
    const int32_t start = lib.release();
    for (int i = 0; i < (int)(sizeof cases / sizeof cases[0]); ++i)
        for (int dirty = 0; dirty < 2; ++dirty) {
            ICommon* o = lib.getObject((void*)(uintptr_t)0xBAADF00DBAADF00Dull);
            ICommon* other = lib.getObject(NULL);
            char text[64];
            int32_t r;
            CHECK(lib.release() == start + 2, "count with two objects: came %d, expected %d", lib.release(), start + 2);
            run(&cases[i], o, dirty, text, &r);
            CHECK(r == cases[i].result && !strcmp(text, cases[i].text), "%s (%s): came %d \"%s\", expected %d \"%s\"",
                  cases[i].name, dirty ? "garbage" : "clean", r, text, cases[i].result, cases[i].text);
            lib.destroy(o);
            lib.destroy(other);
        }
    lib.destroy(NULL); /* lowers the count, frees nothing */
    CHECK(lib.release() == start - 1, "count after QLDestroy(NULL): came %d, expected %d", lib.release(), start - 1);

    ICommon* o = lib.getObject(NULL);
    const int32_t m[4] = {o->lpVtbl->MulDivRound(o, 10, 7, 3), o->lpVtbl->MulDivRound(o, 10, 3, 7),
                          o->lpVtbl->MulDivRound(o, 3, 7, 10), o->lpVtbl->MulDivRound2(o, 10, 7, 3)};
    const double h = o->lpVtbl->Hypotenuse(o, 3, 4);
    CHECK(m[0] == 23 && m[1] == 4 && m[2] == 2 && m[3] == 23 && h == 5.0,
          "MulDivRound(10,7,3) (10,3,7) (3,7,10), slot 7 (10,7,3), Hypotenuse(3,4): came %d %d %d %d %g, "
          "expected 23 4 2 23 5", m[0], m[1], m[2], m[3], h);
    lib.destroy(o);
    DeleteFileW(path);
    FreeLibrary(lib.module);
    return ql_harness_end();
}
