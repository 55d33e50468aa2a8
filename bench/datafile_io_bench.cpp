// The data file's buffer logic (the functions behind WriteBytes, ReadLine
// and ReadBytes) against the C library's buffered streams, in one run:
//   writes of 8-64-byte pieces         vs fwrite to a FILE* with a 64 KiB buffer
//   ReadLine over 100 MB of short lines vs fgets (64 KiB buffer)
//   ReadBytes in 4 KiB pieces          vs fread (64 KiB buffer)
//   ReadBytes in 256 KiB pieces        vs fread (64 KiB buffer)
// Writes go to /dev/null so that both sides pay the same for the sink and
// the comparison is of the buffering layers.  The ratios printed at the end
// are our time / the peer's time: below 1 means the data file is faster.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "datafile/data_file.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kWriteTotal = 16u << 20;  // bytes per write pass
constexpr size_t kReadFileSize = 100u << 20;

std::u16string qlPath(const fs::path& p) { return p.u16string(); }

// The data file the operations work on, opened by path.
struct DataFile : ql::DataFile {
    int32_t error = 0;
    DataFile(const std::u16string& path, uint32_t mode) : ql::DataFile{} {
        ql::openStreamFile(*this, error, path.c_str(), mode, false);
    }
    ~DataFile() { ql::closeStreamFile(*this); }
};

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

// 100 MB of short text lines (5 to 60 characters, CR LF or LF), made once
// per run in a file of its own, removed at the end.
const fs::path& linesFile() {
    static const fs::path path = [] {
        fs::path p = fs::temp_directory_path() / ("ql-bench-lines-" + std::to_string(getpid()) + ".txt");
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
    for (auto _ : state) {
        DataFile f(path, ql::kModeWrite);
        for (uint32_t n : pieceSizes()) ql::writeStreamBytes(f, data.data(), n, nullptr);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kWriteTotal));
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
    char line[256];
    for (auto _ : state) {
        DataFile f(path, ql::kModeRead);
        size_t lines = 0;
        while (ql::readStreamLine(f, line, sizeof line, nullptr) != 0) ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kReadFileSize));
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

template <uint32_t kPiece>
void ReadBytesPieces(benchmark::State& state) {
    const auto path = qlPath(linesFile());
    std::vector<char> piece(kPiece);
    for (auto _ : state) {
        DataFile f(path, ql::kModeRead);
        while (ql::readStreamBytes(f, piece.data(), kPiece, nullptr) != 0) benchmark::DoNotOptimize(piece.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kReadFileSize));
}

template <uint32_t kPiece>
void FreadPieces(benchmark::State& state) {
    std::vector<char> buffer(65536), piece(kPiece);
    for (auto _ : state) {
        std::FILE* f = std::fopen(linesFile().string().c_str(), "rb");
        std::setvbuf(f, buffer.data(), _IOFBF, buffer.size());
        while (std::fread(piece.data(), 1, kPiece, f) != 0) benchmark::DoNotOptimize(piece.data());
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
        {"WriteBytesPieces", WriteBytesPieces},        {"FwritePieces", FwritePieces},
        {"ReadLineFile", ReadLineFile},                {"FgetsFile", FgetsFile},
        {"ReadBytes4K", ReadBytesPieces<4096>},        {"Fread4K", FreadPieces<4096>},
        {"ReadBytes256K", ReadBytesPieces<262144>},    {"Fread256K", FreadPieces<262144>}};
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
                              {"ReadBytes", "ReadBytes4K", "Fread4K", "fread, 64 KiB buffer"},
                              {"ReadBytes256K", "ReadBytes256K", "Fread256K", "fread, 256 KiB pieces"}};
    std::printf("\nratio = our time / the peer's time; below 1 is faster\n");
    for (const auto& p : pairs) {
        const auto& t = reporter.times;
        const auto& c = reporter.cpuTimes;
        if (!t.count(p[1]) || !t.count(p[2]) || t.at(p[2]) <= 0 || c.at(p[2]) <= 0) continue;
        std::printf("ratio %-16s | %-24s | %6.3f | real time %.3f\n", p[0], p[3], c.at(p[1]) / c.at(p[2]),
                    t.at(p[1]) / t.at(p[2]));
    }
    benchmark::Shutdown();
    fs::remove(linesFile());
    return 0;
}
