#!/usr/bin/env bash
# Whole-process figures of talvora-cli next to grep and ripgrep over the same data file,
# measured in one run, each the median of several runs (warm cache).
# usage: bench/compare.sh BUILD FOLDER UIN [RUNS]
set -euo pipefail
build=$1
folder=$2
uin=$3
runs=${4:-7}
cli="$build/src/cli/talvora-cli"
data="$folder/${uin}msg.dat"
absent=zqxjzqxj
events=$(( ($(stat -c %s "$folder/${uin}msg.idx") - 10) / 8 ))

# Median time of a command in milliseconds, output to /dev/null (grep's "no match" exit
# status is not a failure): processor time (user + system), which other work on a busy
# machine disturbs far less than wall time; set TALVORA_BENCH_WALL=1 for wall time.
# With `fresh` set, that file is removed before each run (outside the time), so that an
# export is not charged for dropping the previous run's output; `prepare` is a command
# run before each run, outside the time too.
median_ms() {
    local times=()
    for _ in $(seq "$runs"); do
        local t
        if [ -n "${fresh:-}" ]; then rm -f "$fresh"; fi
        if [ -n "${prepare:-}" ]; then eval "$prepare"; fi
        t=$( { TIMEFORMAT='%3R %3U %3S'; time "$@" > /dev/null 2>&1 || true; } 2>&1 )
        times+=("$(awk -v wall="${TALVORA_BENCH_WALL:-0}" '{printf "%.1f", (wall == 1 ? $1 : $2 + $3) * 1000}' <<< "$t")")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

cat "$folder"/* > /dev/null
rg_ms=$(median_ms rg -c -F "$absent" "$data")
grep_ms=$(median_ms grep -c -F "$absent" "$data")
base=(--data "$data" --index "$folder/${uin}msg.idx" --settings "$build/compare.ini")
: > "$build/compare.ini"
open_ms=$(median_ms "$cli" "${base[@]}" members)
search_ms=$(median_ms "$cli" "${base[@]}" search -2 --text "$absent")
# The hit list's search from the command line: plain, folded, and an expression without
# a literal in it (so that no byte search can help either side).
regex='[a-z]{3}[0-9]{4}'
rgi_ms=$(median_ms rg -c -i -F "$absent" "$data")
rge_ms=$(median_ms rg -c -e "$regex" "$data")
grep_plain_ms=$(median_ms "$cli" "${base[@]}" grep "$absent")
grep_folded_ms=$(median_ms "$cli" "${base[@]}" grep -i -w "$absent")
grep_kana_ms=$(median_ms "$cli" "${base[@]}" grep -i -w -k "$absent")
grep_regex_ms=$(median_ms "$cli" "${base[@]}" grep -E "$regex")
stats_ms=$(median_ms "$cli" "${base[@]}" stats -2)
exported="$build/compare-export.out"
copied="$build/compare-copy.out"
export_runs=$(( events > 5000000 ? 3 : runs ))
export_ms=()
null_ms=()
# With each format, what copying its output into a new file costs by itself on this
# machine (dd reads and writes in pieces, as the program writes): a floor under that
# export to a file that the program does not control.
write_ms=()
export_mb=()
for format in text csv json jsonl html; do
    export_ms+=("$(runs=$export_runs fresh=$exported median_ms "$cli" "${base[@]}" export -2 --format "$format" -o "$exported")")
    null_ms+=("$(runs=$export_runs median_ms "$cli" "${base[@]}" export -2 --format "$format" -o /dev/null)")
    "$cli" "${base[@]}" export -2 --format "$format" -o "$exported"
    export_mb+=("$(( $(stat -c %s "$exported") / 1000000 ))")
    write_ms+=("$(runs=$export_runs fresh=$copied median_ms dd if="$exported" of="$copied" bs=256k status=none)")
    rm -f "$copied"
done
# The SQLite archive, on histories up to 1M events: a new one against the sqlite3 shell
# importing the same events from CSV (written from the archive, for the shell cannot make
# the character pairs) and building the same full-text table and indexes, with the same
# settings; then 1,000 new events added to the archive of all but the last 1,000.
if [ "$events" -le 1000000 ]; then
    archive="$build/compare-archive.sqlite"
    shell_db="$build/compare-shell.sqlite"
    archive_runs=3
    archive_ms=$(runs=$archive_runs fresh=$archive median_ms "$cli" "${base[@]}" export -2 --format sqlite -o "$archive")
    "$cli" "${base[@]}" export -2 --format sqlite -o "$archive" --rebuild > /dev/null 2>&1
    sqlite3 -csv "$archive" "SELECT * FROM events" > "$build/compare-archive.csv"
    sqlite3 "$archive" .schema | grep -v '^CREATE INDEX' > "$build/compare-tables.sql"
    sqlite3 "$archive" .schema | grep '^CREATE INDEX' > "$build/compare-indexes.sql"
    {
        echo "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; PRAGMA locking_mode = EXCLUSIVE;"
        echo "PRAGMA cache_size = -65536; PRAGMA temp_store = MEMORY;"
        echo ".read $build/compare-tables.sql"
        echo "BEGIN;"
        echo ".import --csv $build/compare-archive.csv events"
        echo "INSERT INTO events_fts (events_fts) VALUES ('rebuild');"
        echo ".read $build/compare-indexes.sql"
        echo "COMMIT;"
    } > "$build/compare-import.sql"
    shell_ms=$(runs=$archive_runs fresh=$shell_db median_ms sqlite3 "$shell_db" ".read $build/compare-import.sql")
    # The same history without its last 1,000 entries, archived once; each run adds them to
    # a fresh copy of that archive.
    part="$build/compare-archive-history"
    rm -rf "$part" && mkdir -p "$part"
    ln -f "$data" "$part/${uin}msg.dat" 2>/dev/null || cp "$data" "$part/${uin}msg.dat"
    head -c $(( 10 + 8 * (events - 1000) )) "$folder/${uin}msg.idx" > "$part/${uin}msg.idx"
    part_base=(--folder "$part" --uin "$uin" --settings "$build/compare.ini")
    "$cli" "${part_base[@]}" export -2 --format sqlite -o "$build/compare-part.sqlite" > /dev/null
    cp "$folder/${uin}msg.idx" "$part/${uin}msg.idx"
    add_ms=$(prepare="cp '$build/compare-part.sqlite' '$archive'" median_ms "$cli" "${part_base[@]}" export -2 --format sqlite -o "$archive")
    rm -rf "$part" "$archive" "$shell_db" "$build"/compare-archive.csv "$build"/compare-part.sqlite \
        "$build"/compare-tables.sql "$build"/compare-indexes.sql "$build"/compare-import.sql
fi
list_runs=$(( events > 5000000 ? 1 : 3 ))
list_ms=$(runs=$list_runs median_ms "$cli" "${base[@]}" list -2)
rm -f "$exported"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }
printf '== whole processes, %d events, data file %d bytes, median of %d runs (%s time)\n' \
    "$events" "$(stat -c %s "$data")" "$runs" \
    "$([ "${TALVORA_BENCH_WALL:-0}" = 1 ] && echo wall || echo processor)"
printf '%-40s %9s ms\n' "rg -c -F ABSENT" "$rg_ms" "grep -c -F ABSENT" "$grep_ms" \
    "talvora-cli members (open)" "$open_ms"
printf '%-40s %9s ms  %6s x rg    goal <= 1.5\n' "talvora-cli search -2 --text ABSENT" \
    "$search_ms" "$(ratio "$search_ms" "$rg_ms")"
printf '%-40s %9s ms\n' "rg -c -i -F ABSENT" "$rgi_ms" "rg -c -e '$regex'" "$rge_ms" \
    "talvora-cli grep ABSENT" "$grep_plain_ms"
for folded in "-i -w:$grep_folded_ms" "-i -w -k:$grep_kana_ms"; do
    printf '%-40s %9s ms  %6s x grep  %6s x rg -i   goal <= 2 and <= 2\n' \
        "talvora-cli grep ${folded%%:*} ABSENT" "${folded##*:}" \
        "$(ratio "${folded##*:}" "$grep_plain_ms")" "$(ratio "${folded##*:}" "$rgi_ms")"
done
printf '%-40s %9s ms  %6s x rg -e  goal <= 3 (1M events)\n' "talvora-cli grep -E '$regex'" \
    "$grep_regex_ms" "$(ratio "$grep_regex_ms" "$rge_ms")"
printf '%-40s %9s ms  %6s x grep  goal <= 1\n' "talvora-cli stats -2" "$stats_ms" \
    "$(ratio "$stats_ms" "$grep_ms")"
# To /dev/null: the text export against grep, every other format against the text export
# (the formats differ in what they write, not in what they read). To a file: against the
# /dev/null figure plus what dd takes to write the same output.
text_null=${null_ms[0]}
i=0
for format in text csv json jsonl html; do
    if [ "$format" = text ]; then
        printf '%-40s %9s ms  %6s x grep  goal <= 1.6\n' \
            "talvora-cli export -2 text > /dev/null" "$text_null" "$(ratio "$text_null" "$grep_ms")"
    else
        printf '%-40s %9s ms  %6s x text  goal <= 1.5\n' \
            "talvora-cli export -2 $format > /dev/null" "${null_ms[$i]}" \
            "$(ratio "${null_ms[$i]}" "$text_null")"
    fi
    floor=$(awk -v a="${null_ms[$i]}" -v b="${write_ms[$i]}" 'BEGIN {printf "%.1f", a + b}')
    printf '%-40s %9s ms  %6s x (/dev/null + dd %s ms, dd alone %s ms, %s MB)  goal <= 1\n' \
        "  to a file" "${export_ms[$i]}" "$(ratio "${export_ms[$i]}" "$floor")" "$floor" \
        "${write_ms[$i]}" "${export_mb[$i]}"
    i=$((i + 1))
done
printf '%-40s %9s ms  %6s M lines/s  goal >= 8 (10M events)\n' "talvora-cli list -2 > /dev/null" \
    "$list_ms" "$(awk -v n="$events" -v t="$list_ms" 'BEGIN {printf "%.2f", (t > 0 ? n / t / 1000 : 0)}')"
if [ -n "${archive_ms:-}" ]; then
    printf '%-40s %9s ms  %6s x sqlite3  goal <= 1.5\n' "talvora-cli export -2 sqlite (new)" \
        "$archive_ms" "$(ratio "$archive_ms" "$shell_ms")"
    printf '%-40s %9s ms\n' "  sqlite3 .import CSV, FTS, indexes" "$shell_ms"
    printf '%-40s %9s ms  goal <= 100\n' "  1,000 new events into that archive" "$add_ms"
fi
