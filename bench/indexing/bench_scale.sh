#!/bin/bash
# Scale benchmark: create runs of vantor-xml-cli over 1, 4 and 16 hard-linked copies of a real XML
# corpus (the Unicode CLDR files of Debian's unicode-cldr-core package by default; `cp -al`, so
# the copies take no disk space of their own, but the text copies and databases of a run over
# x16 take about 2 GB), each with the default chunk size and in one pass, and a run of several
# small passes over x4; then the search benchmark over x16.
# Usage: bench_scale.sh [CLI] [CORPUS]
#   SCALES="1 4 16"    the copy counts to measure.
#   BASE_CLI=path      also measures an earlier vantor-xml-cli, run by run beside CLI.
#   SEARCH=0           leaves out the search benchmark.
# Prints per run: passes, wall time, processor time, peak memory, and the size of every file the
# run leaves in Datenbank/. The machine may be shared: note the load (printed).
set -euo pipefail

bench_dir=$(cd "$(dirname "$0")" && pwd)
cli=${1:-}
corpus=${2:-/usr/share/unicode/cldr/common}
if [[ -z "$cli" ]]; then
    for candidate in "$bench_dir"/../../build*/src/cli/vantor-xml-cli; do
        [[ -x "$candidate" ]] && cli=$candidate && break
    done
fi
[[ -x "$cli" ]] || { echo "vantor-xml-cli not found; pass its path as the first argument" >&2; exit 2; }
[[ -d "$corpus" ]] || { echo "corpus $corpus missing (apt-get install unicode-cldr-core)" >&2; exit 2; }
cli=$(realpath "$cli")
base_cli=${BASE_CLI:+$(realpath "$BASE_CLI")}
scales=${SCALES:-1 4 16}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Hard links to files of another owner need root (fs.protected_hardlinks): without them, one
# copy of the corpus serves as the source of the links.
source_tree=$corpus
mkdir "$work/probe"
if ! cp -al "$corpus" "$work/probe/tree" 2>/dev/null; then
    cp -r "$corpus" "$work/own"
    source_tree=$work/own
fi
rm -rf "$work/probe"
for n in $scales; do
    mkdir "$work/x$n"
    for ((i = 1; i <= n; i++)); do cp -al "$source_tree" "$work/x$n/Kopie$i"; done
done

echo "load: $(cut -d ' ' -f 1-3 /proc/loadavg), processors: $(nproc)"

# run LABEL CLI TREE OPTIONS...: one create in a fresh working folder; prints a table row.
run() {
    local label=$1 program=$2 tree=$3
    shift 3
    local wd=$work/wd
    rm -rf "$wd" "$work/xdg"
    mkdir "$wd"
    local start end
    start=$(date +%s%N)
    (cd "$wd" && XDG_DATA_HOME="$work/xdg" /usr/bin/time -f "%U %S %M" -o "$work/time.txt" \
        "$program" create Bench "$tree" --yes "$@" >"$work/out.txt" 2>"$work/err.txt") || {
        echo "create failed:" >&2
        cat "$work/err.txt" >&2
        exit 2
    }
    end=$(date +%s%N)
    local user sys peak
    read -r user sys peak <"$work/time.txt"
    local documents chunk passes
    documents=$(find "$tree" -type f -iname '*.xml' | wc -l)
    chunk=20000
    [[ "$*" =~ --chunk-size\ ([0-9]+) ]] && chunk=${BASH_REMATCH[1]}
    passes=$(((documents + chunk - 1) / chunk))
    local sizes=""
    for file in Bench.dat Bench.dat.idx Bench_ansi.txt Bench_unicode.txt Bench.log Bench.cache \
        Bench.words; do
        sizes+=" | $(awk -v b="$(stat -c %s "$wd/Datenbank/$file" 2>/dev/null || echo 0)" \
            'BEGIN { printf "%.1f", b / 1048576 }')"
    done
    awk -v l="$label" -v d="$documents" -v p="$passes" -v s="$start" -v e="$end" -v u="$user" \
        -v y="$sys" -v m="$peak" -v z="$sizes" 'BEGIN {
        printf "| %s | %d | %d | %.1f | %.1f | %.0f%s |\n", l, d, p, (e - s) / 1e9, u + y, m / 1024, z }'
    rm -rf "$wd"
}

echo
echo "Wall and processor time in s, peak memory and file sizes in MB."
echo "| run | documents | passes | wall | processor | peak | .dat | .dat.idx | _ansi.txt |" \
    "_unicode.txt | .log | .cache | .words |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|"
for n in $scales; do
    runs=("x$n default|")
    documents=$(find "$work/x$n" -type f -iname '*.xml' | wc -l)
    # One pass, whatever the default chunk size.
    ((documents >= 20000)) && runs+=("x$n one pass|--chunk-size $((documents + 1))")
    # Passes of about 2,000 documents: what the merge costs beside one pass over the same tree.
    ((n == 4)) && runs+=("x$n --chunk-size 2100|--chunk-size 2100")
    for entry in "${runs[@]}"; do
        label=${entry%%|*}
        read -r -a options <<<"${entry#*|}"
        run "$label" "$cli" "$work/x$n" "${options[@]}"
        [[ -n "$base_cli" ]] && run "$label, earlier build" "$base_cli" "$work/x$n" "${options[@]}"
    done
done

if [[ "${SEARCH:-1}" != 0 ]]; then
    echo
    # The search benchmark over x16; COPIES asks it for that many copies of the corpus.
    COPIES=16 BASE_CLI="${BASE_CLI:-}" bash "$bench_dir/../search/bench_search.sh" "$cli" "$corpus"
fi
