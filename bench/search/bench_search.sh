#!/bin/bash
# Search benchmark: builds a database over a copy of the CLDR corpus once (vantor-xml-cli create)
# and times whole `vantor-xml-cli search` processes for an exact word, a trailing wildcard, a
# leading wildcard, an AND of two words and a phrase.
# Usage: bench_search.sh [CLI] [CORPUS] [RUNS]
# Prints the database file's size and, per query, the count line, the wall time (min / median /
# max) and the processor time of the process (the machine may be shared: wall time includes
# waiting for a processor).
set -euo pipefail

source "$(dirname "$0")/../corpus_setup.sh" "${1:-}" "${2:-}"
runs=${3:-7}
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
    walls=()
    cpus=()
    for ((i = 0; i < runs; i++)); do
        set +e
        /usr/bin/time -f '%e %U %S' -o "$work/time.txt" "$cli" search Bench "${args[@]}" \
            >"$work/out.txt" 2>&1
        set -e
        read -r wall user sys <"$work/time.txt"
        walls+=("$wall")
        cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')")
    done
    printf '%-18s %-32s %s\n' "$label" "${entry#*|}" "$(head -n 1 "$work/out.txt")"
    printf '%s\n' "${walls[@]}" | sort -n | awk -v n="$runs" '{ w[NR] = $1 } END {
        printf "%18s wall over %d runs: min %.2f s, median %.2f s, max %.2f s\n", "", n, w[1],
               w[int((NR + 1) / 2)], w[NR] }'
    printf '%s\n' "${cpus[@]}" | sort -n | awk '{ c[NR] = $1 } END {
        printf "%18s cpu (user + sys): min %.2f s, median %.2f s\n", "", c[1], c[int((NR + 1) / 2)] }'
done
