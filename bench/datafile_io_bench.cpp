// The data file against the C library's buffered streams, in one run:
//   WriteBytes of 8-64-byte pieces   vs fwrite to a FILE* with a 64 KiB buffer
//   ReadLine over 100 MB of short lines vs fgets (64 KiB buffer)
//   ReadBytes in 4 KiB pieces          vs fread (64 KiB buffer)
// Writes go to /dev/null so that both sides pay the same for the sink and
// the comparison is of the buffering layers.  The ratios printed at the end
// are our time / the peer's time: below 1 means the data file is faster.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "qlcommon.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kWriteTotal = 16u << 20;  // bytes per write pass
constexpr size_t kReadFileSize = 100u << 20;

std::basic_string<QLWChar> qlPath(const fs::path& p) {
    const std::u16string u = p.u16string();
    return {u.begin(), u.end()};
}

// Piece sizes of 8 to 64 bytes, the same sequence for both sides.
const std::vector<uint32_t>& pieceSizes() {
    static const std::vector<uint32_t> sizes = [] {
        std::mt19937 rng(42);
        std::vector<uint32_t> v;
        for (size_t total = 0; total < kWriteTotal;) {
            v.push_back(8 + rng() % 57);
            total += v.back();
        }
        return v;
    }();
    return sizes;
}

// 100 MB of short text lines (5 to 60 characters, CR LF or LF), made once.
const fs::path& linesFile() {
    static const fs::path path = [] {
        fs::path p = fs::temp_directory_path() / "qlcommon-bench-lines.txt";
        if (fs::exists(p) && fs::file_size(p) == kReadFileSize) return p;
        std::FILE* f = std::fopen(p.string().c_str(), "wb");
        std::mt19937 rng(7);
        std::string line;
        for (size_t total = 0; total < kReadFileSize;) {
            line.assign(5 + rng() % 56, 'a' + char(rng() % 26));
            line += (rng() % 2) ? "\r\n" : "\n";
            const size_t n = std::min(line.size(), kReadFileSize - total);
            std::fwrite(line.data(), 1, n, f);
            total += n;
        }
        std::fclose(f);
        return p;
    }();
    return path;
}

const char kSink[] = "/dev/null";

void WriteBytesPieces(benchmark::State& state) {
    static const std::vector<char> data(64, 'x');
    const auto path = qlPath(kSink);
    ICommon* obj = GetQLObject(nullptr);
    for (auto _ : state) {
        obj->OpenFile(path.c_str(), qlModeWrite, 0);
        for (uint32_t n : pieceSizes()) obj->WriteBytes(data.data(), n);
        obj->CloseFile();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kWriteTotal));
    QLDestroy(obj);
}

void FwritePieces(benchmark::State& state) {
    static const std::vector<char> data(64, 'x');
    std::vector<char> buffer(65536);
    for (auto _ : state) {
        std::FILE* f = std::fopen(kSink, "wb");
        std::setvbuf(f, buffer.data(), _IOFBF, buffer.size());
        for (uint32_t n : pieceSizes()) std::fwrite(data.data(), 1, n, f);
        std::fclose(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kWriteTotal));
}

void ReadLineFile(benchmark::State& state) {
    const auto path = qlPath(linesFile());
    ICommon* obj = GetQLObject(nullptr);
    char line[256];
    for (auto _ : state) {
        obj->OpenFile(path.c_str(), qlModeRead, 0);
        size_t lines = 0;
        while (obj->ReadLine(line, sizeof line) != 0) ++lines;
        benchmark::DoNotOptimize(lines);
        obj->CloseFile();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kReadFileSize));
    QLDestroy(obj);
}

void FgetsFile(benchmark::State& state) {
    std::vector<char> buffer(65536);
    char line[256];
    for (auto _ : state) {
        std::FILE* f = std::fopen(linesFile().string().c_str(), "rb");
        std::setvbuf(f, buffer.data(), _IOFBF, buffer.size());
        size_t lines = 0;
        while (std::fgets(line, sizeof line, f)) ++lines;
        benchmark::DoNotOptimize(lines);
        std::fclose(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kReadFileSize));
}

void ReadBytes4K(benchmark::State& state) {
    const auto path = qlPath(linesFile());
    ICommon* obj = GetQLObject(nullptr);
    std::vector<char> piece(4096);
    for (auto _ : state) {
        obj->OpenFile(path.c_str(), qlModeRead, 0);
        while (obj->ReadBytes(piece.data(), 4096) != 0) benchmark::DoNotOptimize(piece.data());
        obj->CloseFile();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kReadFileSize));
    QLDestroy(obj);
}

void Fread4K(benchmark::State& state) {
    std::vector<char> buffer(65536), piece(4096);
    for (auto _ : state) {
        std::FILE* f = std::fopen(linesFile().string().c_str(), "rb");
        std::setvbuf(f, buffer.data(), _IOFBF, buffer.size());
        while (std::fread(piece.data(), 1, 4096, f) != 0) benchmark::DoNotOptimize(piece.data());
        std::fclose(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kReadFileSize));
}

// Keeps each benchmark's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times, cpuTimes;
    void ReportRuns(const std::vector<Run>& runs) override {
        // The median of repetitions when there are any, else the one run.
        for (const Run& r : runs) {
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (!median && (r.run_type != Run::RT_Iteration || r.repetitions > 1)) continue;
            const std::string name = r.run_name.function_name;
            times[name] = r.GetAdjustedRealTime();
            cpuTimes[name] = r.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    // Five repetitions each, compared by their medians: the machine is
    // shared, and a single run can catch a neighbour's burst.
    const std::pair<const char*, void (*)(benchmark::State&)> all[] = {
        {"WriteBytesPieces", WriteBytesPieces}, {"FwritePieces", FwritePieces}, {"ReadLineFile", ReadLineFile},
        {"FgetsFile", FgetsFile},               {"ReadBytes4K", ReadBytes4K},   {"Fread4K", Fread4K}};
    for (const auto& [name, fn] : all)
        benchmark::RegisterBenchmark(name, fn)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    // Made (or found) and read once before any timing, so that the first
    // reader does not pay for bringing the file into the page cache.
    if (std::FILE* f = std::fopen(linesFile().string().c_str(), "rb")) {
        std::vector<char> chunk(1 << 20);
        while (std::fread(chunk.data(), 1, chunk.size(), f) != 0) {
        }
        std::fclose(f);
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // One line per pair for tools/bench: "ratio NAME | PEER | RATIO | ...",
    // RATIO = our time / the peer's (median CPU time; below 1 is faster).
    const char* pairs[][4] = {{"WriteBytes", "WriteBytesPieces", "FwritePieces", "fwrite, 64 KiB buffer"},
                              {"ReadLine", "ReadLineFile", "FgetsFile", "fgets, 64 KiB buffer"},
                              {"ReadBytes", "ReadBytes4K", "Fread4K", "fread, 64 KiB buffer"}};
    std::printf("\nratio = our time / the peer's time; below 1 is faster\n");
    for (const auto& p : pairs) {
        const auto& t = reporter.times;
        const auto& c = reporter.cpuTimes;
        if (!t.count(p[1]) || !t.count(p[2]) || t.at(p[2]) <= 0 || c.at(p[2]) <= 0) continue;
        std::printf("ratio %-16s | %-24s | %6.3f | real time %.3f\n", p[0], p[3], c.at(p[1]) / c.at(p[2]),
                    t.at(p[1]) / t.at(p[2]));
    }
    benchmark::Shutdown();
    return 0;
}
