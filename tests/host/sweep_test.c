/*
 * The hostile host: a C host that calls every one of the seventy slots with
 * the worst arguments a careless host can pass, in every order.  The
 * library must not crash, hang or write one byte past a capacity.
 *
 * Every output buffer ends exactly where a no-access page begins: a byte
 * written past its capacity faults, and the crash report names the slot and
 * the call.  A closer thread cancels every dialog and message box.  The
 * folder getters build the host's tree and inflate may load the cache
 * folder's zlib: QL_TEST_CHANGES_HOST_TREE keeps the tree's other tests apart.
 *
 * The table `calls` says, per slot, the kind of each argument (one letter,
 * see `arguments`); call j takes the j-th value of each kind's list.  A row
 * with an output text (kind O, capacity C) is a formatter: for each call,
 * every capacity must give the whole text (the one the same call gives
 * with a large buffer) or, when that does not fit, the empty text.  The
 * scenarios run groups of rows in orders a careless host would: reads
 * before an open, closes twice, destroys with everything open.  Slot 7
 * must give exactly what slot 6 gives for every argument tried.
 * QL_TEST_NEEDS_DISPLAY
 */
#include "ctest_harness.h"

#include <ctype.h>
#include <limits.h>
#include <math.h>
#include <objbase.h>

#define COUNT(a) (int)(sizeof(a) / sizeof((a)[0]))
#define SLOT(name) (current_slot = QL_SLOT_##name, ++slot_calls[QL_SLOT_##name], t->name)

static volatile LONG current_slot = -1;
static int slot_calls[QL_SLOT_COUNT];
static ICommon* obj;
static const ICommonVtbl* t;
static char row[300]; /* the call being made */
static int rep, capacity_now; /* the scenario's repetition; the capacity of the text being checked */
static HWND parent;

static void fresh_object(void) {
    if (obj) lib.destroy(obj);
    obj = lib.getObject((void*)(uintptr_t)0xBAADF00DBAADF00Dull);
    t = obj->lpVtbl;
}

static LONG WINAPI on_crash(EXCEPTION_POINTERS* e) {
    printf("crash: exception 0x%08lx in slot %ld, last call %s (a text's capacity %d)\n0 passed, 1 failed\n",
           (unsigned long)e->ExceptionRecord->ExceptionCode, (long)current_slot, row, capacity_now);
    fflush(stdout);
    ExitProcess(3);
}

/* Buffers of `count` units of `width` bytes (none for a count below 1)
 * that end at a no-access page, filled with 0xCC; region 3 for references. */
#define REGION (1u << 20)
static BYTE* region_end[4];

static void* edge(int i, int count, int width) {
    BYTE* p = region_end[i] - (count > 0 ? (size_t)count * width : 0);
    memset(p, 0xCC, (size_t)(region_end[i] - p));
    return p;
}

/* The closer: a message box (text in static 0xFFFF) gets OK, a dialog Cancel. */
static volatile LONG closer_running = 1;

static BOOL CALLBACK close_one(HWND w, LPARAM unused) {
    DWORD pid = 0;
    wchar_t cls[16];
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w) && GetClassNameW(w, cls, 16) && !wcscmp(cls, L"#32770"))
        PostMessageW(w, WM_COMMAND, MAKEWPARAM(GetDlgItem(w, 0xFFFF) ? IDOK : IDCANCEL, BN_CLICKED), unused);
    return TRUE;
}

static DWORD WINAPI closer(void* unused) {
    for (; closer_running; Sleep(30)) EnumWindows(close_one, 0);
    return unused != NULL;
}

/* ---- the values of each argument kind ---- */

static QLWChar long_wide[100001]; /* terminated, but very long */
static char long_narrow[100001], records[8000 * 22]; /* records: fields and lines, 8-bit and UTF-16 */
static QLWChar temp[MAX_PATH], path[MAX_PATH + 32], missing[MAX_PATH + 32];
static QLWChar quotes[] = L"\x2018\x2019\x201C\x201D\"";
static const int caps[] = {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 7, 8, 9, 16, 31, 32, 33};
static const int32_t ints[] = {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 9, 10, 44, 65536, INT_MAX};
static const uint64_t bools[] = {0, 1, 2, 0x80, 0xFF};
static const uint64_t hex64[] = {0, 1, 255, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFFull, 0x100000000ull, UINT64_MAX};
static const float floats[] = {0.0f, -0.0f, 0.5f, -2.5f, 3.4e38f, -3.4e38f, 1e-40f, NAN, INFINITY, -INFINITY, 1234.5f};
static const QLWChar* const texts[] = {L"one more", NULL, L"", L"1/0", L"0/0", L"1 1/", L"/", L"\\", L" / ", L"dia",
                                       L"mm", L"1e400", L"-1e-400", L"nan", L"inf", L"1 1/2 dia mm-", L"+", L"-",
                                       L"99999999999999999999", L"3/8\\4 5", L"a.b\\c", L"C:\\Data\\report.txt",
                                       L"C:\\Data\\", L"\\.", L"...\\...", L"font a", quotes, long_wide};
static const char* const narrow[] = {"1 1/2", NULL, "", "1/0", "0/0", "1 1/", "/", "dia", "mm", "1e400", "-",
                                     "99999999999999999999", "1 1/2 dia mm-", long_narrow};
static const unsigned char junk[] = {0x78, 0x9c, 0xff, 0xff, 0x00, 0x01, 0x02, '\n'};
static const void* const data[] = {junk, NULL, long_narrow};
static const void* const bytes[] = {long_narrow, NULL};
static const uint32_t counts[] = {0, 1, 7, 12, 65535, 65536, 65537, 100000};
static const QLWChar* const where[] = {path, NULL, L"", missing, long_wide, temp};
static const uint32_t modes[] = {0, 1, 2, 3, 0xFFFFFFFFu, 0x80000001u};
static const void* const values64[] = {NULL, long_wide, &(float){1.5f}, &(double){-2.25}};
static QLWChar large[3][4096], names[7][32];
static int element_size, serial;

/* The j-th value of a list (for two lists of one length, every pair in turn). */
#define PICK(list) (list)[(j + j / COUNT(list) * k) % COUNT(list)]

/* Builds the arguments of call j right to left, so that a buffer knows its
 * capacity.  Returns the position of the output text (kind O), or -1. */
static int arguments(const char* kinds, int j, int width, uint64_t a[7], float* f, int* room) {
    static const wchar_t filters[] = L"Text\0*.txt\0PDF\0*.pdf\0\0";
    int out = -1;
    for (int k = (int)strlen(kinds) - 1; k >= 0; --k) switch (kinds[k]) {
        case 'c': a[k] = (uint32_t)(*room = PICK(caps)); break;                      /* a capacity */
        case 'u': a[k] = (uint32_t)(*room = PICK(caps) < 0 ? 0 : PICK(caps)); break; /* an unsigned one */
        case 'B': a[k] = (uintptr_t)edge(k % 3, *room, 1); break;                    /* its bytes */
        case 'W': a[k] = (uintptr_t)edge(k % 3, *room, 2); if (*room > 0) *(QLWChar*)a[k] = 0; break;
        case 'C': a[k] = 4096; break;                                               /* a large capacity */
        case 'O': a[k] = (uintptr_t)edge(3, 4096, width); out = k; break;
        case 'L': a[k] = (uintptr_t)large[k / 2]; break;                            /* a large one */
        case 'e': a[k] = (uintptr_t)(element_size > 65536 ? NULL : edge(k % 3, element_size, 1)); break;
        case 'i': a[k] = (uint32_t)PICK(ints); break;
        case 'q': a[k] = PICK(hex64); break;
        case 'F': *f = PICK(floats); break;
        case 'b': a[k] = PICK(bools); break;
        case 't': a[k] = (uintptr_t)PICK(texts); break;
        case 'a': a[k] = (uintptr_t)PICK(narrow); break;
        case 'd': a[k] = (uintptr_t)PICK(data); break;
        case 'D': a[k] = (uintptr_t)PICK(bytes); break;
        case 'n': a[k] = PICK(counts); break;
        case 'v': a[k] = (uintptr_t)PICK(values64); break;
        case 'o': a[k] = j & 1 ? (uintptr_t)names[k] : 0; break;                    /* an output value */
        case 'h': a[k] = (uintptr_t)(j % 3 == 0 ? parent : j % 3 == 1 ? NULL : (HWND)0x1234); break;
        case 'M': a[k] = (uintptr_t)(j & 1 ? NULL : GetModuleHandleW(NULL)); break;
        case 'f': a[k] = (uintptr_t)(j & 1 ? NULL : filters); break;
        case 'N': swprintf(names[k], 32, L"missing %d", serial++); a[k] = (uintptr_t)names[k]; break;
        case 'Y': a[k] = (uintptr_t)PICK(where); break;
        case 'm': a[k] = PICK(modes); break;
        case 'Z': a[k] = (uintptr_t)records; break;
        case 'z': a[k] = sizeof records; break;
        default: a[k] = (uint64_t)(kinds[k] - '0'); /* a digit: that number */
        }
    return out;
}

/* A row: the step of the scenarios that runs it (capitals run many calls,
 * small letters one), the slot, the kinds of its arguments, and flags:
 *   BYTES       the result is at most the capacity in bytes;
 *   UNITS       in UTF-16 units (a wide field's terminator may end one byte past);
 *   WIDE        the output text is UTF-16;
 *   CUT         a text that does not fit is cut to capacity - 1 units;
 *   KEEP_SMALL  below a capacity of 4 the output may be left as it was. */
enum { BYTES = 1, UNITS = 2, WIDE = 4, CUT = 8, KEEP_SMALL = 16 };
static const struct Call { char group; int slot; const char* kinds; int flags; } calls[] = {
#define H(group, name, kinds, flags) {group, QL_SLOT_##name, kinds, flags}
    H('R', ReadField, "Bci", BYTES), H('R', ReadWideField, "Bcib", UNITS), H('R', ReadLine, "Bu", BYTES),
    H('R', ReadBytes, "Bu", BYTES), H('R', ReadBlock, "Bu", BYTES), H('R', CopyLine, "diBu", BYTES),
    H('R', ReadBytes, "0u", 0), H('F', SeekRead, "i", 0), H('F', GetBufferPos, "", 0), H('F', FindField, "t", 0),
    H('R', GetByteCount, "", 0), H('R', GetLastErrorText, "OC", WIDE), H('W', WriteBytes, "Dn", 0),
    H('W', WriteBytesHandle, "Dn", 0), H('W', WriteValueLine, "iviviv", 0), H('M', ParseMeasure, "ti", 0),
    H('M', ParseFractionalMeasureW, "tioi", 0), H('M', ParseFractionalMeasureRounded, "tioi", 0),
    H('M', ParseFractionalMeasureA, "aioi", 0), H('M', StraightenQuotes, "t", 0), H('M', GetSettingsFilePath, "", 0),
    H('M', GetInterfaceVersion, "", 0), H('T', FormatMeasure, "iOCii", WIDE), H('T', FormatFloat, "FOCi", WIDE),
    H('T', FormatHex64, "qOC", 0), H('T', FormatHexDigits, "iOC", WIDE), H('T', SplitPath, "tOCLC", WIDE),
    H('T', SplitPath, "tLCOC", WIDE), H('T', SplitPathExt, "tOCLCLC", WIDE), H('T', SplitPathExt, "tLCOCLC", WIDE),
    H('T', SplitPathExt, "tLCLCOC", WIDE | KEEP_SMALL), H('g', GetUserCompanyFolder, "OC", WIDE),
    H('g', GetUserProductFolder, "OC", WIDE), H('g', GetCommonCompanyFolder, "OC", WIDE),
    H('g', GetCommonProductFolder, "OC", WIDE), H('g', GetFontsFolder, "OC", WIDE), H('g', GetJobsFolder, "OC", WIDE),
    H('g', GetDataFilePath, "OC", WIDE), H('g', GetInstallCompanyFolder, "OC", WIDE),
    H('g', GetCacheFolder, "OC", WIDE), H('g', GetInstallProductFolder, "OC", WIDE),
    H('g', GetControllersFolder, "OC", WIDE), H('g', GetDesktopFolder, "OC", WIDE), H('k', SetJobFilePath, "t", 0),
    H('k', SetGraphixFilePath, "t", 0), H('k', GetJobFilePath, "OC", WIDE | CUT),
    H('k', GetGraphixFilePath, "OC", WIDE | CUT), H('E', BeginElements, "i", 0), H('E', PushElement, "e", 0),
    H('E', PushElement, "e", 0), H('E', CopyElement, "ie", 0), H('E', GetElementPointer, "io", 0),
    H('E', PopElement, "e", 0), H('E', GetElementCount, "", 0), H('E', FreeElements, "", 0),
    H('I', InflateBlock, "diBuoi", 0), H('I', InflateBegin, "dui", 0), H('I', InflateFinish, "i", 0),
    H('P', BeginProgress, "hMi", 0), H('P', SetProgressPos, "i", 0), H('P', StepProgress, "", 0),
    H('P', IdleProgress, "", 0), H('P', WarnMissingResource, "ti", 0), H('P', WarnMissingResource, "N9", 0),
    H('P', EndProgress, "", 0), H('B', BrowseOpenFile, "hftWub", 0), H('B', BrowseSaveFile, "hftWutb", 0),
    H('B', BrowseFolder, "hWc", 0), H('B', ShowTaxCalculator, "h", 0), H('x', OpenFile, "Ymb", 0),
    H('X', OpenFileHandle, "Ymb", 0), H('o', OpenFile, "Y10", 0), H('O', OpenFileHandle, "Y11", 0),
    H('r', OpenFile, "Y20", 0), H('c', CloseFile, "", 0), H('h', CloseFileHandle, "", 0), H('s', SeekRead, "3", 0),
    H('u', WriteBytes, "D9", 0), H('e', BeginElements, "4", 0), H('e', PushElement, "D", 0),
    H('p', BeginProgress, "hM9", 0), H('w', WarnMissingResource, "t3", 0), H('i', InflateBegin, "d21", 0),
    H('y', WriteBytes, "Zz", 0),
#undef H
};

static uint32_t invoke(const struct Call* h, const uint64_t* a, float f) {
    typedef uint64_t (*Slot64)(ICommon*, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t);
    typedef uint64_t (*SlotFloat)(ICommon*, float, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t);
    void* const entry = ((void* const*)t)[h->slot];
    MSG m;
    while (h->group == 'P' && PeekMessageW(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&m); /* a host's loop */
    current_slot = h->slot;
    ++slot_calls[h->slot];
    if (h->kinds[0] == 'F') return (uint32_t)((SlotFloat)entry)(obj, f, a[1], a[2], a[3], a[4], a[5], a[6]);
    return (uint32_t)((Slot64)entry)(obj, a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
}

static int unit_at(const void* text, int wide, int i) {
    return wide ? ((const QLWChar*)text)[i] : ((const unsigned char*)text)[i];
}

/* Up to `limit` units as ASCII for a report ('?' for the rest). */
static const char* shown(const void* text, int wide, int limit, char* out) {
    int i = 0;
    for (int u; i < limit && i < 79 && (u = unit_at(text, wide, i)) != 0; ++i)
        out[i] = (char)(u >= 32 && u < 127 ? u : '?');
    out[i] = 0;
    return out;
}

/* The call with a large buffer gives the whole text.  When it leaves the
 * buffer as it was (no text to give), every call must; otherwise a call
 * gives the whole text when it fits, else the empty text, or what the
 * row's flags allow. */
static void check_text(const struct Call* h, uint64_t* a, float f, int o) {
    const int wide = (h->flags & WIDE) != 0, fill = wide ? 0xCCCC : 0xCC;
    const void* ref = (const void*)(uintptr_t)a[o];
    char came[80], expected[80];
    int len = 0;
    invoke(h, a, f);
    const int untouched = unit_at(ref, wide, 0) == fill;
    while (!untouched && len < 4095 && unit_at(ref, wide, len)) ++len;
    CHECK(untouched || unit_at(ref, wide, len) == 0, "%s: no terminator in 4096 units", row);
    for (int i = 0; i < COUNT(caps) + 2; ++i) {
        const int cap = i < COUNT(caps) ? caps[i] : len + i - COUNT(caps); /* then len and len + 1 */
        a[o] = (uintptr_t)edge(0, cap, wide ? 2 : 1);
        a[o + 1] = (uint32_t)(capacity_now = cap);
        invoke(h, a, f);
        const void* got = (const void*)(uintptr_t)a[o];
        if (cap < 1 || ((h->flags & KEEP_SMALL) && cap < 4 && unit_at(got, wide, 0) == fill)) continue;
        const int kept = untouched || cap > len ? len + 1 : h->flags & CUT ? cap : 1;
        CHECK(!memcmp(got, ref, (size_t)(kept - 1) * (wide ? 2 : 1)) &&
                  unit_at(got, wide, kept - 1) == (untouched ? fill : 0),
              "%s capacity %d: came \"%s\", expected \"%s\"%s", row, cap, shown(got, wide, cap, came),
              shown(ref, wide, kept - 1, expected), untouched ? " (untouched)" : "");
    }
    a[o] = 0;
    invoke(h, a, f);
}

static void run_group(char g) {
    const int first = islower(g) ? rep : 0, last = islower(g) ? rep + 1 : g == 'T' ? 169 : g == 'B' ? 15 : 24;
    for (int j = first; j < last; ++j)
        for (const struct Call* h = calls; h < calls + COUNT(calls); ++h) {
            uint64_t a[7] = {0};
            float f = 0;
            int room = 0;
            if (h->group != g) continue;
            const int o = arguments(h->kinds, j, h->flags & WIDE ? 2 : 1, a, &f, &room);
            int n = sprintf(row, "slot %d \"%s\" call %d: float %g,", h->slot, h->kinds, j, f);
            for (int k = 0; k < 7; ++k) n += sprintf(row + n, " %llx", (unsigned long long)a[k]);
            if (h->slot == QL_SLOT_BeginElements) element_size = (int32_t)a[0];
            if (o >= 0) {
                check_text(h, a, f, o);
                continue;
            }
            const uint32_t r = invoke(h, a, f), unit = h->flags & UNITS ? 2 : 1;
            CHECK(!(h->flags & (BYTES | UNITS)) || (uint64_t)r * unit <= (uint64_t)(room > 0 ? room : 0) + unit - 1,
                  "%s: came %u, expected at most %d bytes", row, r, room);
        }
}

/* Steps (D a new object, else a group of calls) and how often they run. */
static const struct { const char* steps; int reps; } scenarios[] = {
    {"TgD", 1},             /* the formatters and folders on a new object */
    {"k", COUNT(texts)},    /* settings written with each text, read back */
    {"RFWcchhD", 1},        /* reads, writes and closes before any open */
    {"xWRFcRcD", 36},       /* opens of every kind, then everything in the wrong order */
    {"XWRFcRchD", 36},
    {"oOrWhcD", 1},         /* opened twice, by both back ends */
    {"oycr", 1},            /* a file of fields and lines (three buffer fills), */
    {"R", 50},              /* read with every capacity */
    {"sRFcD", 1},
    {"ouD", 1},             /* destroyed with a file open for writing */
    {"OuD", 1},
    {"EeEMIiIPPPPpBTD", 1}, /* the rest, with things left started between */
    {"oueEpwiD", 1},        /* destroyed with everything open */
    {"k", 3},               /* the settings left empty */
};

int main(void) {
    DWORD old;
    SetUnhandledExceptionFilter(on_crash);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    if (!ql_load_library()) return 1;
    for (int i = 0; i < 4; ++i) {
        BYTE* base = VirtualAlloc(NULL, REGION + 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE); /* 4 KiB pages */
        VirtualProtect(base + REGION, 4096, PAGE_NOACCESS, &old);
        region_end[i] = base + REGION;
    }
    for (int i = 0; i < 8000; ++i) memcpy(records + 22 * i, "a\tb\r\nline two\n,,\xff\xfe\x09\x00\x0a\x00", 22);
    for (int i = 0; i < 100000; ++i) {
        long_wide[i] = (QLWChar)(i % 7 == 0 ? L'\\' : i % 11 == 0 ? L'.' : L'7');
        long_narrow[i] = (char)(i % 5 == 0 ? '/' : '3');
    }
    GetTempPathW(MAX_PATH, temp);
    wcscat(wcscpy(missing, temp), L"no such folder\\x.bin");
    wcscat(wcscpy(path, temp), L"sweep.bin");
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    SetTimer(NULL, 0, 10, NULL); /* so the waits of the progress updates return */
    parent = CreateWindowExW(0, L"STATIC", L"sweep host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, NULL,
                             NULL, GetModuleHandleW(NULL), NULL);
    HANDLE closer_thread = CreateThread(NULL, 0, closer, NULL, 0, NULL);
    fresh_object();

    const double odd[] = {0.0, -0.0, 0.5, 1.0, -1.0, 3.0, 1e300, -1e300, 1e-300, NAN, INFINITY, -INFINITY,
                          2147483647.5, 2147483648.0, -2147483648.5};
    for (int i = 0; i < COUNT(odd) * COUNT(odd) * COUNT(odd); ++i) {
        const double a = odd[i % 15], b = odd[i / 15 % 15], c = odd[i / 225];
        const int32_t six = SLOT(MulDivRound)(obj, a, b, c), seven = SLOT(MulDivRound2)(obj, a, b, c);
        CHECK(six == seven, "MulDivRound2(%g, %g, %g): came %d, expected %d as slot 6", a, b, c, seven, six);
        SLOT(Hypotenuse)(obj, a, b);
    }
    for (int s = 0; s < COUNT(scenarios); ++s)
        for (rep = 0; rep < scenarios[s].reps; ++rep)
            for (const char* step = scenarios[s].steps; *step; ++step) {
                sprintf(row, "scenario \"%s\" repetition %d step '%c'", scenarios[s].steps, rep, *step);
                if (*step == 'D') fresh_object();
                else run_group(*step);
            }
    SLOT(BrowseFolder)(obj, parent, wcscpy(edge(1, 600, 2), long_wide + 100000 - 599), 600); /* a long start */
    lib.destroy(obj);
    lib.destroy(NULL);

    closer_running = 0;
    WaitForSingleObject(closer_thread, 5000);
    DestroyWindow(parent);
    for (int s = 0; s < QL_SLOT_COUNT; ++s) CHECK(slot_calls[s] > 0, "slot %d: never called", s);
    FreeLibrary(lib.module);
    return ql_harness_end();
}
