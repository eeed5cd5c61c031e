#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "BenchHistory.h"
#include "database/LocalTime.h"
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

// Runs `work` once per iteration, after `prepare` (not timed), and reports its time
// against the grep.
template <typename Work, typename Prepare>
void MeasureAgainstGrep(benchmark::State& state, Work&& work, Prepare&& prepare) {
    const double grep = GrepYardstick();
    const long before = ResidentBytes();
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
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
template <typename Work>
void MeasureAgainstGrep(benchmark::State& state, Work&& work) {
    MeasureAgainstGrep(state, work, [] {});
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

// The statistics of a history just opened: the pass over the data file that fills the
// event cache is part of it, as in `talvora-cli stats -2` (goal: 1 x grep). Each
// iteration opens the history afresh (not timed).
void BM_StatsAllEventsFirstPass(benchmark::State& state) {
    InitTimeZone();
    std::unique_ptr<MessageDatabase> db;
    MeasureAgainstGrep(
        state,
        [&] {
            const MemberStats stats = ComputeStats(*db, ALL_MEMBERS);
            benchmark::DoNotOptimize(stats.allByType.size());
        },
        [&] {
            db.reset();
            db = std::make_unique<MessageDatabase>();
            if (!db->OpenFolder(BenchFolder(), BenchUin())) {
                std::abort();
            }
        });
}
BENCHMARK(BM_StatsAllEventsFirstPass)->Unit(benchmark::kMillisecond)->Iterations(5);

// The statistics again on the open history, its event cache already filled (the window's
// second and later statistics).
void BM_StatsAllEventsCached(benchmark::State& state) {
    MessageDatabase& db = BenchDatabase();
    benchmark::DoNotOptimize(ComputeStats(db, ALL_MEMBERS).allByType.size());  // fills it
    MeasureAgainstGrep(state, [&] {
        const MemberStats stats = ComputeStats(db, ALL_MEMBERS);
        benchmark::DoNotOptimize(stats.allByType.size());
    });
    // Memory of the table and of every cache built over the events: goal 24 bytes.
    const double events = db.EventCount(ALL_MEMBERS);
    state.counters["bytes/event"] = (TableBytes(db) + CacheBytes(db)) / events;
}
BENCHMARK(BM_StatsAllEventsCached)->Unit(benchmark::kMillisecond)->Iterations(5);

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
