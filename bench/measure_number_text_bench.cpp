// The measure core against its C library peers, in one run:
//   formatFloat and formatMeasure   vs snprintf("%.*f")
//   parseMeasure                    vs wcstod on a wchar_t copy
//   pushElement of 4-byte elements  vs std::vector<uint32_t>::push_back (256 MB)
// Each pair's ratio (our time / the peer's, below 1 is faster) is printed at
// the end, from the median CPU time of five repetitions: the build machines
// are shared.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "measure/elements.h"
#include "measure/measure.h"
#include "measure/number_text.h"
#include "datafile/text_fields.h"

namespace {

std::vector<float> floats() {
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> d(-5000.0f, 5000.0f);
    std::vector<float> v(1024);
    for (float& f : v) f = d(rng);
    return v;
}

std::vector<int32_t> lengths() {
    std::mt19937 rng(2);
    std::uniform_int_distribution<int32_t> d(-2000000, 2000000);
    std::vector<int32_t> v(1024);
    for (int32_t& x : v) x = d(rng);
    return v;
}

void BM_FormatFloat(benchmark::State& state) {
    const auto values = floats();
    QLWChar out[64];
    size_t i = 0;
    for (auto _ : state) {
        ql::formatFloat(values[i++ & 1023], out, 64, 2);
        benchmark::DoNotOptimize(out);
    }
}
void BM_FormatFloat_snprintf(benchmark::State& state) {
    const auto values = floats();
    char out[64];
    size_t i = 0;
    for (auto _ : state) {
        std::snprintf(out, sizeof out, "%.*f", 2, static_cast<double>(values[i++ & 1023]));
        benchmark::DoNotOptimize(out);
    }
}
void BM_FormatMeasure(benchmark::State& state) {
    const auto values = lengths();
    QLWChar out[64];
    size_t i = 0;
    for (auto _ : state) {
        ql::formatMeasure(values[i++ & 1023], out, 64, unitInches, 3);
        benchmark::DoNotOptimize(out);
    }
}
void BM_FormatMeasure_snprintf(benchmark::State& state) {
    const auto values = lengths();
    char out[64];
    size_t i = 0;
    for (auto _ : state) {
        std::snprintf(out, sizeof out, "%.*f", 3, values[i++ & 1023] / 1000.0);
        benchmark::DoNotOptimize(out);
    }
}

std::vector<std::string> measureTexts() {
    std::mt19937 rng(3);
    std::vector<std::string> v;
    for (int k = 0; k < 1024; ++k) v.push_back(std::to_string(rng() % 100000 / 1000.0).substr(0, 7) + " in");
    return v;
}

void BM_ParseMeasure(benchmark::State& state) {
    std::vector<std::basic_string<QLWChar>> texts;
    for (const auto& t : measureTexts()) texts.emplace_back(t.begin(), t.end());
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(ql::parseMeasure(texts[i++ & 1023].c_str(), unitInches));
}
void BM_ParseMeasure_wcstod(benchmark::State& state) {
    std::vector<std::wstring> texts;
    for (const auto& t : measureTexts()) texts.emplace_back(t.begin(), t.end());
    size_t i = 0;
    for (auto _ : state) {
        // The peer gets a wchar_t copy, as a host would have to make one.
        const std::wstring& t = texts[i++ & 1023];
        wchar_t copy[32];
        std::wmemcpy(copy, t.c_str(), t.size() + 1);
        benchmark::DoNotOptimize(std::wcstod(copy, nullptr));
    }
}

// The value-line text alone, its parts gathered in a 65536-byte buffer
// flushed with fwrite, as the data file's WriteBytes does.
void BM_ValueLineWriter(benchmark::State& state) {
    std::FILE* f = std::fopen("/dev/null", "wb");
    static char buffer[65536];
    size_t used = 0;
    const std::u16string text = u"Width";
    double d = 1.5;
    const int32_t kinds[3] = {valueText, valueDouble, valueInt};
    const char* const hex[3] = {"", "", ""};
    ql::ValueLine line;
    for (auto _ : state) {
        d += 0.001;
        const uint64_t values[3] = {reinterpret_cast<uintptr_t>(text.c_str()), reinterpret_cast<uintptr_t>(&d), 42};
        ql::composeValueLine(line, kinds, values, hex);
        for (int i = 0, at = 0; i < line.parts; at = line.ends[i++]) {
            const size_t n = line.ends[i] - at;
            if (used + n > sizeof buffer) std::fwrite(buffer, 1, used, f), used = 0;
            std::memcpy(buffer + used, line.text + at, n);
            used += n;
        }
    }
    std::fwrite(buffer, 1, used, f);
    std::fclose(f);
}
void BM_WriteValueLine_fprintf(benchmark::State& state) {
    std::FILE* f = std::fopen("/dev/null", "wb");
    double d = 1.5;
    for (auto _ : state) {
        d += 0.001;
        std::fprintf(f, "%s %.7f %d \r\n", "Width", d, 42);
    }
    std::fclose(f);
}

constexpr uint32_t kElements = 256u * 1024 * 1024 / 4;

void BM_PushElement(benchmark::State& state) {
    for (auto _ : state) {
        ql::ElementArray a;
        ql::beginElements(a, 4);
        for (uint32_t i = 0; i < kElements; ++i) ql::pushElement(a, &i);
        benchmark::DoNotOptimize(a.count);
    }
}
void BM_PushElement_vector(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<uint32_t> v;
        for (uint32_t i = 0; i < kElements; ++i) v.push_back(i);
        benchmark::DoNotOptimize(v.data());
    }
}

BENCHMARK(BM_FormatFloat)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FormatFloat_snprintf)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FormatMeasure)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FormatMeasure_snprintf)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ParseMeasure)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ParseMeasure_wcstod)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ValueLineWriter)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_WriteValueLine_fprintf)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PushElement)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PushElement_vector)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

// Prints as usual and keeps each benchmark's median CPU time (of five
// repetitions) for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                times[r.run_name.function_name] = r.GetAdjustedCPUTime();
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // One line per pair for tools/bench: "ratio NAME | PEER | RATIO".
    const char* pairs[][4] = {{"FormatFloat", "BM_FormatFloat", "BM_FormatFloat_snprintf", "snprintf %.2f"},
                              {"FormatMeasure", "BM_FormatMeasure", "BM_FormatMeasure_snprintf", "snprintf %.3f"},
                              {"ParseMeasure", "BM_ParseMeasure", "BM_ParseMeasure_wcstod", "wcstod"},
                              {"WriteValueLine", "BM_ValueLineWriter", "BM_WriteValueLine_fprintf", "fprintf"},
                              {"PushElement", "BM_PushElement", "BM_PushElement_vector", "std::vector push_back"}};
    std::printf("\nratio = our time / the peer's time; below 1 is faster\n");
    for (auto& p : pairs) {
        auto a = reporter.times.find(p[1]), b = reporter.times.find(p[2]);
        if (a != reporter.times.end() && b != reporter.times.end() && b->second > 0)
            std::printf("ratio %-16s | %-24s | %6.3f\n", p[0], p[3], a->second / b->second);
    }
    return 0;
}
