#!/usr/bin/env bash
# Runs the benchmarks on a history of 1,000,000 events, 500 members and texts of about
# 60 bytes (made once, kept in the build folder), warm cache.
set -euo pipefail
build=${1:-build-bench}
history="$build/history"
uin=1000000
if [ ! -f "$history/${uin}msg.idx" ]; then
    mkdir -p "$history"
    "$build/tools/makedb/talvora-makedb" --folder "$history" --uin "$uin" \
        --events 1000000 --members 500 --text-bytes 60 --seed 1 --now 1767225600
fi
cat "$history"/* > /dev/null  # warm the page cache
export TALVORA_BENCH_FOLDER="$history" TALVORA_BENCH_UIN="$uin" TZ="${TZ:-JST-9}"
"$build/bench/talvora_bench" --benchmark_counters_tabular=true "${@:2}"

# The window, on an empty history and on the large one: the memory difference is what the
# events cost.
if [ -x "$build/bench/talvora_window_bench" ]; then
    empty="$build/empty-history"
    mkdir -p "$empty"
    [ -f "$empty/1msg.idx" ] || "$build/tools/makedb/talvora-makedb" --folder "$empty" --uin 1 --events 0
    printf '[Log File]\nLocation=0\nDB Path=%s\nUIN=1\n' "$(realpath "$empty")" > "$build/empty.ini"
    printf '[Log File]\nLocation=0\nDB Path=%s\nUIN=%s\n' "$(realpath "$history")" "$uin" > "$build/large.ini"
    echo "== window, empty history"
    QT_QPA_PLATFORM=offscreen "$build/bench/talvora_window_bench" "$build/empty.ini"
    echo "== window, 1,000,000 events"
    QT_QPA_PLATFORM=offscreen "$build/bench/talvora_window_bench" "$build/large.ini"
fi
