#!/usr/bin/env bash
# Runs each fuzz target briefly (FUZZ_SECONDS, default 30) from a corpus kept in the build.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${FUZZ_SECONDS:-30}
for target in fuzz_index fuzz_record; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    echo "== $target ($seconds s)"
    "$build/fuzz/$target" -max_total_time="$seconds" -max_len=4096 "$corpus"
done
