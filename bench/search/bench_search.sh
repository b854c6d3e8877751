#!/bin/bash
# Search benchmark: whole `vantor-xml-cli search` processes over two databases, one over a copy
# of the CLDR corpus and one over that tree copied four times (four folders), for seven kinds of
# query; each through the lookup file and with --scan (the database file read without it),
# beside `recoll -t -q Montag` on the same corpus when Recoll is installed.
# Usage: bench_search.sh [CLI] [CORPUS] [RUNS]
#   BASE_CLI=path          also times an earlier vantor-xml-cli (its own search) on the same
#                          databases.
#   COUNT_INSTRUCTIONS=1   reports the instructions of one run under callgrind instead (millions),
#                          a measure that other work on the machine does not disturb.
# Prints the sizes of the database and lookup files, then per database and query the count line
# and the median wall time, the median processor time (user + sys) and the peak memory of the
# process over RUNS runs. The machine may be shared: wall time includes waiting for a processor,
# so the processor time is the steadier measure.
set -euo pipefail

source "$(dirname "$0")/../corpus_setup.sh" "${1:-}" "${2:-}"
runs=${3:-7}
base_cli=${BASE_CLI:+$(realpath "$BASE_CLI")}
mkdir "$work/corpus4"
for copy in 1 2 3 4; do cp -r "$work/corpus" "$work/corpus4/Kopie$copy"; done
cd "$work/wd"
export XDG_DATA_HOME="$work/xdg"

for name in Bench Bench4; do
    folder=$work/corpus
    [[ $name == Bench4 ]] && folder=$work/corpus4
    "$cli" create "$name" "$folder" --yes >"$work/create.txt" 2>&1 || {
        echo "create failed:" >&2
        cat "$work/create.txt" >&2
        exit 2
    }
    db=Datenbank/$name.dat
    lookup=Datenbank/$name.dat.idx
    awk -v n="$name" -v d="$(stat -c %s "$db")" -v l="$(stat -c %s "$lookup" 2>/dev/null || echo 0)" \
        -v f="$(find "$folder" -type f -iname '*.xml' | wc -l)" 'BEGIN {
        printf "%s: %d documents, database file %.1f MB, lookup file %.1f MB (%.0f %%)\n",
               n, f, d / 1048576, l / 1048576, 100 * l / d }'
done

# Runs a command RUNS times; prints "median-wall-ms median-cpu-ms peak-MB" (or, counting
# instructions, "millions - -").
measure() {
    if [[ -n "${COUNT_INSTRUCTIONS:-}" ]]; then
        valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>"$work/cg.txt" \
            >"$work/out.txt" || true
        awk '/Collected/ { printf "%.1f - -\n", $4 / 1e6 }' "$work/cg.txt"
        return
    fi
    local walls=() cpus=() peaks=()
    for ((i = 0; i < runs; i++)); do
        set +e
        local start=$(date +%s%N)
        /usr/bin/time -f '%e %U %S %M' -o "$work/time.txt" "$@" >"$work/out.txt" 2>&1
        local end=$(date +%s%N)
        set -e
        read -r wall user sys peak <"$work/time.txt"
        walls+=("$(((end - start) / 1000000))")  # finer than the 10 ms of time's %e
        cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%d", (u + s) * 1000 }')")
        peaks+=("$peak")
    done
    local mid=$(((runs + 1) / 2))
    echo "$(printf '%s\n' "${walls[@]}" | sort -n | sed -n "${mid}p")" \
        "$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n "${mid}p")" \
        "$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1 | awk '{ printf "%.1f", $1 / 1024 }')"
}

# One cell of the table from the three numbers of measure.
cell() {
    if [[ -n "${COUNT_INSTRUCTIONS:-}" ]]; then echo "$1 M"; else echo "$1 / $2 ms, $3 MB"; fi
}

queries=(
    "exact|Montag"
    "trailing|Mont*"
    "leading|*tag"
    "both-sided|*onta*"
    "AND|--and Montag Dienstag"
    "phrase|--phrase nächsten Montag"
    "OR of five|--or Montag Dienstag Mittwoch Donnerstag Freitag"
)

echo
if [[ -n "${COUNT_INSTRUCTIONS:-}" ]]; then
    echo "Millions of instructions of one whole process (callgrind)."
else
    echo "Times in ms (median of $runs whole processes: wall / processor), peak memory in MB."
fi
header="| database | kind | query | found | lookup file | scan"
[[ -n "$base_cli" ]] && header+=" | earlier build"
echo "$header |"
for name in Bench Bench4; do
    for entry in "${queries[@]}"; do
        label=${entry%%|*}
        read -r -a args <<<"${entry#*|}"
        read -r lw lc lp < <(measure "$cli" search "$name" "${args[@]}")
        found=$(head -n 1 "$work/out.txt" | grep -o 'in [0-9]* Datei' | grep -o '[0-9]*' || true)
        cp "$work/out.txt" "$work/lookup-out.txt"
        read -r sw sc sp < <(measure "$cli" search "$name" --scan "${args[@]}")
        same="="
        cmp -s "$work/out.txt" "$work/lookup-out.txt" || same="differs!"
        row="| $name | $label | ${entry#*|} | ${found:-0} $same | $(cell $lw $lc $lp) | $(cell $sw $sc $sp)"
        if [[ -n "$base_cli" ]]; then
            read -r bw bc bp < <(measure "$base_cli" search "$name" "${args[@]}")
            row+=" | $(cell $bw $bc $bp)"
        fi
        echo "$row |"
    done
done

if command -v recollindex >/dev/null && command -v recoll >/dev/null; then
    echo
    for name in Bench Bench4; do
        folder=$work/corpus
        [[ $name == Bench4 ]] && folder=$work/corpus4
        config=$work/recoll-$name
        mkdir -p "$config"
        echo "topdirs = $folder" >"$config/recoll.conf"
        recollindex -c "$config" -z >"$work/recollindex.txt" 2>&1 || true
        read -r rw rc rp < <(measure recoll -t -c "$config" -q Montag)
        found=$(grep -o '^[0-9]* results' "$work/out.txt" | grep -o '^[0-9]*' || true)
        echo "| $name | Recoll, exact word | recoll -t -q Montag | ${found:-?} | $(cell $rw $rc $rp) | |"
    done
else
    echo "Recoll is not installed (apt-get install recoll): no comparison."
fi
