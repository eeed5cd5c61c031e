// The export of all 1,000,000 events in each format, against `grep -c -F` over the data
// file (budget: 3 x the grep), with the growth of resident memory (flat: the bytes go out
// in pieces).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "BenchHistory.h"
#include "export/ExportText.h"
#include "text/ShiftJis.h"

namespace {

long ResidentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

void BM_ExportFormat(benchmark::State& state, ExportFormat format) {
    MessageDatabase& db = BenchDatabase();
    static const double grep = GrepSeconds("zqxjzqxj");
    const std::string path =
        BenchFolder() + "/export-bench." + std::string(ExportFormatName(format));
    ExportOptions options;
    options.format = format;
    options.owner = OwnerFromDataFile(db.dataPath());
    const long before = ResidentKilobytes();
    double total = 0;
    for (auto _ : state) {
        std::remove(path.c_str());  // dropping the last run's output is not this run's work
        const auto start = std::chrono::steady_clock::now();
        const ExportResult result =
            ExportToFile(db, ALL_MEMBERS, RowSelection::All(), options, path);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        total += took.count();
        if (!result.ok) {
            state.SkipWithError(result.error.c_str());
        }
    }
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["grep_ms"] = grep * 1000;
    state.counters["x_grep"] = grep > 0 ? mean / grep : 0;
    state.counters["goal_x"] = 3;
    state.counters["rss_growth_kB"] = static_cast<double>(ResidentKilobytes() - before);
    std::remove(path.c_str());
}

BENCHMARK_CAPTURE(BM_ExportFormat, text, ExportFormat::Text)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_ExportFormat, csv, ExportFormat::Csv)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_ExportFormat, json, ExportFormat::Json)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_ExportFormat, jsonl, ExportFormat::JsonLines)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_ExportFormat, html, ExportFormat::Html)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
