#!/usr/bin/env bash
# `talvora-cli detect --scan` over a tree of 100,000 files holding 50 small histories,
# beside `find DIR -iname '*msg.idx'` over the same tree (goal: at most 2x).
# usage: bench/scan.sh BUILD [RUNS]
set -euo pipefail
build=$1
runs=${2:-7}
cli="$build/src/cli/talvora-cli"
tree="$build/scan-tree"

# 2,000 folders of 50 files; every 40th folder holds a history pair among its files.
if [ ! -f "$tree/.complete" ]; then
    rm -rf "$tree" && mkdir -p "$tree"
    seedhist="$build/scan-seed"
    rm -rf "$seedhist" && mkdir -p "$seedhist"
    "$build/tools/makedb/talvora-makedb" --folder "$seedhist" --uin 1 --events 200 --seed 1 >&2
    for d in $(seq 0 1999); do
        dir="$tree/user$((d % 20))/disk$((d / 20 % 10))/folder$d"
        mkdir -p "$dir"
        files=50
        if [ $((d % 40)) -eq 0 ]; then
            uin=$((100000 + d))
            cp "$seedhist/1msg.idx" "$dir/${uin}msg.idx"
            cp "$seedhist/1msg.dat" "$dir/${uin}msg.dat"
            files=48
        fi
        (cd "$dir" && seq -f 'file%g.txt' "$files" | xargs touch)
    done
    touch "$tree/.complete"
fi

median_ms() {
    local times=()
    for _ in $(seq "$runs"); do
        local t
        t=$( { TIMEFORMAT='%3R %3U %3S'; time "$@" > /dev/null 2>&1 || true; } 2>&1 )
        times+=("$(awk -v wall="${TALVORA_BENCH_WALL:-0}" '{printf "%.1f", (wall == 1 ? $1 : $2 + $3) * 1000}' <<< "$t")")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

found=$("$cli" detect --scan "$tree" | grep -c '^history' || true)
find_ms=$(median_ms find "$tree" -iname '*msg.idx')
scan_ms=$(median_ms "$cli" detect --scan "$tree")
echo "== scan, $(find "$tree" -type f | wc -l) files, $found histories found"
printf '%-40s %9s ms  %6s x find  goal <= 2\n' "talvora-cli detect --scan DIR" "$scan_ms" \
    "$(awk -v a="$scan_ms" -v b="$find_ms" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}')"
