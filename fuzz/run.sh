#!/usr/bin/env bash
# Runs each fuzz target in turn for FUZZ_SECONDS (default 30) from a corpus kept in the
# build, and prints libFuzzer's closing figures. FUZZ_TARGETS picks some of them.
# FUZZ_SEEDS_ONLY=1 runs each target over the seeds below alone and stops: a check, the
# same every time, that every target still builds, starts and runs (make test), not a
# search for faults.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-30}
targets=${FUZZ_TARGETS:-"fuzz_index fuzz_record fuzz_files fuzz_text fuzz_settings fuzz_registry fuzz_export"}
corpora="$build/corpus"
limit=(-max_total_time="$seconds")
if [ -n "${FUZZ_SEEDS_ONLY:-}" ]; then
    corpora="$build/corpus-seeds"
    rm -rf "$corpora"
    limit=(-runs=0)
fi

# Seeds that reach the long records of fuzz_index's data file and a stretched record.
seed() {
    mkdir -p "$corpora/$1"
    printf "$3" >"$corpora/$1/$2"
}
seed fuzz_index long '\0\0\0\0\0\0\0\0\0\0\5\0\0\0\0\0\0\0\5\0\0\0\x1b\0\0\0\6\0\0\0\x36\0\0\0\7\0\0\0\xd6\x13\0\0'
seed fuzz_record long '\xa0\0\1\0\xa0\x13\1A\x88\x13'
seed fuzz_settings mixed '\x01\x10\x03\x20[Member Name]\r\n1=\x83\x65\n2=\xe6\x97\xa5\n[Log File]\nLocation=1'
seed fuzz_registry key '[Software\\\\A\\\\B] 1\n"DataBase"="C:\\\\x"\n"n"=dword:00000005\n"h"=hex:01,02,\\\n  03\n'

for target in $targets; do
    binary="$build/fuzz/$target"
    if [ ! -x "$binary" ]; then
        echo "!! $target is not built: $binary" >&2
        exit 1
    fi
    corpus="$corpora/$target"
    mkdir -p "$corpus"
    echo "== $target (${limit[*]})"
    log="$build/$target.log"
    status=0
    "$binary" "${limit[@]}" -max_len=8192 -print_final_stats=1 -artifact_prefix="$build/$target-" "$corpus" \
        >"$log" 2>&1 || status=$?
    grep -aE "^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|SUMMARY)|ERROR|Test unit written" "$log" || true
    if [ "$status" -ne 0 ]; then
        echo "!! $target found a fault: $log" >&2
        exit 1
    fi
done
