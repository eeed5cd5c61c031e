#include <benchmark/benchmark.h>

#include <memory>
#include <numeric>
#include <random>
#include <string>

#include "BenchHistory.h"
#include "database/EventCells.h"
#include "database/MessageDatabase.h"

namespace {

void BM_FirstIndexPass(benchmark::State& state) {
    for (auto _ : state) {
        auto db = std::make_unique<MessageDatabase>();
        benchmark::DoNotOptimize(db->OpenFolder(BenchFolder(), BenchUin()));
        state.PauseTiming();  // closing is not part of opening
        const double events = db->EventCount(ALL_MEMBERS);
        state.counters["events"] = events;
        state.counters["bytes/event"] = TableBytes(*db) / events;
        state.counters["goal_ms"] = events * 6e-6;  // 6 ms for 1,000,000 events
        state.counters["goal_B/ev"] = 12;
        db.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstIndexPass)->Unit(benchmark::kMillisecond)->Iterations(5);

// ReadEvent through all events in list order (row 0, the newest, first).
void BM_ReadEventListOrder(benchmark::State& state) {
    MessageDatabase& db = BenchDatabase();
    const std::int32_t n = db.EventCount(ALL_MEMBERS);
    EventRecord record;
    for (auto _ : state) {
        for (std::int32_t row = 0; row < n; ++row) {
            benchmark::DoNotOptimize(db.ReadEvent(ALL_MEMBERS, RowToIndex(n, row), record));
        }
    }
    state.counters["events/s"] =
        benchmark::Counter(static_cast<double>(n) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadEventListOrder)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadEventRandomOrder(benchmark::State& state) {
    MessageDatabase& db = BenchDatabase();
    const std::int32_t n = db.EventCount(ALL_MEMBERS);
    std::vector<std::int32_t> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(3));
    EventRecord record;
    for (auto _ : state) {
        for (std::int32_t index : order) {
            benchmark::DoNotOptimize(db.ReadEvent(ALL_MEMBERS, index, record));
        }
    }
    state.counters["events/s"] =
        benchmark::Counter(static_cast<double>(n) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadEventRandomOrder)->Unit(benchmark::kMillisecond)->Iterations(2);

// What one list row costs: decode plus the six cells.
void BM_ListRowCells(benchmark::State& state) {
    MessageDatabase& db = BenchDatabase();
    const std::int32_t n = db.EventCount(ALL_MEMBERS);
    EventRecord record;
    EventCells cells;
    std::int32_t row = 0;
    for (auto _ : state) {
        const bool ok = db.ReadEvent(ALL_MEMBERS, RowToIndex(n, row), record);
        FillEventCells(db, record, ok, cells);
        benchmark::DoNotOptimize(cells.text.data());
        row = row + 1 < n ? row + 1 : 0;
    }
}
BENCHMARK(BM_ListRowCells);

}  // namespace

BENCHMARK_MAIN();
