// A host with the Microsoft C++ ABI (clang in MSVC mode) and no C runtime, linked against QLCommon.lib.  Each row
// is one call, made on a new object beside a second one through the C++ view, the C view, and the raw entry with
// garbage above booleans (a true one then has the low byte 0x80), 16-bit and 32-bit integers and the float.
#include "qlcommon.h"

extern "C" {
__declspec(dllimport) void* GetStdHandle(unsigned long);
__declspec(dllimport) int WriteFile(void*, const void*, unsigned long, unsigned long*, void*);
__declspec(dllimport) unsigned long FormatMessageA(unsigned long, const char*, unsigned long, unsigned long, char*,
                                                   unsigned long, const uintptr_t*);
__declspec(dllimport) int lstrcmpA(const char*, const char*);
__declspec(dllimport) void ExitProcess(unsigned);
__declspec(dllimport) unsigned long GetTempPathW(unsigned long, wchar_t*);
__declspec(dllimport) int DeleteFileW(const wchar_t*);
int _fltused = 0;  // the linker asks for it
}

static wchar_t path[300];
static char buf[64];
static union { int32_t i; float f; int32_t* p; } out;
static ICommon* obj;
static int mode;  // 0 the C++ view, 1 the C view, 2 garbage
static const char* const modes[] = {"C++ view", "C view", "garbage"};

// FORMAT's %1, %2!d!... filled from the values; say() writes it out.
template <class... T> static unsigned long format(char* to, unsigned long size, const char* format, T... v) {
    const uintptr_t values[] = {uintptr_t(v)..., 0};
    return FormatMessageA(0x2400, format, 0, 0, to, size, values);  // from a string, values in an array
}
template <class... T> static void say(const char* text, T... v) {
    char line[512];
    unsigned long n = format(line, sizeof line, text, v...);
    WriteFile(GetStdHandle(0xFFFFFFF5), line, n, &n, nullptr);  // to the standard output
}

template <class A, class B> constexpr bool same = false;
template <class A> constexpr bool same<A, A> = true;

// The argument with garbage above it, as the bits of a double.
template <class T> static double dirty(T v) {
    uint64_t u = 0;
    __builtin_memcpy(&u, &v, sizeof v);
    if constexpr (same<T, float>) u |= 0x7FF8DEAD00000000ull;  // under a NaN's upper half
    else if constexpr (same<T, QLBool>) u = 0xDEADBEEFCAFEBA00ull | (v ? 0x80 : 0);
    else if constexpr (sizeof(T) < 8) u |= 0xDEADBEEFCAFEBA00ull << 8 * sizeof(T);
    double d;
    __builtin_memcpy(&d, &u, sizeof d);
    return d;
}

template <class F> static double result(F f) {
    if constexpr (same<decltype(f()), void>) {
        f();
        return 0;
    } else {
        return double(f());
    }
}

// One call, the way `mode` says.  The garbage call is variadic, so each argument goes in both its integer and its
// floating register.
template <class R, class... A, class... V>
static double call(R (ICommon::*cpp)(A...), R (*ICommonVtbl::*c)(ICommon*, A...), V... v) {
    const ICommonVtbl* t = *reinterpret_cast<const ICommonVtbl* const*>(obj);
    if (mode == 0) return result([&] { return (obj->*cpp)(A(v)...); });
    if (mode == 1) return result([&] { return (t->*c)(obj, A(v)...); });
    void* const entry = reinterpret_cast<void*>(t->*c);
    if constexpr (same<R, double>) return reinterpret_cast<double (*)(ICommon*, ...)>(entry)(obj, dirty(A(v))...);
    // R(...) keeps AL of a boolean and EAX of a 32-bit result.
    else return result([&] { return R(reinterpret_cast<uint64_t (*)(ICommon*, ...)>(entry)(obj, dirty(A(v))...)); });
}
#define C(name, ...) #name, [] { return call(&ICommon::name, &ICommonVtbl::name, ##__VA_ARGS__); }

// A row: what is prepared (f a file "old", W it opened to write, w UTF-16 text opened to read, e the
// elements 1, 2, 3); the call; what is shown (f the file after "+" is written, a/w the buffer, c the byte count,
// o/g/p the output or what it points to, e count and element 1 after three pushes); result; the text shown.
static const struct Row {
    char prep; const char* name; double (*run)(); char show; double result; const char* text;
} rows[] = {
    {0, C(GetInterfaceVersion), 'c', 7, "0"},
    {'f', C(OpenFile, path, qlModeWrite, 0), 'f', 1, "+"},
    {'f', C(OpenFile, path, qlModeWrite, 1), 'f', 1, "old+"},
    {'f', C(OpenFileHandle, path, qlModeWrite, 1), 'f', 1, "old+"},
    {0, C(OpenFile, L"Z:\\no\\such\\file", qlModeRead, 0), 'c', 0, "0"},
    {'W', C(WriteValueLine, valueInt, 0xFFFFFFFF0000002Aull, 0, 7ull, valueHex64, 0x0123456789ABCDEFull), 'f', 0,
     "42 0x01234567'89abcdef \r\n+"},
    {'w', C(ReadWideField, buf, 30, L'x', 1), 'w', 6, "ab;cd?|##"},
    {0, C(CopyLine, "abcdefgh", 5, buf, 16), 'a', 5, "abcde####"},
    {0, C(SplitPathExt, L"C:\\Data\\report.txt", nullptr, 0, nullptr, 0, buf, 9), 'w', 0, "txt|#####"},
    {0, C(ShowTaxCalculator, nullptr), 'c', 0, "0"},
    {0, C(MulDivRound, 10, 7, 3), 'c', 23, "0"},
    {0, C(MulDivRound2, 10, 7, 3), 'c', 23, "0"},
    {0, C(Hypotenuse, 3, 4), 'c', 5, "0"},
    {0, C(FormatFloat, -2.25f, buf, 9, 3), 'w', 0, "-2.250|##"},
    {0, C(FormatMeasure, -12345, buf, 9, unitInches, 2), 'w', 0, "-12.35|##"},
    {'e', C(FormatHexDigits, 255, buf, 9), 'e', 0, "0 0"},  // no element storage left
    {0, C(BeginElements, 4), 'e', 0, "3 2"},
    {'e', C(CopyElement, 1, &out), 'o', 1, "2"},
    {'e', C(GetElementPointer, 2, &out.p), 'p', 1, "3"},
    {'e', C(PopElement, &out), 'o', 1, "3"},
    {0, C(ParseFractionalMeasureW, L"1 1/2", 1, &out.f, 2), 'g', 0, "1500"},
    {0, C(ParseFractionalMeasureA, "1/2-", 1, &out.f, 2), 'g', 1, "-500"},
    {0, C(ParseFractionalMeasureRounded, L"1/2 dia", 1, &out.i, 2), 'o', 0, "1571"},
};

static int passed, failed;
static void check(bool ok, const char* what, double came, const char* cameText, double want, const char* wantText) {
    if (ok) return void(++passed);
    ++failed;
    say("%1: came %2!d! \"%3\", expected %4!d! \"%5\"%n", what, int(came), cameText, int(want), wantText);
}

static const ICommonVtbl* table() { return *reinterpret_cast<const ICommonVtbl* const*>(obj); }

static void putFile(const void* bytes, uint32_t n, bool read) {
    table()->OpenFile(obj, path, qlModeWrite, 0);
    table()->WriteBytes(obj, bytes, n);
    table()->CloseFile(obj);
    if (read) table()->OpenFile(obj, path, qlModeRead, 0);
}

static void prepare(char prep) {
    for (char& c : buf) c = '#';
    out.p = nullptr;
    if (prep == 'f') putFile("old", 3, false);
    if (prep == 'W') table()->OpenFile(obj, path, qlModeWrite, 0);
    if (prep == 'w') putFile(L"ab;cd\nef", 16, true);
    if (prep == 'e') table()->BeginElements(obj, 4);
    for (int32_t e = 1; prep == 'e' && e <= 3; ++e) table()->PushElement(obj, &e);
}

// What a row shows, as ASCII ('|' for a zero, '#' for the fill, '?' for others).
static void show(char kind, char* text) {
    const ICommonVtbl* t = table();
    *text = 0;
    for (int i = 0; (kind == 'a' || kind == 'w') && i < 9; ++i) {
        const int c = kind == 'a' ? buf[i] : reinterpret_cast<const QLWChar*>(buf)[i];
        text[i] = char(c == 0 ? '|' : c == 0x2323 ? '#' : c >= 32 && c < 127 ? c : '?');
        text[i + 1] = 0;
    }
    if (kind == 'c') format(text, 64, "%1!d!", t->GetByteCount(obj));
    if (kind == 'o') format(text, 64, "%1!d!", out.i);
    if (kind == 'g') format(text, 64, "%1!d!", int(out.f));
    if (kind == 'p') format(text, 64, "%1!d!", out.p ? *out.p : -1);
    for (int32_t e = 1; kind == 'e' && e <= 3; ++e) t->PushElement(obj, &e);
    if (kind == 'e') format(text, 64, "%1!d! %2!d!", t->GetElementCount(obj), t->CopyElement(obj, 1, &out) ? out.i : 0);
    if (kind == 'f') {  // the file, read back through the library
        t->WriteBytes(obj, "+", 1);
        t->CloseFile(obj);
        t->OpenFile(obj, path, qlModeRead, 0);
        text[t->ReadBytes(obj, text, 40)] = 0;
    }
}

extern "C" void mainCRTStartup() {
    const wchar_t* name = L"ql-msvc-abi.bin";
    for (wchar_t* p = path + GetTempPathW(260, path); (*p++ = *name++) != 0;) continue;
    const int32_t start = QLRelease();
    for (const Row& row : rows)
        for (mode = 0; mode < 3; ++mode) {
            char what[128], text[64];
            format(what, sizeof what, "row %1!d!, %2 (%3)", int(&row - rows), row.name, modes[mode]);
            obj = GetQLObject(reinterpret_cast<void*>(0xBAADF00DBAADF00Dull));
            ICommon* other = GetQLObject(nullptr);
            check(QLRelease() == start + 2, "count with two objects", QLRelease(), "", start + 2, "");
            prepare(row.prep);
            const double r = row.run();
            show(row.show, text);
            check(r == row.result && lstrcmpA(text, row.text) == 0, what, r, text, row.result, row.text);
            QLDestroy(obj);
            QLDestroy(other);
        }
    QLDestroy(nullptr);  // lowers the count, frees nothing
    check(QLRelease() == start - 1, "count after QLDestroy(NULL)", QLRelease(), "", start - 1, "");
    DeleteFileW(path);
    say("%1!d! passed, %2!d! failed%n", passed, failed);
    ExitProcess(failed == 0 ? 0 : 1);
}
