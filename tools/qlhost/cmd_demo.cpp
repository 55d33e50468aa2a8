// qlhost demo (also qlhost with no command): the default scenario, a short
// tour of the library as a host uses it.
//   1. the folder tree and the settings file;
//   2. measures formatted and parsed;
//   3. a data file of value lines written and read back, with the delayed
//      progress bar over a host window;
//   4. a zlib block inflated with the zlib library of the cache folder;
//   5. the tax calculator driven through one worked example, when a display
//      is present.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "hostkit/dialogs.h"
#include "base/owned.h"
#include "qlhost.h"

namespace qlhost {

namespace {

std::string text(const wchar_t* w) { return narrow(w); }

// A path with the user's profile folder written as %USERPROFILE%, so that
// the demo prints the same on every machine.
std::string masked(const wchar_t* path) {
    wchar_t profile[512] = {};
    const DWORD n = GetEnvironmentVariableW(L"USERPROFILE", profile, 512);
    const std::wstring p(path);
    if (n == 0 || n >= 512 || _wcsnicmp(p.c_str(), profile, n) != 0) return narrow(p);
    return "%USERPROFILE%" + narrow(p.substr(n));
}

void showFolders(ICommon* s) {
    std::printf("-- folders and settings\n");
    wchar_t path[512];
    s->GetUserProductFolder(path, 512);
    std::printf("user product folder:   %s\n", masked(path).c_str());
    s->GetCommonProductFolder(path, 512);
    std::printf("common product folder: %s\n", text(path).c_str());
    s->GetJobsFolder(path, 512);
    std::printf("jobs folder:           %s\n", text(path).c_str());
    s->GetCacheFolder(path, 512);
    std::printf("cache folder:          %s\n", text(path).c_str());
    const wchar_t* settings = s->GetSettingsFilePath();
    std::printf("settings file:         %s\n\n", settings ? masked(settings).c_str() : "(none)");
}

void showMeasures(ICommon* s) {
    std::printf("-- measures: 1500 thousandths of an inch\n");
    const char* names[] = {"feet", "inches", "thousandths", "centimetres", "millimetres"};
    for (int unit = unitFeet; unit <= unitMillimeters; ++unit) {
        wchar_t out[64];
        s->FormatMeasure(1500, out, 64, unit, 3);
        std::printf("  %-12s %s\n", names[unit], text(out).c_str());
    }
    struct {
        const wchar_t* input;
        int unit;
    } parses[] = {{L"1.5", unitInches}, {L"25.4mm", unitInches}, {L"38.1", unitMillimeters}, {L"2 dia", unitInches}};
    for (const auto& p : parses)
        std::printf("  parse \"%s\" (%s) = %d thousandths\n", text(p.input).c_str(), names[p.unit],
                    s->ParseMeasure(p.input, p.unit));
    int32_t rounded = 0;
    s->ParseFractionalMeasureRounded(L"1 1/2", unitInches, &rounded, unitThousandths);
    std::printf("  fraction \"1 1/2\" inches = %d thousandths\n", rounded);
    wchar_t hex[16];
    s->FormatHexDigits(48879, hex, 16);
    std::printf("  48879 in hexadecimal = %s\n\n", text(hex).c_str());
}

// Keeps the UI thread's queue from running dry while the progress updates
// wait for a message.
class MessageTicker {
public:
    MessageTicker() : ui_(GetCurrentThreadId()), thread_([this] {
        while (!stop_) {
            PostThreadMessageW(ui_, WM_NULL, 0, 0);
            Sleep(20);
        }
    }) {}
    ~MessageTicker() {
        stop_ = true;
        thread_.join();
    }

private:
    DWORD ui_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

void showDataFile(ICommon* s, HWND host) {
    std::printf("-- data file with the progress bar\n");
    wchar_t jobs[512];
    s->GetJobsFolder(jobs, 512);
    // A name of this run's own, so that two demos can run side by side.
    const std::wstring path = std::wstring(jobs) + L"\\qlhost demo " + std::to_wstring(GetCurrentProcessId()) + L".txt";
    const int lines = 1000000;  // about a second or more: the bar appears after the first one
    MessageTicker ticker;
    const DWORD start = GetTickCount();
    // One bar for both passes: the writes move it to the bytes written, the
    // reads on from there by the bytes read.
    s->BeginProgress(host, GetModuleHandleW(nullptr), lines * 29 * 2);
    if (!s->OpenFile(path.c_str(), qlModeWrite, 0)) {
        wchar_t why[128];
        s->GetLastErrorText(why, 128);
        std::printf("cannot open a file in the jobs folder: %s\n\n", text(why).c_str());
        s->EndProgress();
        return;
    }
    for (int i = 0; i < lines; ++i) {
        double x = i * 0.125;
        s->WriteValueLine(valueText, reinterpret_cast<uintptr_t>(L"Point"), valueDouble,
                          reinterpret_cast<uintptr_t>(&x), valueInt, static_cast<uint32_t>(i));
    }
    const uint32_t written = s->GetByteCount();
    s->CloseFile();
    std::printf("wrote %d value lines, %u bytes, to a file in the jobs folder\n", lines, written);

    s->OpenFile(path.c_str(), qlModeRead, 0);
    char line[256];
    int read = 0;
    std::string last;
    while (s->ReadLine(line, sizeof line) > 0) {
        ++read;
        last = line;
    }
    s->CloseFile();
    HWND bar = FindWindowExW(nullptr, nullptr, L"msctls_progress32", nullptr);
    const bool shown = bar && IsWindowVisible(bar);
    s->EndProgress();
    DeleteFileW(path.c_str());
    std::printf("read back %d lines; the last: \"%s\"\n", read, last.c_str());
    std::printf("\n");
    // Timings differ from run to run: they go to the error stream.
    std::fprintf(stderr, "(%lu ms in all; progress bar %s: it appears only after the first second)\n",
                 GetTickCount() - start, shown ? "shown" : "not shown");
}

void freeModule(HMODULE module) { FreeLibrary(module); }
using Module = ql::Owned<HMODULE, freeModule>;
using CompressFn = int (*)(unsigned char*, unsigned long*, const unsigned char*, unsigned long);

void showInflate(ICommon* s) {
    std::printf("-- zlib inflate\n");
    wchar_t cache[512];
    s->GetCacheFolder(cache, 512);
    std::wstring zlibPath = std::wstring(cache) + L"\\ZLIB1.dll";
    Module zlib(LoadLibraryW(zlibPath.c_str()));
    auto compress = zlib ? reinterpret_cast<CompressFn>(reinterpret_cast<void*>(GetProcAddress(zlib.get(), "compress")))
                         : nullptr;
    if (!compress) {
        std::printf("ZLIB1.dll is not in the cache folder (tools/demo puts it there)\n\n");
        return;
    }
    std::string original;
    for (int i = 0; i < 2000; ++i) original += "Job line " + std::to_string(i % 37) + ": cut, move, cut\n";
    std::vector<unsigned char> packed(original.size() + 1024);
    unsigned long packedSize = static_cast<unsigned long>(packed.size());
    compress(packed.data(), &packedSize, reinterpret_cast<const unsigned char*>(original.data()),
             static_cast<unsigned long>(original.size()));
    zlib.reset();

    std::vector<char> out(original.size() + 16);
    uint32_t produced = 0;
    bool begun = s->InflateBegin(packed.data(), static_cast<uint32_t>(packedSize), codecZlib);
    bool ended = begun && s->InflateBlock(packed.data(), static_cast<int32_t>(packedSize), out.data(),
                                          static_cast<uint32_t>(out.size()), &produced, codecZlib);
    s->InflateFinish(codecZlib);
    const bool same = ended && produced == original.size() && std::memcmp(out.data(), original.data(), produced) == 0;
    std::printf("%lu compressed bytes inflated to %u bytes: %s\n", packedSize, produced,
                same ? "identical to the original" : "FAILED");
    char first[64];
    uint32_t n = s->CopyLine(out.data(), static_cast<int32_t>(produced), first, sizeof first - 1);
    first[n] = 0;
    std::printf("first line: %s\n", first);
}

}  // namespace

int runDemo(const Args& args, const WindowOptions&) {
    noMoreThan(args, 0);
    hostkit::Library& lib = hostkit::library();
    std::printf("QLCommon.dll demo\n\n");
    hostkit::HostWindow window(L"qlhost demo", 40, 40, 640, 400);
    HWND host = window.get();
    {
        Object service;
        std::printf("interface version %u, live objects %d\n\n", service->GetInterfaceVersion(), lib.release());
        showFolders(service.get());
        showMeasures(service.get());
        showDataFile(service.get(), host);
        showInflate(service.get());
    }
    int result = 0;
    if (host) {
        std::printf("\n-- tax calculator (a worked example, typed in by the demo)\n");
        result = runCalculatorExample(host);
    } else {
        std::printf("\n(no display: the tax calculator is skipped)\n");
    }
    std::printf("\nlive objects at the end: %d\n", lib.release());
    return result;
}

}  // namespace qlhost
