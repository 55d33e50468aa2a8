/*
 * The hostile host: a C host that calls every one of the seventy slots with
 * the worst arguments a careless host can pass, in every order.  The
 * library must not crash, hang or write one byte past a capacity.
 *
 * Every output buffer is placed so that it ends exactly where a no-access
 * page begins: a single byte written past its capacity faults, and the
 * unhandled-exception filter names the slot being called.  Windows that the
 * library opens (pickers, the calculator, warning boxes) are cancelled by a
 * closer thread.  QL_TEST_NEEDS_DISPLAY
 */
#include "ctest_harness.h"

#include <objbase.h>

#include <float.h>
#include <limits.h>
#include <math.h>

static volatile LONG current_slot = -1;
static int slot_calls[QL_SLOT_COUNT];
static QLLibrary lib;
static ICommon* obj;
static const ICommonVtbl* t;

/* Makes obj a new service object (the old one is destroyed first). */
static void fresh_object(void) {
    if (obj) lib.destroy(obj);
    obj = lib.getObject((void*)(uintptr_t)0xBAADF00DBAADF00Dull);
    t = obj->lpVtbl;
}

/* Marks the slot about to be called, for the crash report and the count. */
#define SLOT(name) (current_slot = QL_SLOT_##name, ++slot_calls[QL_SLOT_##name], t->name)

static LONG WINAPI on_crash(EXCEPTION_POINTERS* e) {
    printf("crash: exception 0x%08lx in slot %ld\n0 passed, 1 failed\n",
           (unsigned long)e->ExceptionRecord->ExceptionCode, (long)current_slot);
    fflush(stdout);
    ExitProcess(3);
    return EXCEPTION_EXECUTE_HANDLER;
}

/* ---- buffers that end at a no-access page ---- */

#define REGION_BYTES (1u << 20)
static BYTE* regions[4];

static void make_regions(void) {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    for (int i = 0; i < 4; ++i) {
        BYTE* base = (BYTE*)VirtualAlloc(NULL, REGION_BYTES + si.dwPageSize, MEM_RESERVE | MEM_COMMIT,
                                         PAGE_READWRITE);
        DWORD old;
        VirtualProtect(base + REGION_BYTES, si.dwPageSize, PAGE_NOACCESS, &old);
        regions[i] = base + REGION_BYTES; /* the first byte that faults */
    }
}

/* A buffer of exactly `bytes` bytes in region i, filled with 0xCC. */
static void* edge(int i, size_t bytes) {
    BYTE* p = regions[i] - bytes;
    memset(p, 0xCC, bytes);
    return p;
}

static QLWChar* wedge(int i, int chars) { return (QLWChar*)edge(i, (size_t)(chars > 0 ? chars : 0) * 2); }

/* Text that is terminated, but very long. */
static QLWChar* long_wide;
static char* long_narrow;

/* ---- the closer thread: cancels every dialog and message box ---- */

static volatile LONG closer_running = 1;

static BOOL CALLBACK close_one(HWND w, LPARAM unused) {
    (void)unused;
    DWORD pid = 0;
    wchar_t cls[16];
    GetWindowThreadProcessId(w, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(w)) return TRUE;
    if (!GetClassNameW(w, cls, 16) || wcscmp(cls, L"#32770") != 0) return TRUE;
    /* A message box has its text in static 0xFFFF and only an OK button. */
    WPARAM id = GetDlgItem(w, 0xFFFF) ? IDOK : IDCANCEL;
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return TRUE;
}

static DWORD WINAPI closer(void* unused) {
    (void)unused;
    while (closer_running) {
        EnumWindows(close_one, 0);
        Sleep(30);
    }
    return 0;
}

/* ---- the sweep, subsystem by subsystem ---- */

static const int small_caps[] = {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 7, 8, 9, 16, 31, 32, 33};
#define NCAPS (int)(sizeof small_caps / sizeof small_caps[0])

static wchar_t temp_dir[MAX_PATH];

static void path_in_temp(QLWChar* out, const wchar_t* name) {
    wcscpy(out, temp_dir);
    wcscat(out, name);
}

static void sweep_measures(void) {
    const double odd[] = {0.0, -0.0, 1.0, -1.0, 1e300, -1e300, 1e-300, NAN, INFINITY, -INFINITY, 2147483648.0};
    const int n = (int)(sizeof odd / sizeof odd[0]);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            /* Slot 7 answers exactly as slot 6, whatever the compiler made of them. */
            const double c[2] = {odd[(i + j) % n], 0.0};
            for (int k = 0; k < 2; ++k) {
                const int32_t six = SLOT(MulDivRound)(obj, odd[i], odd[j], c[k]);
                const int32_t seven = SLOT(MulDivRound2)(obj, odd[i], odd[j], c[k]);
                if (six != seven)
                    printf("MulDivRound2(%g, %g, %g) gave %d, MulDivRound %d\n", odd[i], odd[j], c[k], seven, six);
                CHECK(six == seven);
            }
            SLOT(Hypotenuse)(obj, odd[i], odd[j]);
        }
    const int32_t values[] = {0, 1, -1, 999, 1000, -1500, INT_MAX, INT_MIN};
    const int units[] = {-1, 0, 1, 2, 3, 4, 5, INT_MAX};
    const int decimals[] = {INT_MIN, -1, 0, 1, 3, 7, 20, 30, 31, 40, 1000};
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u)
            for (int d = 0; d < (int)(sizeof decimals / sizeof decimals[0]); ++d) {
                for (int c = 0; c < NCAPS; ++c)
                    SLOT(FormatMeasure)(obj, values[v], wedge(0, small_caps[c]), small_caps[c], units[u], decimals[d]);
                SLOT(FormatMeasure)(obj, values[v], wedge(0, 64), 64, units[u], decimals[d]);
                SLOT(FormatMeasure)(obj, values[v], NULL, 64, units[u], decimals[d]);
            }
    const QLWChar* texts[] = {NULL, L"", L"1/0", L"0/0", L"1 1/", L"/", L"\\", L" / ", L"dia", L"mm",
                              L"1e400", L"-1e400", L"1e-400", L"nan", L"inf", L"1 1/2 dia mm-", L"+", L"-",
                              L"99999999999999999999", L"3/8\\4 5"};
    const int nt = (int)(sizeof texts / sizeof texts[0]);
    static const char* narrow[] = {NULL, "", "1/0", "0/0", "1 1/", "/", "\\", "dia", "mm", "1e400",
                                   "-1e400", "+", "-", "99999999999999999999", "1 1/2 dia mm-"};
    for (int u = 0; u < 8; ++u) {
        float f;
        int32_t r;
        for (int i = 0; i < nt; ++i) {
            SLOT(ParseMeasure)(obj, texts[i], units[u]);
            SLOT(ParseFractionalMeasureW)(obj, texts[i], units[u], &f, units[(u + 1) % 8]);
            SLOT(ParseFractionalMeasureW)(obj, texts[i], units[u], NULL, units[u]);
            SLOT(ParseFractionalMeasureRounded)(obj, texts[i], units[u], &r, units[(u + 3) % 8]);
            SLOT(ParseFractionalMeasureRounded)(obj, texts[i], units[u], NULL, units[u]);
        }
        for (int i = 0; i < (int)(sizeof narrow / sizeof narrow[0]); ++i) {
            SLOT(ParseFractionalMeasureA)(obj, narrow[i], units[u], &f, units[(u + 2) % 8]);
            SLOT(ParseFractionalMeasureA)(obj, narrow[i], units[u], NULL, units[u]);
        }
        SLOT(ParseMeasure)(obj, long_wide, units[u]);
        SLOT(ParseFractionalMeasureW)(obj, long_wide, units[u], &f, 1);
        SLOT(ParseFractionalMeasureRounded)(obj, long_wide, units[u], &r, 1);
        SLOT(ParseFractionalMeasureA)(obj, long_narrow, units[u], &f, 1);
    }
}

static void sweep_numbers(void) {
    const float floats[] = {0.0f, -0.0f, 0.5f, -2.5f, 3.4e38f, -3.4e38f, 1e-40f, NAN, INFINITY, -INFINITY};
    for (int i = 0; i < 10; ++i)
        for (int d = -2; d <= 45; d += 1) {
            for (int c = 0; c < NCAPS; ++c)
                SLOT(FormatFloat)(obj, floats[i], wedge(0, small_caps[c]), small_caps[c], d);
            SLOT(FormatFloat)(obj, floats[i], NULL, 100, d);
            SLOT(FormatFloat)(obj, floats[i], wedge(0, 100), 100, d);
        }
    const uint64_t hex[] = {0, 1, 0xFFFFFFFFull, 0x100000000ull, UINT64_MAX};
    const int32_t ints[] = {0, 1, -1, 255, INT_MAX, INT_MIN};
    for (int i = 0; i < 5; ++i)
        for (int c = 0; c < NCAPS; ++c) {
            SLOT(FormatHex64)(obj, hex[i], (char*)edge(0, small_caps[c] > 0 ? (size_t)small_caps[c] : 0), small_caps[c]);
            SLOT(FormatHexDigits)(obj, ints[i], wedge(0, small_caps[c]), small_caps[c]);
        }
    for (int i = 0; i < 6; ++i) {
        SLOT(FormatHex64)(obj, hex[i % 5], NULL, 32);
        SLOT(FormatHexDigits)(obj, ints[i], NULL, 32);
        for (int c = 0; c < NCAPS; ++c) SLOT(FormatHexDigits)(obj, ints[i], wedge(0, small_caps[c]), small_caps[c]);
    }
    SLOT(StraightenQuotes)(obj, NULL);
    SLOT(StraightenQuotes)(obj, long_wide);
    QLWChar* q = wedge(0, 6);
    memcpy(q, L"\x2018\x2019\x201C\x201D\"", 12);
    SLOT(StraightenQuotes)(obj, q);
    for (int c = 0; c < NCAPS; ++c) SLOT(GetLastErrorText)(obj, wedge(0, small_caps[c]), small_caps[c]);
    SLOT(GetLastErrorText)(obj, NULL, 100);
}

static void sweep_elements(void) {
    const int32_t sizes[] = {INT_MIN, -1, 0, 1, 3, 4, 65536, 65537, INT_MAX};
    BYTE element[16] = {1, 2, 3, 4, 5, 6, 7, 8};
    void* address;
    /* Everything before BeginElements. */
    SLOT(PushElement)(obj, element);
    SLOT(PopElement)(obj, element);
    SLOT(CopyElement)(obj, 0, element);
    SLOT(GetElementPointer)(obj, 0, &address);
    SLOT(GetElementCount)(obj);
    SLOT(FreeElements)(obj);
    for (int s = 0; s < 9; ++s) {
        SLOT(BeginElements)(obj, sizes[s]);
        int32_t size = sizes[s];
        int fits = size > 0 && size <= 16;
        SLOT(PushElement)(obj, NULL);
        if (fits)
            for (int k = 0; k < 20000; ++k) SLOT(PushElement)(obj, element);
        const int32_t idx[] = {INT_MIN, -1, 0, 1, 19999, 20000, 20001, INT_MAX};
        for (int i = 0; i < 8; ++i) {
            if (fits) SLOT(CopyElement)(obj, idx[i], edge(1, (size_t)size));
            SLOT(CopyElement)(obj, idx[i], NULL);
            SLOT(GetElementPointer)(obj, idx[i], &address);
            SLOT(GetElementPointer)(obj, idx[i], NULL);
        }
        SLOT(PopElement)(obj, NULL);
        if (fits)
            while (SLOT(PopElement)(obj, edge(1, (size_t)size))) {
            }
        SLOT(PopElement)(obj, element);
        SLOT(GetElementCount)(obj);
        SLOT(FreeElements)(obj);
        SLOT(FreeElements)(obj);
    }
    /* BeginElements twice without freeing, then leave it to the destroyer. */
    SLOT(BeginElements)(obj, 4);
    SLOT(PushElement)(obj, element);
    SLOT(BeginElements)(obj, 8);
    SLOT(PushElement)(obj, element);
}

static void read_everything_badly(void) {
    for (int c = 0; c < NCAPS; ++c) {
        int cap = small_caps[c];
        size_t bytes = cap > 0 ? (size_t)cap : 0;
        SLOT(ReadField)(obj, (char*)edge(0, bytes), cap, ',');
        SLOT(ReadWideField)(obj, (QLWChar*)edge(0, bytes), cap, 9, 1);
        SLOT(ReadWideField)(obj, (QLWChar*)edge(0, bytes), cap, 0xFFFF, 0);
        SLOT(ReadLine)(obj, (char*)edge(0, bytes), (uint32_t)bytes);
        SLOT(ReadBytes)(obj, edge(0, bytes), (uint32_t)bytes);
        SLOT(ReadBlock)(obj, edge(0, bytes), (uint32_t)bytes);
        SLOT(CopyLine)(obj, "ab\ncd", 5, edge(0, bytes), (uint32_t)bytes);
    }
    SLOT(ReadField)(obj, NULL, 100, 9);
    SLOT(ReadWideField)(obj, NULL, 100, 9, 1);
    SLOT(ReadLine)(obj, NULL, 100);
    SLOT(ReadBlock)(obj, NULL, 100);
    SLOT(ReadBytes)(obj, NULL, 7);
    SLOT(SeekRead)(obj, -1);
    SLOT(SeekRead)(obj, INT_MAX);
    SLOT(SeekRead)(obj, 0);
    SLOT(GetBufferPos)(obj);
    SLOT(FindField)(obj, NULL);
    SLOT(FindField)(obj, L"");
    SLOT(FindField)(obj, long_wide);
    SLOT(ReadBytes)(obj, NULL, 0xFFFFFFFFu);
    SLOT(GetByteCount)(obj);
}

static void write_everything_badly(void) {
    static const char bytes[] = "some bytes\r\n";
    float f = 1.5f;
    double d = -2.25;
    SLOT(WriteBytes)(obj, NULL, 0);
    SLOT(WriteBytes)(obj, NULL, 10);
    SLOT(WriteBytes)(obj, bytes, 0);
    SLOT(WriteBytes)(obj, bytes, 12);
    SLOT(WriteBytesHandle)(obj, NULL, 10);
    SLOT(WriteBytesHandle)(obj, bytes, 12);
    const int32_t kinds[] = {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 6, INT_MAX};
    for (int k = 0; k < 10; ++k) {
        SLOT(WriteValueLine)(obj, kinds[k], 0, kinds[(k + 1) % 10], 0, kinds[(k + 2) % 10], 0);
        SLOT(WriteValueLine)(obj, kinds[k], (uint64_t)(uintptr_t)long_wide, 3, (uint64_t)-1, 2, UINT64_MAX);
    }
    SLOT(WriteValueLine)(obj, 4, (uint64_t)(uintptr_t)&f, 5, (uint64_t)(uintptr_t)&d, 1, (uint64_t)(uintptr_t)L"x");
}

static void sweep_data_files(void) {
    QLWChar path[MAX_PATH + 32], missing[MAX_PATH + 32];
    path_in_temp(path, L"sweep.bin");
    path_in_temp(missing, L"no such folder\\x.bin");
    const uint32_t modes[] = {0, 1, 2, 3, 0xFFFFFFFFu};

    /* Before any open: reads, writes, closes twice. */
    fresh_object();
    read_everything_badly();
    write_everything_badly();
    SLOT(CloseFile)(obj);
    SLOT(CloseFile)(obj);
    SLOT(CloseFileHandle)(obj);
    SLOT(CloseFileHandle)(obj);

    /* Opens with every mode, null, empty, missing and very long paths; each
     * followed by everything else in the wrong order. */
    const QLWChar* paths[] = {NULL, L"", missing, long_wide, path};
    for (int p = 0; p < 5; ++p)
        for (int m = 0; m < 5; ++m)
            for (int handle = 0; handle < 2; ++handle) {
                fresh_object();
                if (handle)
                    SLOT(OpenFileHandle)(obj, paths[p], modes[m], (QLBool)(m & 1));
                else
                    SLOT(OpenFile)(obj, paths[p], modes[m], (QLBool)(m & 1));
                write_everything_badly();
                read_everything_badly();
                SLOT(CloseFile)(obj);
                read_everything_badly();
                SLOT(CloseFile)(obj);
            }

    /* A file opened twice on one object, by both back ends. */
    fresh_object();
    SLOT(OpenFile)(obj, path, 1, 0);
    SLOT(OpenFileHandle)(obj, path, 1, 1);
    SLOT(OpenFile)(obj, path, 2, 0);
    write_everything_badly();
    SLOT(CloseFileHandle)(obj);
    SLOT(CloseFile)(obj);

    /* A readable file with fields and lines, read with every capacity. */
    fresh_object();
    if (SLOT(OpenFile)(obj, path, 1, 0)) {
        static const char text[] = "a\tb\r\nline two\n,,\xff\xfe\x09\x00\x0a\x00";
        for (int i = 0; i < 3000; ++i) SLOT(WriteBytes)(obj, text, sizeof text - 1);
        SLOT(CloseFile)(obj);
    }
    SLOT(OpenFile)(obj, path, 2, 0);
    for (int round = 0; round < 50; ++round) read_everything_badly();
    SLOT(SeekRead)(obj, 3);
    read_everything_badly();
    SLOT(CloseFile)(obj);

    /* Destroyed with a file open for writing, by each back end. */
    fresh_object();
    SLOT(OpenFile)(obj, path, 1, 0);
    SLOT(WriteBytes)(obj, "unwritten", 9);
    fresh_object();
    SLOT(OpenFileHandle)(obj, path, 1, 0);
    SLOT(WriteBytes)(obj, "unwritten", 9);
    fresh_object();
}

static void sweep_paths_and_folders(void) {
    const QLWChar* paths[] = {NULL, L"", L"\\", L"x", L".", L"\\.", L"a.b\\c", L"C:\\Data\\report.txt",
                              L"C:\\Data\\", L"...\\...", long_wide};
    for (int p = 0; p < 11; ++p)
        for (int c = 0; c < NCAPS; ++c) {
            int cap = small_caps[c];
            SLOT(SplitPath)(obj, paths[p], wedge(0, cap), cap, wedge(1, cap), cap);
            SLOT(SplitPath)(obj, paths[p], NULL, cap, NULL, cap);
            SLOT(SplitPathExt)(obj, paths[p], wedge(0, cap), cap, wedge(1, cap), cap, wedge(2, cap), cap);
            SLOT(SplitPathExt)(obj, paths[p], NULL, cap, NULL, cap, NULL, cap);
        }
    typedef void (*FolderOp)(ICommon*, QLWChar*, int32_t);
#define FOLDER(name) {QL_SLOT_##name, (FolderOp)t->name}
    struct { int slot; FolderOp op; } ops[] = {
        FOLDER(GetUserCompanyFolder), FOLDER(GetUserProductFolder), FOLDER(GetCommonCompanyFolder),
        FOLDER(GetJobFilePath), FOLDER(GetFontsFolder), FOLDER(GetInstallCompanyFolder),
        FOLDER(GetCacheFolder), FOLDER(GetInstallProductFolder), FOLDER(GetControllersFolder),
        FOLDER(GetCommonProductFolder), FOLDER(GetDataFilePath), FOLDER(GetDesktopFolder),
        FOLDER(GetGraphixFilePath), FOLDER(GetJobsFolder)};
#undef FOLDER
    for (int i = 0; i < (int)(sizeof ops / sizeof ops[0]); ++i) {
        const int caps[] = {INT_MIN, -1, 0, 1, 2, 3, 10, 40, 100, 511, 512, 513, 4096};
        for (int c = 0; c < 13; ++c) {
            current_slot = ops[i].slot;
            ++slot_calls[ops[i].slot];
            ops[i].op(obj, wedge(0, caps[c]), caps[c]);
        }
        current_slot = ops[i].slot;
        ++slot_calls[ops[i].slot];
        ops[i].op(obj, NULL, 512);
    }
    SLOT(GetSettingsFilePath)(obj);
    /* Settings written with odd values, then read back into small buffers. */
    const QLWChar* values[] = {NULL, L"", L"C:\\jobs\\a job.job", long_wide};
    for (int v = 0; v < 4; ++v) {
        SLOT(SetJobFilePath)(obj, values[v]);
        SLOT(SetGraphixFilePath)(obj, values[v]);
        for (int c = 0; c < NCAPS; ++c) {
            SLOT(GetJobFilePath)(obj, wedge(0, small_caps[c]), small_caps[c]);
            SLOT(GetGraphixFilePath)(obj, wedge(0, small_caps[c]), small_caps[c]);
        }
    }
    SLOT(SetJobFilePath)(obj, L"");
    SLOT(SetGraphixFilePath)(obj, L"");
}

static void sweep_inflate(void) {
    static const unsigned char junk[] = {0x78, 0x9c, 0xff, 0xff, 0x00, 0x01, 0x02};
    uint32_t produced = 0;
    const int32_t kinds[] = {INT_MIN, -1, 0, 1, 2};
    for (int k = 0; k < 5; ++k) {
        /* Before any begin. */
        SLOT(InflateBlock)(obj, junk, (int32_t)sizeof junk, edge(0, 16), 16, &produced, kinds[k]);
        SLOT(InflateFinish)(obj, kinds[k]);
        SLOT(InflateBegin)(obj, NULL, 0, kinds[k]);
        SLOT(InflateBegin)(obj, junk, 0xFFFFFFFFu, kinds[k]);
        SLOT(InflateBegin)(obj, junk, sizeof junk, kinds[k]);
        SLOT(InflateBlock)(obj, NULL, 5, edge(0, 16), 16, &produced, kinds[k]);
        SLOT(InflateBlock)(obj, junk, -1, edge(0, 16), 16, &produced, kinds[k]);
        SLOT(InflateBlock)(obj, junk, 0, edge(0, 16), 16, &produced, kinds[k]);
        SLOT(InflateBlock)(obj, junk, 5, NULL, 16, &produced, kinds[k]);
        SLOT(InflateBlock)(obj, junk, 5, edge(0, 16), 16, NULL, kinds[k]);
        SLOT(InflateBlock)(obj, junk, 5, edge(0, 0), 0, &produced, kinds[k]);
        SLOT(InflateBlock)(obj, junk, 5, edge(0, 16), 16, &produced, kinds[k]);
        SLOT(InflateFinish)(obj, kinds[k]);
        SLOT(InflateFinish)(obj, kinds[k]);
    }
    SLOT(InflateBegin)(obj, junk, sizeof junk, 1); /* left started for the destroyer */
    for (int c = 0; c < NCAPS; ++c) {
        int cap = small_caps[c];
        SLOT(CopyLine)(obj, "abc", cap, edge(0, 8), 8);
        SLOT(CopyLine)(obj, NULL, 3, edge(0, 8), 8);
        SLOT(CopyLine)(obj, "abc", 3, NULL, (uint32_t)cap);
        SLOT(CopyLine)(obj, "abcdefghijklmnopqrstuvwxyz0123456789", 36, edge(0, cap > 0 ? (size_t)cap : 0),
                       cap > 0 ? (uint32_t)cap : 0);
    }
}

static void sweep_windows(HWND parent) {
    /* Progress and warnings in every order. */
    SLOT(WarnMissingResource)(obj, L"before any progress window", 1); /* silent */
    SLOT(SetProgressPos)(obj, 5);
    SLOT(StepProgress)(obj);
    SLOT(IdleProgress)(obj);
    SLOT(EndProgress)(obj);
    SLOT(EndProgress)(obj);
    const HWND parents[] = {NULL, (HWND)(uintptr_t)0x1234, parent};
    const int32_t ranges[] = {INT_MIN, -5, 0, 1, INT_MAX};
    for (int p = 0; p < 3; ++p)
        for (int r = 0; r < 5; ++r) {
            SLOT(BeginProgress)(obj, parents[p], GetModuleHandleW(NULL), ranges[r]);
            SLOT(BeginProgress)(obj, parents[p], NULL, ranges[r]);
            SLOT(SetProgressPos)(obj, INT_MIN);
            SLOT(SetProgressPos)(obj, INT_MAX);
            SLOT(StepProgress)(obj);
            SLOT(IdleProgress)(obj);
        }
    const QLWChar* names[] = {NULL, L"", L"Font A", L"font a", long_wide};
    const int32_t kinds[] = {INT_MIN, -1, 0, 1, 2, 3, 4};
    for (int n = 0; n < 5; ++n)
        for (int k = 0; k < 7; ++k) {
            SLOT(WarnMissingResource)(obj, names[n], kinds[k]);
            SLOT(WarnMissingResource)(obj, names[n], kinds[k]);
        }
    for (int i = 0; i < 300; ++i) {
        QLWChar name[32];
        swprintf(name, 32, L"missing %d", i);
        SLOT(WarnMissingResource)(obj, name, 99); /* no box for unknown kinds */
    }
    SLOT(EndProgress)(obj);
    SLOT(BeginProgress)(obj, parent, GetModuleHandleW(NULL), 100); /* left for the destroyer */

    /* Pickers and the calculator: each is cancelled by the closer. */
    const QLWChar filters[] = L"Text\0*.txt\0PDF\0*.pdf\0\0";
    for (int c = 0; c < NCAPS; ++c) {
        int cap = small_caps[c];
        /* The file pickers' capacity is unsigned: a negative one is a huge
         * capacity, a lie about the buffer that no library can catch. */
        if (cap >= 0) {
            QLWChar* file = wedge(0, cap);
            if (cap > 0) file[0] = 0;
            SLOT(BrowseOpenFile)(obj, parent, filters, L"pdf", file, (uint32_t)cap, 1);
            if (cap > 0) file[0] = 0;
            SLOT(BrowseSaveFile)(obj, parent, filters, L"txt", file, (uint32_t)cap, NULL, 2);
        }
        QLWChar* folder = wedge(1, cap);
        if (cap > 0) folder[0] = 0;
        SLOT(BrowseFolder)(obj, parent, folder, cap);
    }
    SLOT(BrowseOpenFile)(obj, NULL, NULL, NULL, NULL, 260, 0);
    SLOT(BrowseSaveFile)(obj, NULL, NULL, NULL, NULL, 260, long_wide, 1);
    SLOT(BrowseFolder)(obj, NULL, NULL, 260);
    QLWChar* folder = wedge(1, 600);
    for (int i = 0; i < 599; ++i) folder[i] = L'q';
    folder[599] = 0;
    SLOT(BrowseFolder)(obj, parent, folder, 600);
    SLOT(ShowTaxCalculator)(obj, NULL);
    SLOT(ShowTaxCalculator)(obj, (HWND)(uintptr_t)0x1234);
    SLOT(ShowTaxCalculator)(obj, parent);
}

int main(void) {
    SetUnhandledExceptionFilter(on_crash);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    if (!ql_load_library(&lib)) {
        printf("cannot load QLCommon.dll\n0 passed, 1 failed\n");
        return 1;
    }
    make_regions();
    GetTempPathW(MAX_PATH, temp_dir);
    long_wide = (QLWChar*)calloc(100001, sizeof(QLWChar));
    long_narrow = (char*)calloc(100001, 1);
    for (int i = 0; i < 100000; ++i) {
        long_wide[i] = (QLWChar)(i % 7 == 0 ? L'\\' : i % 11 == 0 ? L'.' : L'7');
        long_narrow[i] = (char)(i % 5 == 0 ? '/' : '3');
    }
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
    SetTimer(NULL, 0, 10, NULL); /* so WaitMessage in the progress updates returns */
    HWND parent = CreateWindowExW(0, L"STATIC", L"sweep host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                  300, NULL, NULL, GetModuleHandleW(NULL), NULL);
    HANDLE closer_thread = CreateThread(NULL, 0, closer, NULL, 0, NULL);

    fresh_object();
    SLOT(GetInterfaceVersion)(obj);
    sweep_measures();
    sweep_numbers();
    sweep_elements();
    sweep_paths_and_folders();
    sweep_inflate();
    sweep_windows(parent);
    sweep_data_files();

    /* Everything open at once, then destroyed. */
    fresh_object();
    QLWChar path[MAX_PATH + 32];
    path_in_temp(path, L"sweep-open.bin");
    SLOT(OpenFile)(obj, path, 1, 0);
    SLOT(WriteBytes)(obj, "x", 1);
    SLOT(BeginElements)(obj, 4);
    SLOT(PushElement)(obj, "abcd");
    SLOT(BeginProgress)(obj, parent, GetModuleHandleW(NULL), 10);
    SLOT(WarnMissingResource)(obj, L"one more", 3);
    SLOT(InflateBegin)(obj, "\x78\x9c", 2, 1);
    lib.destroy(obj);
    obj = NULL;
    lib.destroy(NULL);

    closer_running = 0;
    WaitForSingleObject(closer_thread, 5000);
    DestroyWindow(parent);

    /* Every slot was called. */
    int missed = 0;
    for (int s = 0; s < QL_SLOT_COUNT; ++s) {
        if (slot_calls[s] == 0) {
            printf("slot %d was never called\n", s);
            ++missed;
        }
    }
    CHECK(missed == 0);
    long total = 0;
    for (int s = 0; s < QL_SLOT_COUNT; ++s) total += slot_calls[s];
    printf("sweep: %ld calls over %d slots, no crash, no overrun\n", total, QL_SLOT_COUNT - missed);
    free(long_wide);
    free(long_narrow);
    FreeLibrary(lib.module);
    return ql_harness_end();
}
