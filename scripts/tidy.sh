#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every source file of src/ that the
# build folder compiles, with that folder's compile commands, JOBS files at a time; any
# finding fails. The folder must have been built (the Qt files include generated code).
#   scripts/tidy.sh [BUILD] [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
jobs=${2:-2}
database="$build/compile_commands.json"
if [ ! -f "$database" ]; then
    echo "tidy.sh: no $database (configure and build $build first)" >&2
    exit 2
fi

# The files the build compiles, so that no stale or unlisted file is read with guessed flags.
root=$(pwd)
mapfile -t files < <(grep -o '"file": "[^"]*"' "$database" | sed 's/^"file": "//; s/"$//' |
    grep "^$root/src/" | sort -u)
if [ ${#files[@]} -eq 0 ]; then
    echo "tidy.sh: $database lists no file of src/" >&2
    exit 2
fi
echo "clang-tidy: ${#files[@]} files, $jobs at a time"

# Each file's findings are printed in one piece, never interleaved with another's.
printf '%s\0' "${files[@]}" | xargs -0 -n 1 -P "$jobs" sh -c '
    if ! out=$(clang-tidy -p "$0" --quiet --warnings-as-errors="*" "$1" 2>&1); then
        printf "%s\n" "$out" | grep -v "warnings\? generated\.$" >&2
        exit 1
    fi' "$build" || {
    echo "clang-tidy found problems (above)" >&2
    exit 1
}
