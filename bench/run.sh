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
