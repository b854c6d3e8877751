#!/bin/bash
# Scale benchmark: create runs of vantor-xml-cli over 1, 4 and 16 copies of a real XML corpus (the
# Unicode CLDR files of Debian's unicode-cldr-core package by default), hard-linked with cp -al
# so that the copies take no disk of their own (the text copies and databases of a run over x16
# take about 2 GB while it lasts); then the search benchmark over x16.
# Usage: bench_scale.sh [CLI] [CORPUS]
#   SCALES="1 4 16"   the copy counts.
#   BASE_CLI=path     also measures an earlier vantor-xml-cli, run by run beside CLI (and passes
#                     it on to the search benchmark).
#   SEARCH=0          leaves the search benchmark out.
# Each copy count is created with the default chunk size and, where that takes several passes,
# in one pass (--chunk-size above the document count); x4 also in passes of 2,100 documents.
# Prints per run the passes, wall and processor time, peak memory and the size of every file
# the run leaves in Datenbank/, then the ratios of several passes to one pass of the same tree.
# The machine may be shared: the load is printed, and the ratios compare runs made one after
# the other.
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
read -r -a scales <<<"${SCALES:-1 4 16}"
command -v /usr/bin/time >/dev/null || { echo "/usr/bin/time missing (apt-get install time)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Hard links to files of another owner need root (fs.protected_hardlinks); without them one copy
# of the corpus is the source of the links.
source_tree=$corpus
mkdir "$work/probe"
if ! cp -al "$corpus" "$work/probe/tree" 2>/dev/null; then
    cp -r "$corpus" "$work/own"
    source_tree=$work/own
fi
rm -rf "$work/probe"
for n in "${scales[@]}"; do
    mkdir "$work/x$n"
    for ((i = 1; i <= n; i++)); do cp -al "$source_tree" "$work/x$n/Kopie$i"; done
done

echo "load: $(cut -d ' ' -f 1-3 /proc/loadavg), processors: $(nproc)"
echo
echo "Wall and processor time in s, peak memory and file sizes in MB."
echo "| run | build | documents | passes | wall | processor | peak | .dat | .dat.idx | _ansi.txt" \
    "| _unicode.txt | .log | .cache | .words |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|"

declare -A wall peak
# run LABEL BUILD CLI TREE OPTIONS...: one create in a fresh working folder; prints its row.
run() {
    local label=$1 build=$2 program=$3 tree=$4
    shift 4
    local wd=$work/wd
    rm -rf "$wd" "$work/xdg"
    mkdir "$wd"
    local start end user sys kb
    start=$(date +%s%N)
    (cd "$wd" && XDG_DATA_HOME="$work/xdg" /usr/bin/time -f "%U %S %M" -o "$work/time.txt" \
        "$program" create Bench "$tree" --yes "$@" >"$work/out.txt" 2>"$work/err.txt") || {
        echo "create failed:" >&2
        cat "$work/err.txt" >&2
        exit 2
    }
    end=$(date +%s%N)
    read -r user sys kb <"$work/time.txt"
    local documents chunk=20000
    documents=$(find "$tree" -type f -iname '*.xml' | wc -l)
    [[ "$*" =~ --chunk-size\ ([0-9]+) ]] && chunk=${BASH_REMATCH[1]}
    local sizes=""
    for file in Bench.dat Bench.dat.idx Bench_ansi.txt Bench_unicode.txt Bench.log Bench.cache \
        Bench.words; do
        sizes+=" | $(stat -c %s "$wd/Datenbank/$file" 2>/dev/null |
            awk '{ printf "%.1f", $1 / 1048576 }')"
    done
    wall[$label,$build]=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.1f", (e - s) / 1e9 }')
    peak[$label,$build]=$(awk -v k="$kb" 'BEGIN { printf "%.0f", k / 1024 }')
    echo "| $label | $build | $documents | $(((documents + chunk - 1) / chunk)) |" \
        "${wall[$label,$build]} | $(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.1f", u + s }') |" \
        "${peak[$label,$build]}$sizes |"
    rm -rf "$wd"
}

builds=(this)
[[ -n "$base_cli" ]] && builds+=(earlier)
for n in "${scales[@]}"; do
    documents=$(find "$work/x$n" -type f -iname '*.xml' | wc -l)
    runs=("x$n default|")
    ((documents > 20000)) && runs+=("x$n one pass|--chunk-size $((documents + 1))")
    ((n == 4)) && runs+=("x4 --chunk-size 2100|--chunk-size 2100")
    for entry in "${runs[@]}"; do
        read -r -a options <<<"${entry#*|}"
        for build in "${builds[@]}"; do
            program=$cli
            [[ $build == earlier ]] && program=$base_cli
            run "${entry%%|*}" "$build" "$program" "$work/x$n" "${options[@]}"
        done
    done
done

echo
# ratio NAME A B: value A over value B of the array NAME, per build, where both were measured.
ratio() {
    local -n values=$1
    for build in "${builds[@]}"; do
        [[ -n "${values[$2,$build]:-}" && -n "${values[$3,$build]:-}" ]] || continue
        awk -v a="${values[$2,$build]}" -v b="${values[$3,$build]}" -v t="$4 ($build build)" \
            'BEGIN { printf "%s: %.2f\n", t, a / b }'
    done
}
ratio wall "x16 default" "x16 one pass" "x16: wall time of the default passes over one pass"
ratio peak "x4 --chunk-size 2100" "x4 default" "x4: peak of passes of 2,100 documents over one pass"

if [[ "${SEARCH:-1}" != 0 ]]; then
    echo
    # The search over x16 copies (COPIES chooses the copy counts of the search benchmark).
    COPIES=16 bash "$bench_dir/../search/bench_search.sh" "$cli" "$corpus"
fi
