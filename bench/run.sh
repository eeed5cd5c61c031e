#!/usr/bin/env bash
# Runs the benchmarks on histories of 1,000,000 and 10,000,000 events, 500 members and
# texts of about 60 bytes (made once, kept in the build folder), warm cache: the core
# libraries in process, then whole command-line processes side by side with grep and
# ripgrep, then the window. TALVORA_BENCH_SIZES="1000000" leaves out the large history.
set -euo pipefail
build=${1:-build-bench}
sizes=${TALVORA_BENCH_SIZES:-"1000000 10000000"}
export TZ="${TZ:-JST-9}"

history_for() {
    local events=$1 folder="$build/history-$1"
    if [ ! -f "$folder/${events}msg.idx" ]; then
        mkdir -p "$folder"
        "$build/tools/makedb/talvora-makedb" --folder "$folder" --uin "$events" \
            --events "$events" --members 500 --text-bytes 60 --seed 1 --now 1767225600 >&2
    fi
    echo "$folder"
}

for events in $sizes; do
    folder=$(history_for "$events")
    cat "$folder"/* > /dev/null  # warm the page cache
    echo "== core libraries, $events events, data file $(stat -c %s "$folder/${events}msg.dat") bytes"
    filter=${TALVORA_BENCH_FILTER:-.}
    if [ "$events" -gt 1000000 ]; then
        filter=${TALVORA_BENCH_FILTER:-'FirstIndexPass|SearchNotFound|StatsAllEvents'}
    fi
    TALVORA_BENCH_FOLDER="$folder" TALVORA_BENCH_UIN="$events" \
        "$build/bench/talvora_bench" --benchmark_counters_tabular=true \
        --benchmark_filter="$filter" "${@:2}"
    bench/compare.sh "$build" "$folder" "$events"
done

bench/scan.sh "$build"

# The window, on an empty history and on the largest one: the memory difference is what
# the events cost.
if [ -x "$build/bench/talvora_window_bench" ]; then
    empty="$build/empty-history"
    mkdir -p "$empty"
    [ -f "$empty/1msg.idx" ] || "$build/tools/makedb/talvora-makedb" --folder "$empty" --uin 1 --events 0
    events=${sizes##* }
    large=$(history_for "$events")
    printf '[Log File]\nLocation=0\nDB Path=%s\nUIN=1\n' "$(realpath "$empty")" > "$build/empty.ini"
    printf '[Log File]\nLocation=0\nDB Path=%s\nUIN=%s\n' "$(realpath "$large")" "$events" > "$build/large.ini"
    echo "== window, empty history"
    QT_QPA_PLATFORM=offscreen "$build/bench/talvora_window_bench" "$build/empty.ini"
    echo "== window, $events events"
    cat "$large"/* > /dev/null
    QT_QPA_PLATFORM=offscreen "$build/bench/talvora_window_bench" "$build/large.ini"
    # Live updates: events appended to a small history of its own, made afresh.
    livefolder="$build/live-history"
    rm -rf "$livefolder" && mkdir -p "$livefolder"
    "$build/tools/makedb/talvora-makedb" --folder "$livefolder" --uin 1 --events 1000 --seed 1 >&2
    printf '[Log File]\nLocation=0\nDB Path=%s\nUIN=1\n' "$(realpath "$livefolder")" > "$build/live.ini"
    echo "== window, live updates"
    QT_QPA_PLATFORM=offscreen "$build/bench/talvora_window_bench" --live "$build/live.ini"
fi
