#!/bin/bash
# Indexing benchmark: a create run of vantor-xml-cli over a copy of a real XML corpus (the
# Unicode CLDR files of Debian's unicode-cldr-core package by default).
# Usage: bench_create.sh [CLI] [CORPUS] [extra create options...]
# Prints wall time, MB/s, documents/s, CPU time and the peak memory of the run. The machine
# should be otherwise idle: the run extracts documents on all processors.
set -euo pipefail

source "$(dirname "$0")/../corpus_setup.sh" "${1:-}" "${2:-}"
shift $(( $# > 2 ? 2 : $# ))
documents=$(find "$work/corpus" -type f -iname '*.xml' | wc -l)
bytes=$(find "$work/corpus" -type f -iname '*.xml' -printf '%s\n' | awk '{s += $1} END {print s}')

cd "$work/wd"
start=$(date +%s.%N)
XDG_DATA_HOME="$work/xdg" /usr/bin/time -v -o "$work/time.txt" \
    "$cli" create Bench "$work/corpus" --yes "$@" >"$work/out.txt" 2>"$work/err.txt" || {
    echo "create failed:" >&2
    cat "$work/err.txt" >&2
    exit 2
}
end=$(date +%s.%N)

peak_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
user=$(awk -F': ' '/User time/ {print $2}' "$work/time.txt")
system=$(awk -F': ' '/System time/ {print $2}' "$work/time.txt")
awk -v s="$start" -v e="$end" -v d="$documents" -v b="$bytes" -v p="$peak_kb" -v u="$user" -v y="$system" 'BEGIN {
    wall = e - s
    printf "documents:   %d\n", d
    printf "size:        %.1f MB\n", b / 1048576
    printf "wall time:   %.2f s\n", wall
    printf "throughput:  %.1f MB/s\n", b / 1048576 / wall
    printf "documents/s: %.0f\n", d / wall
    printf "cpu time:    %.2f s user, %.2f s system\n", u, y
    printf "peak memory: %.1f MB\n", p / 1024
}'
grep -E "Fertig|Gesamtgr" "$work/out.txt" || true
echo "database: $(du -h "$work/wd/Datenbank/Bench.dat" | cut -f1), text copies: $(du -sh "$work/wd/XML_Texte" | cut -f1)"
