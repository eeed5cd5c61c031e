#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "BenchHistory.h"
#include "search/HitSearch.h"

namespace {

// A text that no event holds, with the grep of the same text as the yardstick.
constexpr const char* kAbsentText = "zqxjzqxj";

// The hit list's whole search for an absent text: the seed's criteria, then case and width
// folded, then kana too (goal: the whole pass within a second at 10M events).
void BM_HitSearchNotFound(benchmark::State& state) {
    MessageDatabase& db = BenchDatabase();
    const double grep = GrepSeconds(kAbsentText);
    HitQuery query;
    query.text = kAbsentText;
    query.match.ignoreCase = query.match.ignoreWidth = state.range(0) != 0;
    query.match.ignoreKana = state.range(0) == 2;
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        HitSearch search(db, query);
        std::vector<Hit> older, newer;
        while (!search.Finished()) {
            search.Step(4096, older, newer);
        }
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(older.size());
    }
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["grep_ms"] = grep * 1000;
    state.counters["x_grep"] = grep > 0 ? mean / grep : 0;
    state.counters["goal_ms"] = 1000;
}
BENCHMARK(BM_HitSearchNotFound)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

// From the start of a search to its first hit of a common letter, folded, as the window's
// first slice sees it (goal: within 100 ms whatever the history's size).
void BM_HitSearchFirstHit(benchmark::State& state) {
    MessageDatabase& db = BenchDatabase();
    HitQuery query;
    query.text = "e";
    query.match = {true, true, true};
    for (auto _ : state) {
        HitSearch search(db, query);
        std::vector<Hit> older, newer;
        while (older.empty() && !search.Finished()) {
            search.Step(256, older, newer);
        }
        benchmark::DoNotOptimize(older.size());
    }
}
BENCHMARK(BM_HitSearchFirstHit)->Unit(benchmark::kMicrosecond)->Iterations(20);

}  // namespace
