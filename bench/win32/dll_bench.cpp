// The shipped QLCommon.dll against the C runtime, as a Windows host sees it:
// the program loads the DLL from beside itself, calls every operation
// through the interface table, and times it beside its peer in the same
// process:
//   WriteBytes (8-64-byte pieces)      vs fwrite to a FILE* with a 64 KiB buffer
//   ReadLine (short lines)             vs fgets  (64 KiB buffer)
//   ReadBytes (4 KiB pieces)           vs fread  (64 KiB buffer)
//   FormatFloat, FormatMeasure         vs _snwprintf(L"%.*f"), the runtime's swprintf
//   ParseMeasure                       vs _wtof
//   WriteValueLine (text, double, int) vs fprintf("%s %.7f %d \r\n")
//   PushElement (4-byte elements)      vs std::vector<uint32_t>::push_back
//   InflateBegin/InflateBlock/InflateFinish vs inflateInit_/inflate/inflateEnd
//                                      of the same ZLIB1.dll, called directly
// Each pair runs in alternating rounds (ours first in even rounds, the peer
// first in odd ones).  The ratio is our best round's time / the peer's best
// round's time: below 1 is faster.  The best round is the one least
// disturbed by the other programs of a shared machine (a disturbance only
// adds time); the median of the rounds' own ratios is printed beside it.
//
// The peers are the C runtime the DLL itself links (msvcrt): the program is
// built without MinGW's own printf family (__USE_MINGW_ANSI_STDIO=0).
// Inflate needs ZLIB1.dll in the cache folder (tools/bench puts it there).
//   dll_bench [FILTER]   only the pairs whose operation name contains FILTER
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "datafile/zstream.h"
#include "hostkit/host.h"

namespace {

constexpr int kRounds = 9;

double now() {
    static const double tick = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return 1.0 / double(f.QuadPart);
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * tick;
}

// A result the compiler must assume is used.
volatile uint64_t sink;

struct Pair {
    const char* ours;
    const char* peer;
    std::function<void()> runOurs, runPeer;
};

// Times a pair in alternating rounds and prints its line.
void measure(const Pair& p) {
    p.runOurs();  // warm-up: caches, the first fill of the file buffer
    p.runPeer();
    std::vector<double> ratios;
    double best[2] = {1e30, 1e30};
    for (int round = 0; round < kRounds; ++round) {
        double took[2];
        for (int k = 0; k < 2; ++k) {
            const int side = (k + round) % 2;  // 0 ours, 1 peer
            const double start = now();
            (side == 0 ? p.runOurs : p.runPeer)();
            took[side] = now() - start;
            best[side] = std::min(best[side], took[side]);
        }
        ratios.push_back(took[0] / took[1]);
    }
    std::sort(ratios.begin(), ratios.end());
    // The line tools/bench collects: "ratio NAME | PEER | RATIO | ...".
    std::printf("ratio %-16s | %-24s | %6.3f | best %8.2f ms against %8.2f ms, median of the rounds' ratios %.3f\n",
                p.ours, p.peer, best[0] / best[1], best[0] * 1e3, best[1] * 1e3, ratios[kRounds / 2]);
    std::fflush(stdout);
}

std::wstring tempFile(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

// ---- data file ----

constexpr size_t kWriteTotal = 16u << 20;  // bytes per write round
constexpr size_t kReadSize = 32u << 20;    // the file the readers read

// Writes go to the null device so that both sides pay the same for the
// sink and the comparison is of the buffering layers.
const wchar_t kSink[] = L"NUL";

std::vector<uint32_t> pieceSizes() {
    std::mt19937 rng(42);
    std::vector<uint32_t> v;
    for (size_t total = 0; total < kWriteTotal; total += v.back()) v.push_back(8 + rng() % 57);
    return v;
}

// Short text lines (5 to 60 characters, CR LF or LF).
void makeLinesFile(const std::wstring& path) {
    std::FILE* f = _wfopen(path.c_str(), L"wb");
    std::mt19937 rng(7);
    std::string line;
    for (size_t total = 0; total < kReadSize;) {
        line.assign(5 + rng() % 56, char('a' + rng() % 26));
        line += (rng() % 2) ? "\r\n" : "\n";
        const size_t n = std::min(line.size(), kReadSize - total);
        std::fwrite(line.data(), 1, n, f);
        total += n;
    }
    std::fclose(f);
}

std::FILE* openBuffered(const wchar_t* path, const wchar_t* mode, std::vector<char>& buffer) {
    std::FILE* f = _wfopen(path, mode);
    if (f) std::setvbuf(f, buffer.data(), _IOFBF, buffer.size());
    return f;
}

std::vector<Pair> dataFilePairs(hostkit::Object& obj, const std::wstring& lines) {
    const ICommonVtbl* t = obj.table();
    ICommon* o = obj.get();
    auto pieces = std::make_shared<std::vector<uint32_t>>(pieceSizes());
    auto buffer = std::make_shared<std::vector<char>>(65536);
    static const char data[64] = {};
    std::vector<Pair> pairs;
    pairs.push_back({"WriteBytes", "fwrite, 64 KiB buffer",
                     [=] {
                         t->OpenFile(o, kSink, qlModeWrite, 0);
                         for (uint32_t n : *pieces) t->WriteBytes(o, data, n);
                         t->CloseFile(o);
                     },
                     [=] {
                         std::FILE* f = openBuffered(kSink, L"wb", *buffer);
                         for (uint32_t n : *pieces) std::fwrite(data, 1, n, f);
                         std::fclose(f);
                     }});
    pairs.push_back({"ReadLine", "fgets, 64 KiB buffer",
                     [=] {
                         char line[256];
                         uint64_t count = 0;
                         t->OpenFile(o, lines.c_str(), qlModeRead, 0);
                         while (t->ReadLine(o, line, sizeof line) != 0) ++count;
                         t->CloseFile(o);
                         sink = count;
                     },
                     [=] {
                         char line[256];
                         uint64_t count = 0;
                         std::FILE* f = openBuffered(lines.c_str(), L"rb", *buffer);
                         while (std::fgets(line, sizeof line, f)) ++count;
                         std::fclose(f);
                         sink = count;
                     }});
    pairs.push_back({"ReadBytes", "fread, 64 KiB buffer",
                     [=] {
                         std::vector<char> piece(4096);
                         t->OpenFile(o, lines.c_str(), qlModeRead, 0);
                         while (t->ReadBytes(o, piece.data(), 4096) != 0) sink = uint8_t(piece[100]);
                         t->CloseFile(o);
                     },
                     [=] {
                         std::vector<char> piece(4096);
                         std::FILE* f = openBuffered(lines.c_str(), L"rb", *buffer);
                         while (std::fread(piece.data(), 1, 4096, f) != 0) sink = uint8_t(piece[100]);
                         std::fclose(f);
                     }});
    pairs.push_back({"WriteValueLine", "fprintf",
                     [=] {
                         static const wchar_t text[] = L"Width";
                         double d = 1.5;
                         t->OpenFile(o, kSink, qlModeWrite, 0);
                         for (int i = 0; i < 100000; ++i) {
                             d += 0.001;
                             t->WriteValueLine(o, valueText, reinterpret_cast<uintptr_t>(text), valueDouble,
                                               reinterpret_cast<uintptr_t>(&d), valueInt, 42);
                         }
                         t->CloseFile(o);
                     },
                     [=] {
                         double d = 1.5;
                         std::FILE* f = openBuffered(kSink, L"wb", *buffer);
                         for (int i = 0; i < 100000; ++i) {
                             d += 0.001;
                             std::fprintf(f, "%s %.7f %d \r\n", "Width", d, 42);
                         }
                         std::fclose(f);
                     }});
    return pairs;
}

// ---- measures and number text ----

constexpr int kTexts = 300000;  // calls per round

std::vector<Pair> numberPairs(hostkit::Object& obj) {
    const ICommonVtbl* t = obj.table();
    ICommon* o = obj.get();
    std::mt19937 rng(1);
    auto floats = std::make_shared<std::vector<float>>(1024);
    auto lengths = std::make_shared<std::vector<int32_t>>(1024);
    auto texts = std::make_shared<std::vector<std::wstring>>();
    for (float& f : *floats) f = std::uniform_real_distribution<float>(-5000.0f, 5000.0f)(rng);
    for (int32_t& x : *lengths) x = std::uniform_int_distribution<int32_t>(-2000000, 2000000)(rng);
    for (int k = 0; k < 1024; ++k) {
        wchar_t text[32];
        std::swprintf(text, 32, L"%.3f in", double(rng() % 100000) / 1000.0);
        texts->push_back(text);
    }
    std::vector<Pair> pairs;
    pairs.push_back({"FormatFloat", "_snwprintf %.2f",
                     [=] {
                         wchar_t out[64];
                         for (int i = 0; i < kTexts; ++i) t->FormatFloat(o, (*floats)[i & 1023], out, 64, 2);
                         sink = out[0];
                     },
                     [=] {
                         wchar_t out[64];
                         for (int i = 0; i < kTexts; ++i) _snwprintf(out, 64, L"%.*f", 2, double((*floats)[i & 1023]));
                         sink = out[0];
                     }});
    pairs.push_back({"FormatMeasure", "_snwprintf %.3f",
                     [=] {
                         wchar_t out[64];
                         for (int i = 0; i < kTexts; ++i) t->FormatMeasure(o, (*lengths)[i & 1023], out, 64, unitInches, 3);
                         sink = out[0];
                     },
                     [=] {
                         wchar_t out[64];
                         for (int i = 0; i < kTexts; ++i)
                             _snwprintf(out, 64, L"%.*f", 3, (*lengths)[i & 1023] / 1000.0);
                         sink = out[0];
                     }});
    pairs.push_back({"ParseMeasure", "_wtof",
                     [=] {
                         int64_t sum = 0;
                         for (int i = 0; i < kTexts; ++i) sum += t->ParseMeasure(o, (*texts)[i & 1023].c_str(), unitInches);
                         sink = uint64_t(sum);
                     },
                     [=] {
                         double sum = 0;
                         for (int i = 0; i < kTexts; ++i) sum += _wtof((*texts)[i & 1023].c_str());
                         sink = uint64_t(sum);
                     }});
    return pairs;
}

// ---- element array ----

constexpr uint32_t kElements = 16u << 20;  // 64 MB of 4-byte elements per round

Pair elementPair() {
    return {"PushElement", "std::vector push_back",
            [] {
                hostkit::Object obj;  // a fresh array each round, as the vector is
                const ICommonVtbl* t = obj.table();
                t->BeginElements(obj.get(), 4);
                for (uint32_t i = 0; i < kElements; ++i) t->PushElement(obj.get(), &i);
                sink = uint64_t(t->GetElementCount(obj.get()));
            },
            [] {
                std::vector<uint32_t> v;
                for (uint32_t i = 0; i < kElements; ++i) v.push_back(i);
                sink = v.size();
            }};
}

// ---- inflate ----

// zlib's z_stream on 64-bit Windows (88 bytes), as the library declares it.
using ZStream = ql::ZStreamRecord;

constexpr size_t kBlock = 1u << 20;  // 1 MB out per block
constexpr int kBlocks = 24;         // blocks per round

template <class F>
F entry(HMODULE m, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

// Empty when the cache folder has no ZLIB1.dll (or the text does not
// survive the trip).
std::vector<Pair> inflatePairs(hostkit::Object& obj) {
    wchar_t cache[1024] = {};
    obj.table()->GetCacheFolder(obj.get(), cache, 1024);
    const std::wstring zlibFile = std::wstring(cache) + L"\\ZLIB1.dll";
    HMODULE z = LoadLibraryExW(zlibFile.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!z) {
        std::printf("inflate: no ZLIB1.dll in %ls, skipped\n", cache);
        return {};
    }
    // A megabyte of text that compresses about as well as a host's data files.
    static const char* words[] = {"move", "line", "arc", "dwell", "speed", "power", "layer", "pass", "0.125", "17"};
    std::string text;
    uint32_t seed = 12345;
    while (text.size() < kBlock) {
        seed = seed * 1103515245u + 12345u;
        text += words[(seed >> 16) % 10];
        text += (seed >> 8) % 7 == 0 ? '\n' : ' ';
    }
    text.resize(kBlock);
    using Compress2 = int (*)(unsigned char*, unsigned long*, const unsigned char*, unsigned long, int);
    using Init = int (*)(ZStream*, const char*, int);
    using Inflate = int (*)(ZStream*, int);
    using End = int (*)(ZStream*);
    auto packed = std::make_shared<std::vector<unsigned char>>(kBlock + 4096);
    unsigned long size = static_cast<unsigned long>(packed->size());
    entry<Compress2>(z, "compress2")(packed->data(), &size, reinterpret_cast<const unsigned char*>(text.data()),
                                     static_cast<unsigned long>(kBlock), 6);
    packed->resize(size);
    const auto init = entry<Init>(z, "inflateInit_");
    const auto inflate = entry<Inflate>(z, "inflate");
    const auto end = entry<End>(z, "inflateEnd");

    const ICommonVtbl* t = obj.table();
    ICommon* o = obj.get();
    auto out = std::make_shared<std::vector<unsigned char>>(kBlock + 64);
    uint32_t produced = 0;
    const bool ok = t->InflateBegin(o, packed->data(), uint32_t(size), 1) &&
                    t->InflateBlock(o, packed->data(), int32_t(size), out->data(), uint32_t(out->size()), &produced, 1);
    t->InflateFinish(o, 1);
    if (!ok || produced != kBlock || std::memcmp(out->data(), text.data(), kBlock) != 0) {
        std::printf("inflate: the table did not give back the text (produced %u of %u bytes), skipped\n", produced,
                    unsigned(kBlock));
        return {};
    }
    return {{"Inflate", "zlib called directly",
             [=] {
                 for (int i = 0; i < kBlocks; ++i) {
                     uint32_t n = 0;
                     t->InflateBegin(o, packed->data(), uint32_t(packed->size()), 1);
                     t->InflateBlock(o, packed->data(), int32_t(packed->size()), out->data(), uint32_t(out->size()), &n, 1);
                     t->InflateFinish(o, 1);
                     sink = n;
                 }
             },
             [=] {
                 for (int i = 0; i < kBlocks; ++i) {
                     ZStream s{};
                     s.next_in = packed->data();
                     s.avail_in = unsigned(packed->size());
                     init(&s, "1.3.1", int(sizeof s));
                     s.next_out = out->data();
                     s.avail_out = unsigned(out->size());
                     inflate(&s, 0);
                     end(&s);
                     sink = s.total_out;
                 }
             }}};
}

}  // namespace

int main(int argc, char** argv) {
    const char* filter = argc > 1 ? argv[1] : "";
    if (!hostkit::library().loaded()) {
        std::printf("cannot load QLCommon.dll from beside this program\n");
        return 1;
    }
    const std::wstring lines = tempFile(L"qlcommon-bench-lines.txt");
    makeLinesFile(lines);
    hostkit::Object files, numbers, inflater;
    std::vector<Pair> pairs = dataFilePairs(files, lines);
    for (Pair& p : numberPairs(numbers)) pairs.push_back(p);
    pairs.push_back(elementPair());
    for (Pair& p : inflatePairs(inflater)) pairs.push_back(p);

    std::printf("QLCommon.dll through its table against the C runtime, best of %d alternating rounds\n"
                "ratio = our time / the peer's time; below 1 is faster\n\n",
                kRounds);
    for (const Pair& p : pairs)
        if (std::strstr(p.ours, filter)) measure(p);
    DeleteFileW(lines.c_str());
    return 0;
}
