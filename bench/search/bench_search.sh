#!/bin/bash
# Search benchmark: builds a database over a copy of the CLDR corpus once (vantor-xml-cli create)
# and times whole `vantor-xml-cli search` processes for an exact word, a trailing wildcard, a
# leading wildcard, an AND of two words and a phrase.
# Usage: bench_search.sh [CLI] [CORPUS] [RUNS]
# Prints the database file's size and, per query, the hits line and min / median / max wall time.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-}
corpus=${2:-/usr/share/unicode/cldr/common}
runs=${3:-7}
if [[ -z "$cli" ]]; then
    for candidate in "$here"/../../build*/src/cli/vantor-xml-cli; do
        [[ -x "$candidate" ]] && cli=$candidate && break
    done
fi
if [[ ! -x "$cli" ]]; then
    echo "vantor-xml-cli not found; pass its path as the first argument" >&2
    exit 2
fi
if [[ ! -d "$corpus" ]]; then
    echo "corpus $corpus missing (apt-get install unicode-cldr-core)" >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$corpus" "$work/corpus"
mkdir "$work/wd"
cd "$work/wd"
export XDG_DATA_HOME="$work/xdg"
"$cli" create Bench "$work/corpus" --yes >"$work/create.txt" 2>&1 || {
    echo "create failed:" >&2
    cat "$work/create.txt" >&2
    exit 2
}
echo "database file: $(stat -c %s Datenbank/Bench.dat) bytes ($(du -h Datenbank/Bench.dat | cut -f1)), $(grep -c '' Datenbank/Bench.dat) lines"

queries=(
    "exact word|januar"
    "trailing wildcard|currenc*"
    "leading wildcard|*land"
    "AND of two words|--and montag dienstag"
    "phrase|--phrase pacific standard time"
)
for entry in "${queries[@]}"; do
    label=${entry%%|*}
    # The arguments are plain words; word splitting is intended.
    read -r -a args <<<"${entry#*|}"
    times=()
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        set +e
        "$cli" search Bench "${args[@]}" >"$work/out.txt" 2>&1
        set -e
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
    done
    sorted=($(printf '%s\n' "${times[@]}" | sort -n))
    count=${#sorted[@]}
    printf '%-18s %-32s %s\n' "$label" "${entry#*|}" "$(head -n 1 "$work/out.txt")"
    awk -v min="${sorted[0]}" -v med="${sorted[$((count / 2))]}" -v max="${sorted[$((count - 1))]}" \
        -v n="$count" 'BEGIN { printf "%18s runs %d: min %.3f s, median %.3f s, max %.3f s\n",
                              "", n, min / 1e6, med / 1e6, max / 1e6 }'
done
