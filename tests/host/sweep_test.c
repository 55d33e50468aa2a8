/*
 * The hostile host: all seventy slots with the worst arguments in the worst orders.  Every output buffer ends
 * at a no-access page, so a byte past a capacity crashes, and the report names the call.  A closer thread
 * cancels the dialogs.  The folder getters build the tree: QL_TEST_CHANGES_HOST_TREE.  QL_TEST_NEEDS_DISPLAY
 */
#include "ctest_harness.h"

#include <ctype.h>
#include <limits.h>
#include <math.h>
#include <objbase.h>

#define COUNT(a) (int)(sizeof(a) / sizeof((a)[0]))

static int slot_calls[QL_SLOT_COUNT];
static ICommon* obj;
static char row[300]; /* the call being made, for the reports */
static int rep, element_size;
static HWND parent;

static void fresh_object(void) {
    if (obj) lib.destroy(obj);
    obj = lib.getObject((void*)(uintptr_t)0xBAADF00DBAADF00Dull);
}

static LONG WINAPI on_crash(EXCEPTION_POINTERS* e) {
    printf("crash: exception 0x%08lx in %s\n0 passed, 1 failed\n", e->ExceptionRecord->ExceptionCode, row);
    fflush(stdout);
    ExitProcess(3);
}

/* `count` units of `width` bytes filled with 0xCC, ending at a no-access page; region 3 for the large ones. */
static BYTE* region_end[4];
static void* edge(int i, int count, int width) {
    BYTE* p = region_end[i] - (count > 0 ? (size_t)count * width : 0);
    memset(p, 0xCC, (size_t)(region_end[i] - p));
    return p;
}

/* The closer: OK for a message box (it has the static 0xFFFF), Cancel for a dialog. */
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
    while (closer_running) {
        EnumWindows(close_one, 0);
        Sleep(30);
    }
    return unused != NULL;
}

/* The values of each argument kind.  Integers serve as booleans too (low bytes 0, 0xFF, 1...), as modes and,
 * sign-extended, as 64-bit values. */
static QLWChar long_wide[100001], temp[MAX_PATH], path[MAX_PATH + 32], missing[MAX_PATH + 32], outs[7][32];
static char long_bytes[100001]; /* a zlib header, then no line end */
static QLWChar quotes[] = L"\x2018\x2019\x201C\x201D\"";
static const int caps[] = {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 8, 9, 16, 33};
static const int32_t ints[] = {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 9, 0x80, 65536, INT_MAX};
static const float floats[] = {-0.0f, 3.4e38f, 1e-40f, NAN, -INFINITY};
static const QLWChar* const texts[] = {L"one more", NULL, L"", L"1 1/", L"\\", L"C:\\x.y\\", quotes, long_wide};
static const char* const narrow[] = {"1 1/2", NULL, "", long_bytes};
static const void* const data[] = {long_bytes, NULL};
static const uint32_t counts[] = {0, 1, 7, 65535, 65536, 65537, 100000};
static const QLWChar* const where[] = {path, NULL, L"", missing, long_wide, temp};
static const void* const values64[] = {NULL, long_wide, &(float){1.5f}, &(double){-2.25}};

/* The j-th value of a list (for two lists of one length, every pair in turn). */
#define PICK(list) (list)[(j + j / COUNT(list) * k) % COUNT(list)]

/* Builds the arguments of call j right to left, so that a buffer knows its capacity (*room).  Returns the
 * position of the checked text (kind O), or -1. */
static int arguments(const char* kinds, int j, uint64_t a[7], float* f, int* room) {
    static const wchar_t filters[] = L"Text\0*.txt\0PDF\0*.pdf\0\0";
    int out = -1;
    for (int k = (int)strlen(kinds) - 1; k >= 0; --k) switch (kinds[k]) {
        case 'c': a[k] = (uint32_t)(*room = PICK(caps)); break;                      /* a capacity */
        case 'u': a[k] = (uint32_t)(*room = PICK(caps) < 0 ? 0 : PICK(caps)); break; /* an unsigned one */
        case 'B': a[k] = (uintptr_t)edge(k % 3, *room, 1); break;                    /* its bytes */
        case 'W': a[k] = (uintptr_t)edge(k % 3, *room, 2); if (*room > 0) *(QLWChar*)a[k] = 0; break;
        case 'O': a[k] = (uintptr_t)edge(3, 4096, 2); out = k; break;               /* the checked text */
        case 'C': a[k] = 4096; break;                                               /* its capacity */
        case 'e': a[k] = (uintptr_t)(element_size > 65536 ? NULL : edge(k % 3, element_size, 1)); break;
        case 'i': a[k] = (uint64_t)(int64_t)PICK(ints); break;
        case 'F': *f = PICK(floats); break;
        case 't': a[k] = (uintptr_t)PICK(texts); break;
        case 'a': a[k] = (uintptr_t)PICK(narrow); break;
        case 'd': a[k] = (uintptr_t)PICK(data); break;
        case 'n': a[k] = PICK(counts); break;
        case 'v': a[k] = (uintptr_t)PICK(values64); break;
        case 'o': a[k] = j & 1 ? (uintptr_t)outs[k] : 0; break;                     /* an output value */
        case 'h': a[k] = (uintptr_t)(j % 3 == 0 ? parent : j % 3 == 1 ? NULL : (HWND)0x1234); break;
        case 'M': a[k] = (uintptr_t)(j & 1 ? NULL : GetModuleHandleW(NULL)); break;
        case 'f': a[k] = (uintptr_t)(j & 1 ? NULL : filters); break;
        case 'Y': a[k] = (uintptr_t)PICK(where); break;
        default: a[k] = (uint64_t)(kinds[k] - '0'); /* a digit: that number */
        }
    return out;
}

/* A row: the step of the scenarios that runs it (capitals: many calls, small letters: one), the slot, its
 * argument kinds and flags: BYTES, UNITS the result is at most the capacity in bytes or UTF-16 units (a wide
 * field's terminator may end one byte past); CUT a text that does not fit is cut to capacity - 1 units. */
enum { BYTES = 1, UNITS = 2, CUT = 4 };
static const struct Call { char group; int slot; const char* kinds; int flags; } calls[] = {
#define H(group, name, kinds, flags) {group, QL_SLOT_##name, kinds, flags}
    H('R', ReadField, "Bci", BYTES), H('R', ReadWideField, "Bcii", UNITS), H('R', ReadLine, "Bu", BYTES),
    H('R', ReadBytes, "Bu", BYTES), H('R', ReadBlock, "Bu", BYTES), H('R', CopyLine, "diBu", BYTES),
    H('R', SeekRead, "i", 0), H('R', GetBufferPos, "", 0), H('R', FindField, "t", 0), H('R', GetByteCount, "", 0),
    H('R', GetLastErrorText, "OC", 0), H('W', WriteBytes, "dn", 0), H('W', WriteBytesHandle, "dn", 0),
    H('W', WriteValueLine, "iviviv", 0), H('M', ParseMeasure, "ti", 0), H('M', ParseFractionalMeasureW, "tioi", 0),
    H('M', ParseFractionalMeasureRounded, "tioi", 0), H('M', ParseFractionalMeasureA, "aioi", 0),
    H('M', StraightenQuotes, "t", 0), H('M', GetSettingsFilePath, "", 0), H('M', GetInterfaceVersion, "", 0),
    H('T', FormatMeasure, "iWcii", 0), H('T', FormatFloat, "FWci", 0), H('T', FormatHex64, "iBc", 0),
    H('T', SplitPath, "tWcWc", 0), H('T', SplitPathExt, "tWcWcWc", 0), H('T', FormatHexDigits, "iOC", 0),
    H('g', GetUserCompanyFolder, "OC", 0), H('g', GetUserProductFolder, "OC", 0),
    H('g', GetCommonCompanyFolder, "OC", 0), H('g', GetCommonProductFolder, "OC", 0),
    H('g', GetFontsFolder, "OC", 0), H('g', GetJobsFolder, "OC", 0), H('g', GetDataFilePath, "OC", 0),
    H('g', GetInstallCompanyFolder, "OC", 0), H('g', GetCacheFolder, "OC", 0),
    H('g', GetInstallProductFolder, "OC", 0), H('g', GetControllersFolder, "OC", 0),
    H('g', GetDesktopFolder, "OC", 0), H('k', SetJobFilePath, "t", 0), H('k', SetGraphixFilePath, "t", 0),
    H('k', GetJobFilePath, "OC", CUT), H('k', GetGraphixFilePath, "OC", CUT),
    H('E', BeginElements, "i", 0), H('E', PushElement, "e", 0), H('E', CopyElement, "ie", 0),
    H('E', GetElementPointer, "io", 0), H('E', PopElement, "e", 0), H('E', GetElementCount, "", 0),
    H('E', FreeElements, "", 0), H('I', InflateBlock, "diBuoi", 0), H('I', InflateBegin, "dui", 0),
    H('I', InflateFinish, "i", 0), H('P', BeginProgress, "hMi", 0), H('P', SetProgressPos, "i", 0),
    H('P', StepProgress, "", 0), H('P', IdleProgress, "", 0), H('P', WarnMissingResource, "ti", 0),
    H('P', EndProgress, "", 0), H('B', BrowseOpenFile, "hftWui", 0), H('B', BrowseSaveFile, "hftWuti", 0),
    H('B', BrowseFolder, "hWc", 0), H('B', ShowTaxCalculator, "h", 0), H('x', OpenFile, "Yii", 0),
    H('X', OpenFileHandle, "Yii", 0), H('o', OpenFile, "Y10", 0), H('O', OpenFileHandle, "Y11", 0),
    H('r', OpenFile, "Y20", 0), H('c', CloseFile, "", 0), H('h', CloseFileHandle, "", 0),
    H('u', WriteBytes, "d9", 0), H('e', BeginElements, "4", 0), H('e', PushElement, "d", 0),
    H('p', BeginProgress, "hM9", 0), H('w', WarnMissingResource, "t3", 0), H('i', InflateBegin, "d21", 0),
#undef H
};

static uint32_t invoke(const struct Call* h, const uint64_t* a, float f) {
    typedef uint64_t (*Slot64)(ICommon*, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t);
    typedef uint64_t (*SlotFloat)(ICommon*, float, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t);
    void* const entry = ((void* const*)obj->lpVtbl)[h->slot];
    MSG m;
    while (h->group == 'P' && PeekMessageW(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&m); /* a host's loop */
    ++slot_calls[h->slot];
    if (h->kinds[0] == 'F') return (uint32_t)((SlotFloat)entry)(obj, f, a[1], a[2], a[3], a[4], a[5], a[6]);
    return (uint32_t)((Slot64)entry)(obj, a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
}

/* The call with a large buffer gives the whole text.  When it leaves the buffer as it was (no text to give),
 * every call must; otherwise a call gives the whole text when it fits, else the empty text (or, with CUT, the
 * text cut to capacity - 1 units). */
static void check_text(const struct Call* h, uint64_t* a, float f, int o) {
    const QLWChar* ref = (const QLWChar*)(uintptr_t)a[o];
    int len = 0;
    invoke(h, a, f);
    const int untouched = ref[0] == 0xCCCC;
    while (!untouched && len < 4095 && ref[len]) ++len;
    CHECK(untouched || ref[len] == 0, "%s: no terminator in 4096 units", row);
    for (int i = 0; i < COUNT(caps) + 2; ++i) {
        const int cap = i < COUNT(caps) ? caps[i] : len + i - COUNT(caps); /* then len and len + 1 */
        const QLWChar* got = edge(0, cap, 2);
        a[o] = (uintptr_t)got;
        a[o + 1] = (uint32_t)cap;
        sprintf(strchr(row, '|'), "| capacity %d", cap);
        invoke(h, a, f);
        if (cap < 1) continue;
        const int kept = untouched || cap > len ? len : h->flags & CUT ? cap - 1 : 0;
        CHECK(!memcmp(got, ref, (size_t)kept * 2), "%s: not the first %d of %d units", row, kept, len);
        CHECK(got[kept] == (untouched ? 0xCCCC : 0), "%s: no end after %d units", row, kept);
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
            const int o = arguments(h->kinds, j, a, &f, &room);
            sprintf(row, "slot %d \"%s\" call %d |", h->slot, h->kinds, j);
            if (h->slot == QL_SLOT_BeginElements) element_size = (int32_t)a[0];
            if (o >= 0) {
                check_text(h, a, f, o);
                continue;
            }
            const uint64_t r = invoke(h, a, f), unit = h->flags & UNITS ? 2 : 1;
            if (h->flags & (BYTES | UNITS))
                CHECK(r * unit <= (uint64_t)(room > 0 ? room : 0) + unit - 1, "%s came %u, over %d bytes", row,
                      (unsigned)r, room);
        }
}

/* Steps (D: a new object, else a group of calls) and how often they run. */
static const struct { const char* steps; int reps; } scenarios[] = {
    {"TgD", 1},             /* the formatters and folders on a new object */
    {"k", COUNT(texts)},    /* settings written with each text, read back */
    {"RWcchhD", 1},         /* reads, writes and closes before any open */
    {"xWRcRcD", 36},        /* opens of every kind, then everything in the wrong order */
    {"XWRcRchD", 36},
    {"oOrWhcD", 1},         /* opened twice, by both back ends */
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
        BYTE* base = VirtualAlloc(NULL, (1 << 20) + 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        VirtualProtect(base + (1 << 20), 4096, PAGE_NOACCESS, &old);
        region_end[i] = base + (1 << 20);
    }
    for (int i = 0; i < 100000; ++i) {
        long_wide[i] = (QLWChar)(i % 7 == 0 ? L'\\' : i % 11 == 0 ? L'.' : L'7');
        long_bytes[i] = (char)(i % 5 == 0 ? '/' : '3');
    }
    memcpy(long_bytes, "\x78\x9c\xff\xff", 4);
    GetTempPathW(MAX_PATH, temp);
    wcscat(wcscpy(missing, temp), L"no such folder\\x.bin");
    wcscat(wcscpy(path, temp), L"sweep.bin");
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    SetTimer(NULL, 0, 10, NULL); /* so the waits of the progress updates return */
    parent = CreateWindowExW(0, L"STATIC", L"sweep host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, NULL,
                             NULL, GetModuleHandleW(NULL), NULL);
    HANDLE closer_thread = CreateThread(NULL, 0, closer, NULL, 0, NULL);
    fresh_object();
    for (int i = 0; i < 64; ++i) { /* slots 6 to 8: doubles; 7 gives what 6 gives */
        const double odd[] = {-0.0, 1e300, NAN, -2147483648.5}, x = odd[i % 4], y = odd[i / 4 % 4], z = odd[i / 16];
        const int32_t six = obj->lpVtbl->MulDivRound(obj, x, y, z), seven = obj->lpVtbl->MulDivRound2(obj, x, y, z);
        CHECK(six == seven, "MulDivRound2(%g, %g, %g): came %d, expected %d as slot 6", x, y, z, seven, six);
        obj->lpVtbl->Hypotenuse(obj, x, y);
    }
    slot_calls[QL_SLOT_MulDivRound] = slot_calls[QL_SLOT_MulDivRound2] = slot_calls[QL_SLOT_Hypotenuse] = 1;
    for (int s = 0; s < COUNT(scenarios); ++s)
        for (rep = 0; rep < scenarios[s].reps; ++rep)
            for (const char* step = scenarios[s].steps; *step; ++step) {
                sprintf(row, "scenario \"%s\" repetition %d step '%c'", scenarios[s].steps, rep, *step);
                if (*step == 'D') fresh_object();
                else run_group(*step);
            }
    strcpy(row, "BrowseFolder from a long path");
    obj->lpVtbl->BrowseFolder(obj, parent, wcscpy(edge(1, 600, 2), long_wide + 100000 - 599), 600);
    lib.destroy(obj);
    lib.destroy(NULL);

    closer_running = 0;
    WaitForSingleObject(closer_thread, 5000);
    DestroyWindow(parent);
    for (int s = 0; s < QL_SLOT_COUNT; ++s) CHECK(slot_calls[s] > 0, "slot %d: never called", s);
    FreeLibrary(lib.module);
    return ql_harness_end();
}
