// Inflate through the table against calling the same zlib directly
// (native build: the system's libz.so.1, loaded by the library from a
// scratch cache folder).  1 MB of text per block; compare the two
// benchmarks' bytes_per_second.  Under Wine the same comparison with
// zlib1.dll is tests/wine/inflate_speed_test.cpp.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "datafile/inflate_library.h"
#include "object/qlcommon_impl.h"
#include "shell/folder_platform.h"
#include "object/wide_text.h"

namespace {

constexpr const char* kSystemZlib = "/usr/lib/x86_64-linux-gnu/libz.so.1";
constexpr size_t kBlock = 1 << 20;

// Program files below a scratch folder; everything else from the system.
struct ScratchPrograms : ql::FolderPlatform {
    std::string root;
    int32_t SHGetFolderPathW(void* o, int32_t folder, void* t, uint32_t f, QLWChar* path) override {
        if (folder != ql::kCsidlProgramFiles) return ql::nativeFolderPlatform().SHGetFolderPathW(o, folder, t, f, path);
        const std::u16string w = ql::fromUtf8(root);
        for (size_t i = 0; i <= w.size(); ++i) path[i] = i < w.size() ? w[i] : 0;
        return 0;
    }
    int32_t CreateDirectoryW(const QLWChar* p, void* s) override { return ql::nativeFolderPlatform().CreateDirectoryW(p, s); }
    int32_t SHGetKnownFolderPath(const ql::QLGuid& g, uint32_t f, void* t, QLWChar** p) override {
        return ql::nativeFolderPlatform().SHGetKnownFolderPath(g, f, t, p);
    }
    void CoTaskMemFree(void* b) override { ql::nativeFolderPlatform().CoTaskMemFree(b); }
    uint32_t GetPrivateProfileStringW(const QLWChar*, const QLWChar*, const QLWChar*, QLWChar* out, uint32_t,
                                      const QLWChar*) override {
        out[0] = 0;
        return 0;
    }
    int32_t WritePrivateProfileStringW(const QLWChar*, const QLWChar*, const QLWChar*, const QLWChar*) override {
        return 0;
    }
};

struct Fixture {
    ScratchPrograms programs;
    std::string text;
    std::vector<uint8_t> packed;
    void* zlib = nullptr;

    Fixture() {
        programs.root = "/tmp/ql-inflate-bench-" + std::to_string(getpid());
        const std::string cache = programs.root + "/Tamarisk Works/Cache";
        mkdir(programs.root.c_str(), 0777);
        mkdir((programs.root + "/Tamarisk Works").c_str(), 0777);
        mkdir(cache.c_str(), 0777);
        symlink(kSystemZlib, (cache + "/libz.so.1").c_str());
        ql::setFolderPlatform(&programs);
        zlib = dlopen(kSystemZlib, RTLD_NOW);
        static const char* words[] = {"move", "line", "arc", "dwell", "speed", "power", "layer", "pass", "0.125", "17"};
        uint32_t seed = 12345;
        while (text.size() < kBlock) {
            seed = seed * 1103515245u + 12345u;
            text += words[(seed >> 16) % 10];
            text += (seed >> 8) % 7 == 0 ? '\n' : ' ';
        }
        text.resize(kBlock);
        using Compress = int (*)(uint8_t*, unsigned long*, const uint8_t*, unsigned long, int);
        auto compress2 = reinterpret_cast<Compress>(dlsym(zlib, "compress2"));
        unsigned long size = kBlock + 4096;
        packed.resize(size);
        compress2(packed.data(), &size, reinterpret_cast<const uint8_t*>(text.data()), kBlock, 6);
        packed.resize(size);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_InflateThroughTable(benchmark::State& state) {
    Fixture& f = fixture();
    ICommon* obj = GetQLObject(nullptr);
    std::vector<uint8_t> out(kBlock + 64);
    for (auto _ : state) {
        uint32_t produced = 0;
        obj->InflateBegin(f.packed.data(), static_cast<uint32_t>(f.packed.size()), 1);
        obj->InflateBlock(f.packed.data(), static_cast<int32_t>(f.packed.size()), out.data(),
                          static_cast<uint32_t>(out.size()), &produced, 1);
        obj->InflateFinish(1);
        if (produced != kBlock) state.SkipWithError("wrong size");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBlock));
    QLDestroy(obj);
}

void BM_InflateDirect(benchmark::State& state) {
    Fixture& f = fixture();
    auto init = reinterpret_cast<ql::InflateInitFn>(dlsym(f.zlib, "inflateInit_"));
    auto inflate = reinterpret_cast<ql::InflateFn>(dlsym(f.zlib, "inflate"));
    auto end = reinterpret_cast<ql::InflateEndFn>(dlsym(f.zlib, "inflateEnd"));
    std::vector<uint8_t> out(kBlock + 64);
    for (auto _ : state) {
        ql::ZStreamRecord z{};
        z.next_in = f.packed.data();
        z.avail_in = static_cast<unsigned>(f.packed.size());
        init(&z, ql::kZlibVersion, sizeof z);
        z.next_out = out.data();
        z.avail_out = static_cast<unsigned>(out.size());
        inflate(&z, 0);
        end(&z);
        if (z.total_out != kBlock) state.SkipWithError("wrong size");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBlock));
}

BENCHMARK(BM_InflateThroughTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InflateDirect)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
