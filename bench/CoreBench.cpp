#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "BenchHistory.h"
#include "export/ExportText.h"
#include "search/FindNext.h"
#include "search/SearchCriteria.h"
#include "search/SearchList.h"
#include "stats/MemberStats.h"

namespace {

// A text that no event holds; the grep of the same text is the yardstick.
constexpr const char* kAbsentText = "zqxjzqxj";

double GrepYardstick() {
    static const double seconds = GrepSeconds(kAbsentText);
    return seconds;
}

long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

// Runs `work` once per iteration and reports its time against the grep.
template <typename Work>
void MeasureAgainstGrep(benchmark::State& state, Work&& work) {
    const double grep = GrepYardstick();
    const long before = ResidentBytes();
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        total += took.count();
    }
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["grep_ms"] = grep * 1000;
    state.counters["x_grep"] = grep > 0 ? mean / grep : 0;
    state.counters["rss_growth_kB"] = static_cast<double>(ResidentBytes() - before) / 1024;
    state.counters["events"] = BenchDatabase().EventCount(ALL_MEMBERS);
}

class NoWindowList : public SearchList {
public:
    explicit NoWindowList(MessageDatabase& db) : db_(db) {}
    std::int32_t RowCount() override { return db_.EventCount(ALL_MEMBERS); }
    std::int32_t FirstSelectedRow() override { return kNoRow; }
    std::int32_t MemberKey() override { return ALL_MEMBERS; }
    std::int32_t RowsPerPage() override { return 30; }
    void SelectRow(std::int32_t) override {}
    void ShowRowAt(std::int32_t, std::int32_t) override {}
    void SearchFinished() override {}

private:
    MessageDatabase& db_;
};

void BM_SearchNotFound(benchmark::State& state) {
    MessageDatabase& db = BenchDatabase();
    NoWindowList list(db);
    MeasureAgainstGrep(state, [&] {
        SearchCriteria criteria;
        criteria.ready = true;
        criteria.position = kNoRow;
        criteria.searchText = kAbsentText;
        criteria.includeReceived = criteria.includeSent = true;
        benchmark::DoNotOptimize(FindNext(db, criteria, true, list));
    });
    state.counters["goal_ms"] = db.EventCount(ALL_MEMBERS) * 1.5e-5;
}
// The search step itself: goal 15 ms for 1,000,000 events.
BENCHMARK(BM_SearchNotFound)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StatsAllEvents(benchmark::State& state) {
    MessageDatabase& db = BenchDatabase();
    MeasureAgainstGrep(state, [&] {
        const MemberStats stats = ComputeStats(db, ALL_MEMBERS);
        benchmark::DoNotOptimize(stats.allByType.size());
    });
    // Memory of the table and of every cache built over the events: goal 24 bytes.
    const double events = db.EventCount(ALL_MEMBERS);
    state.counters["bytes/event"] = (TableBytes(db) + CacheBytes(db)) / events;
}
BENCHMARK(BM_StatsAllEvents)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ExportAllEvents(benchmark::State& state) {
    MessageDatabase& db = BenchDatabase();
    const std::string path = BenchFolder() + "/export-bench.txt";
    MeasureAgainstGrep(state, [&] {
        const ExportResult result = ExportText(db, ALL_MEMBERS, RowSelection::All(), path);
        if (!result.ok) {
            state.SkipWithError(result.error.c_str());
        }
    });
    std::remove(path.c_str());
}
BENCHMARK(BM_ExportAllEvents)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
