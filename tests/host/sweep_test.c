/* The hostile host: the DLL's own slots with the worst arguments in a careless order, every output buffer ending
 * at a no-access page.  QL_TEST_CHANGES_HOST_TREE QL_TEST_NEEDS_DISPLAY */
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>
#include <objbase.h>

#include "qlcommon.h"

#define COUNT(a) (int)(sizeof(a) / sizeof((a)[0]))

static ICommon* obj;
static char row[300]; /* the call being made, for the reports */
static int failures;
static int element_size;
static HWND parent;

static void fail(const char* what, int units, int len) {
    ++failures;
    printf("%s: %s %d of %d units\n", row, what, units, len);
}

static LONG WINAPI on_crash(EXCEPTION_POINTERS* e) {
    fprintf(stderr, "crash: exception 0x%08lx in %s\n", e->ExceptionRecord->ExceptionCode, row);
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
static BOOL CALLBACK close_one(HWND w, LPARAM unused) {
    DWORD pid = 0;
    wchar_t cls[16];
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(w) && GetClassNameW(w, cls, 16) && !wcscmp(cls, L"#32770"))
        PostMessageW(w, WM_COMMAND, MAKEWPARAM(GetDlgItem(w, 0xFFFF) ? IDOK : IDCANCEL, BN_CLICKED), unused);
    return TRUE;
}
static DWORD WINAPI closer(void* unused) {
    while (EnumWindows(close_one, (LPARAM)unused)) Sleep(30); /* until the process ends */
    return 0;
}

/* The values of each argument kind.  Integers serve as booleans too (low bytes 0, 0xFF, 1...), as modes and,
 * sign-extended, as 64-bit values. */
static QLWChar long_wide[100001], temp[MAX_PATH], path[MAX_PATH + 32], missing[MAX_PATH + 32], outs[7][32];
static char long_bytes[100001]; /* a zlib header, then no line end */
static QLWChar quotes[] = L"\x2018\x2019\x201C\x201D\"";
static const int caps[] = {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 8, 9, 16, 33};
static const int32_t ints[] = {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 9, 0x80, 65536, INT_MAX};
static const QLWChar* const texts[] = {L"one more", NULL, L"", L"1 1/", L"\\", L"C:\\x.y\\", quotes, long_wide};
static const void* const data[] = {long_bytes, NULL};
static const uint32_t counts[] = {0, 1, 7, 65535, 65536, 65537, 100000};
static const QLWChar* const where[] = {path, NULL, L"", missing, long_wide, temp};
static const void* const values64[] = {NULL, long_wide, &(float){1.5f}, &(double){-2.25}};

/* The j-th value of a list (for two lists of one length, every pair in turn). */
#define PICK(list) (list)[(j + j / COUNT(list) * k) % COUNT(list)]

/* Builds the arguments of call j right to left, so that a buffer knows its capacity.  Returns the position of
 * the checked text (kind O or K), or -1. */
static int arguments(const char* kinds, int j, uint64_t a[7]) {
    static const wchar_t filters[] = L"Text\0*.txt\0PDF\0*.pdf\0\0";
    int out = -1, room = 0;
    for (int k = (int)strlen(kinds) - 1; k >= 0; --k) switch (kinds[k]) {
        case 'c': a[k] = (uint32_t)(room = PICK(caps)); break;                      /* a capacity */
        case 'u': a[k] = (uint32_t)(room = PICK(caps) < 0 ? 0 : PICK(caps)); break; /* an unsigned one */
        case 'B': a[k] = (uintptr_t)edge(k % 3, room, 1); break;                    /* its bytes */
        case 'W': a[k] = (uintptr_t)edge(k % 3, room, 2); if (room > 0) *(QLWChar*)a[k] = 0; break;
        case 'O': case 'K': a[k] = (uintptr_t)edge(3, 4096, 2); out = k; break;     /* the checked text */
        case 'C': a[k] = 4096; break;                                               /* its capacity */
        case 'e': a[k] = (uintptr_t)(element_size > 65536 ? NULL : edge(k % 3, element_size, 1)); break;
        case 'i': a[k] = (uint64_t)(int64_t)PICK(ints); break;
        case 't': a[k] = (uintptr_t)PICK(texts); break;
        case 'd': a[k] = (uintptr_t)PICK(data); break;
        case 'n': a[k] = PICK(counts); break;
        case 'v': a[k] = (uintptr_t)PICK(values64); break;
        case 'o': a[k] = j & 1 ? (uintptr_t)outs[k] : 0; break;                     /* an output value */
        case 'h': a[k] = (uintptr_t)(j % 3 == 0 ? parent : j % 3 == 1 ? NULL : (HWND)0x1234); break;
        case 'M': a[k] = (uintptr_t)(j & 1 ? NULL : GetModuleHandleW(NULL)); break;
        case 'f': a[k] = (uintptr_t)(j & 1 ? NULL : filters); break;
        case 'Y': a[k] = (uintptr_t)PICK(where); break;
        case 'P': a[k] = (uintptr_t)path; break;                                    /* a file that can be */
        default: a[k] = (uint64_t)(kinds[k] - '0'); /* a digit: that number */
        }
    return out;
}

/* The slots and the kinds of their arguments, in a careless host's order: reads, writes and closes, then
 * opens of every kind (the next pass reads and writes what they opened), the rest, the texts last. */
static const struct Call { int slot; const char* kinds; } calls[] = {
#define H(name, kinds) {QL_SLOT_##name, kinds}
    H(ReadField, "Bci"), H(ReadWideField, "Bcii"), H(ReadLine, "Bu"), H(ReadBytes, "Bu"), H(ReadBlock, "Bu"),
    H(CopyLine, "diBu"), H(SeekRead, "i"), H(GetBufferPos, ""), H(FindField, "t"), H(GetByteCount, ""),
    H(WriteBytes, "dn"), H(WriteBytesHandle, "dn"), H(WriteValueLine, "iviviv"), H(CloseFile, ""),
    H(CloseFileHandle, ""), H(CloseFile, ""), H(OpenFile, "Yii"), H(OpenFileHandle, "Yii"), H(OpenFile, "Pi0"),
    H(OpenFileHandle, "P11"), H(WriteBytes, "dn"), H(BeginElements, "i"), H(PushElement, "d"), H(PushElement, "e"),
    H(CopyElement, "ie"), H(GetElementPointer, "io"), H(PopElement, "e"), H(GetElementCount, ""),
    H(InflateBlock, "diBuoi"), H(InflateBegin, "dui"),
    H(InflateBlock, "diBuoi"), H(InflateFinish, "i"), H(BeginProgress, "hMi"), H(SetProgressPos, "i"),
    H(StepProgress, ""), H(IdleProgress, ""), H(WarnMissingResource, "ti"), H(EndProgress, ""),
    H(BeginProgress, "hMi"), H(BrowseOpenFile, "hftWui"), H(BrowseSaveFile, "hftWuti"), H(BrowseFolder, "hWc"),
    H(ShowTaxCalculator, "h"), H(ParseFractionalMeasureRounded, "tioi"), H(GetSettingsFilePath, ""),
    H(FormatHexDigits, "iOC"),
    H(GetLastErrorText, "OC"), H(GetUserCompanyFolder, "OC"), H(GetUserProductFolder, "OC"),
    H(GetCommonCompanyFolder, "OC"), H(GetCommonProductFolder, "OC"), H(GetFontsFolder, "OC"),
    H(GetJobsFolder, "OC"), H(GetDataFilePath, "OC"), H(GetInstallCompanyFolder, "OC"), H(GetCacheFolder, "OC"),
    H(GetInstallProductFolder, "OC"), H(GetControllersFolder, "OC"), H(GetDesktopFolder, "OC"),
    H(SetJobFilePath, "t"), H(SetGraphixFilePath, "t"), H(GetJobFilePath, "KC"), H(GetGraphixFilePath, "KC"),
    H(FreeElements, ""),
#undef H
};

static void invoke(const struct Call* h, const uint64_t* a) {
    typedef uint64_t (*Slot)(ICommon*, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t);
    MSG m;
    while (PeekMessageW(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&m); /* the host's message loop */
    ((Slot)((void* const*)obj->lpVtbl)[h->slot])(obj, a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
}

/* Each capacity gets the text of the 4096-unit call when it fits, else the empty text (kind K: cut to capacity - 1);
 * a call that left that buffer as it was must leave every buffer so. */
static void check_text(const struct Call* h, uint64_t* a, int o) {
    const QLWChar* ref = (const QLWChar*)(uintptr_t)a[o];
    int len = 0;
    invoke(h, a);
    const int untouched = ref[0] == 0xCCCC;
    while (!untouched && len < 4095 && ref[len]) ++len;
    if (!untouched && ref[len] != 0) fail("no terminator after", len, len);
    for (int i = 0; i < COUNT(caps) + 2; ++i) {
        const int cap = i < COUNT(caps) ? caps[i] : len + i - COUNT(caps); /* then len and len + 1 */
        const QLWChar* got = edge(0, cap, 2);
        a[o] = (uintptr_t)got;
        a[o + 1] = (uint32_t)cap;
        sprintf(strchr(row, '|'), "| capacity %d", cap);
        invoke(h, a);
        if (cap < 1) continue;
        const int kept = untouched || cap > len ? len : h->kinds[o] == 'K' ? cap - 1 : 0;
        if (memcmp(got, ref, (size_t)kept * 2) != 0) fail("not the first", kept, len);
        if (got[kept] != (untouched ? 0xCCCC : 0)) fail("no end after the first", kept, len);
    }
    a[o] = 0;
    invoke(h, a);
}

int main(void) {
    DWORD old;
    SetUnhandledExceptionFilter(on_crash);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
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
    CreateThread(NULL, 0, closer, NULL, 0, NULL);
    for (int j = 0; j < 36; ++j) {
        if (j % 3 == 0) { /* a new object; the last one is destroyed with what it left open */
            if (obj) QLDestroy(obj);
            obj = GetQLObject((void*)(uintptr_t)0xBAADF00DBAADF00Dull);
        }
        for (const struct Call* h = calls; h < calls + COUNT(calls); ++h) {
            uint64_t a[7] = {0};
            const int o = arguments(h->kinds, j, a);
            sprintf(row, "slot %d \"%s\" pass %d |", h->slot, h->kinds, j);
            if (h->slot == QL_SLOT_BeginElements) element_size = (int32_t)a[0];
            if (o >= 0) check_text(h, a, o);
            else invoke(h, a);
        }
    }
    strcpy(row, "BrowseFolder from a long path");
    obj->lpVtbl->BrowseFolder(obj, parent, wcscpy(edge(1, 600, 2), long_wide + 100000 - 599), 600);
    QLDestroy(obj);
    QLDestroy(NULL);
    printf("%d failed\n", failures);
    return failures != 0;
}
