#!/bin/bash
# Search benchmark: whole `vantor-xml-cli search` processes over databases of 1, 4, 16 ... copies
# of the CLDR corpus (hard links, cp -al: no extra disk), each copy count one database created in
# one pass, for seven kinds of query; beside recollq over the same copies.
#
# Usage: bench_search.sh [CLI] [CORPUS] [RUNS]
#   COPIES="1 4 16"       the numbers of copies, a database each (default "1 4"). Another
#                         benchmark times the search at one size with, say:
#                             COPIES=16 bench/search/bench_search.sh build/src/cli/vantor-xml-cli
#   BASE_CLI=path         also times an earlier vantor-xml-cli on the same databases in the same
#                         run, and tells whether its result pages and --json outputs are byte for
#                         byte those of CLI ("same": = or differs!; a field of CLI's --json that
#                         the earlier one lacks is left out of the comparison).
#   SCAN=1                also times every query with --scan (the database file read without its
#                         lookup file) and tells whether its output is the same.
#   RECOLL_COPIES="1 4"   the copy counts recollq runs over (default: those of COPIES up to 4,
#                         since recollindex takes minutes a copy; "" for none). Needs recoll;
#                         recollq runs with -n 50 (the search's own limit), without abstracts.
#   COUNT_INSTRUCTIONS=1  reports the instructions of one run under callgrind instead (millions),
#                         a measure that other work on the machine does not disturb.
# Prints the documents and file sizes of each database, then one row per query kind (and build):
# per copy count the median wall time / median processor time (user + sys) in ms over RUNS runs
# and the documents found in brackets, then the largest peak memory of a search per database.
# The machine may be shared: wall time includes waiting for a processor, so the processor time is
# the steadier measure.
set -euo pipefail

source "$(dirname "$0")/../corpus_setup.sh" "${1:-}" "${2:-}"
runs=${3:-7}
read -r -a copies <<<"${COPIES:-1 4}"
base_cli=${BASE_CLI:+$(realpath "$BASE_CLI")}
if [[ -z "${RECOLL_COPIES+set}" ]]; then
    RECOLL_COPIES=""
    for n in "${copies[@]}"; do ((n <= 4)) && RECOLL_COPIES+=" $n"; done
fi
read -r -a recoll_copies <<<"$RECOLL_COPIES"
cd "$work/wd"
export XDG_DATA_HOME="$work/xdg"

# The folder of n copies, hard-linked to the one copy of the corpus (copied where links fail).
copies_folder() {
    local folder=$work/x$1
    if [[ ! -d "$folder" ]]; then
        mkdir "$folder"
        for ((k = 1; k <= $1; k++)); do
            cp -al "$work/corpus" "$folder/Kopie$k" 2>/dev/null || cp -r "$work/corpus" "$folder/Kopie$k"
        done
    fi
    echo "$folder"
}

for n in "${copies[@]}"; do
    folder=$(copies_folder "$n")
    "$cli" create "Bench$n" "$folder" --yes --chunk-size 40000 >"$work/create.txt" 2>&1 || {
        echo "create failed:" >&2
        cat "$work/create.txt" >&2
        exit 2
    }
    db=Datenbank/Bench$n.dat
    awk -v n="x$n" -v d="$(stat -c %s "$db")" -v l="$(stat -c %s "$db.idx" 2>/dev/null || echo 0)" \
        -v f="$(find "$folder" -type f -iname '*.xml' | wc -l)" 'BEGIN {
        printf "%s: %d documents, database file %.1f MB, lookup file %.1f MB\n",
               n, f, d / 1048576, l / 1048576 }'
done

# Runs a command RUNS times; prints "median-wall-ms median-cpu-ms peak-MB" (or, counting
# instructions, "millions - -"). The output of the last run stays in $work/out.txt.
measure() {
    if [[ -n "${COUNT_INSTRUCTIONS:-}" ]]; then
        valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>"$work/cg.txt" \
            >"$work/out.txt" || true
        awk '/Collected/ { printf "%.1f - -\n", $4 / 1e6 }' "$work/cg.txt"
        return
    fi
    local walls=() cpus=() TIMEFORMAT='%3R %3U %3S'
    for ((i = 0; i < runs; i++)); do
        # The shell's own timing: milliseconds, and no time(1) process in the figures.
        { time "$@" >"$work/out.txt" 2>&1; } 2>"$work/time.txt" || true
        read -r wall user sys <"$work/time.txt"
        walls+=("$(awk -v r="$wall" 'BEGIN { printf "%d", r * 1000 }')")
        cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%d", (u + s) * 1000 }')")
    done
    /usr/bin/time -f '%M' -o "$work/peak.txt" "$@" >/dev/null 2>&1 || true
    local mid=$(((runs + 1) / 2))
    echo "$(printf '%s\n' "${walls[@]}" | sort -n | sed -n "${mid}p")" \
        "$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n "${mid}p")" \
        "$(tail -n 1 "$work/peak.txt")"
}

# One cell from the numbers of measure and the documents found.
cell() {
    if [[ -n "${COUNT_INSTRUCTIONS:-}" ]]; then echo "$1 M ($4)"; else echo "$1 / $2 ms ($4)"; fi
}

# The documents the count line of the last search names.
found() {
    head -n 1 "$work/out.txt" | grep -o 'in [0-9]* Datei' | grep -o '[0-9]*' || echo 0
}

# The result page and --json output of one search by a build, for the comparison of builds.
outputs_of() {
    local build=$1 name=$2
    shift 2
    "$build" search "$name" "$@" >/dev/null 2>&1 || true
    cat VT_Ergebnis.htm
    "$build" search "$name" --json "$@" 2>&1 || true
}

queries=(
    "exact|Montag|Montag"
    "trailing|Mont*|Mont*"
    "leading|*tag|*tag"
    "both-sided|*onta*|*onta*"
    "AND|--and Montag Dienstag|Montag Dienstag"
    "phrase|--phrase nächsten Montag|\"nächsten Montag\""
    "OR of five|--or Montag Dienstag Mittwoch Donnerstag Freitag|Montag OR Dienstag OR Mittwoch OR Donnerstag OR Freitag"
)

declare -A peak
echo
if [[ -n "${COUNT_INSTRUCTIONS:-}" ]]; then
    echo "Millions of instructions of one whole process (callgrind), documents found in brackets."
else
    echo "Median of $runs whole processes: wall / processor ms (documents found)."
fi
header="| kind | query | build"
rule="|---|---|---"
for n in "${copies[@]}"; do header+=" | x$n"; rule+="|---"; done
[[ -n "${SCAN:-}" ]] && for n in "${copies[@]}"; do header+=" | x$n --scan"; rule+="|---"; done
[[ -n "$base_cli" ]] && header+=" | same" && rule+="|---"
for n in "${recoll_copies[@]}"; do header+=" | recollq x$n"; rule+="|---"; done
echo "$header |"
echo "$rule|"

recollq_cell() {
    local n=$1 query=$2 config=$work/recoll-$1
    if [[ ! -d "$config" ]]; then
        mkdir -p "$config"
        echo "topdirs = $(copies_folder "$n")" >"$config/recoll.conf"
        recollindex -c "$config" -z >"$work/recollindex.txt" 2>&1 || true
    fi
    read -r w c p < <(measure recollq -c "$config" -n 50 "$query")
    cell "$w" "$c" "$p" "$(grep -o '^[0-9]* results' "$work/out.txt" | grep -o '^[0-9]*' || echo '?')"
}

for entry in "${queries[@]}"; do
    IFS='|' read -r label text recoll_text <<<"$entry"
    read -r -a args <<<"$text"
    builds=("$cli")
    [[ -n "$base_cli" ]] && builds+=("$base_cli")
    for build in "${builds[@]}"; do
        tag="this"
        [[ "$build" == "$base_cli" && "$build" != "$cli" ]] && tag="earlier"
        row="| $label | $text | $tag"
        for n in "${copies[@]}"; do
            read -r w c p < <(measure "$build" search "Bench$n" "${args[@]}")
            # Counting instructions gives no peak ("-").
            [[ $p == - ]] || peak[$n]=$((p > ${peak[$n]:-0} ? p : ${peak[$n]:-0}))
            row+=" | $(cell "$w" "$c" "$p" "$(found)")"
        done
        if [[ -n "${SCAN:-}" ]]; then
            for n in "${copies[@]}"; do
                "$build" search "Bench$n" "${args[@]}" >"$work/lookup-out.txt" 2>&1 || true
                read -r w c p < <(measure "$build" search "Bench$n" --scan "${args[@]}")
                same=""
                cmp -s "$work/out.txt" "$work/lookup-out.txt" || same=" differs!"
                row+=" | $(cell "$w" "$c" "$p" "$(found)")$same"
            done
        fi
        if [[ -n "$base_cli" ]]; then
            if [[ $tag == "this" ]]; then
                same="="
                for n in "${copies[@]}"; do
                    outputs_of "$cli" "Bench$n" "${args[@]}" >"$work/this.txt"
                    outputs_of "$base_cli" "Bench$n" "${args[@]}" >"$work/earlier.txt"
                    # A field the earlier build does not write is no difference.
                    fields=$(grep -o '"[A-Za-z]*":' "$work/earlier.txt" | sort -u | tr -d '":' || true)
                    for field in $(grep -o '"[A-Za-z]*":' "$work/this.txt" | sort -u | tr -d '":' || true); do
                        grep -qx "$field" <<<"$fields" ||
                            sed -i "s/,\"$field\":[0-9a-z]*//" "$work/this.txt"
                    done
                    cmp -s "$work/this.txt" "$work/earlier.txt" || same="differs!"
                done
                row+=" | $same"
            else
                row+=" | "
            fi
        fi
        if [[ $tag == "this" ]]; then
            if command -v recollq >/dev/null && command -v recollindex >/dev/null; then
                for n in "${recoll_copies[@]}"; do row+=" | $(recollq_cell "$n" "$recoll_text")"; done
            else
                for n in "${recoll_copies[@]}"; do row+=" | no recoll"; done
            fi
        else
            for n in "${recoll_copies[@]}"; do row+=" | "; done
        fi
        echo "$row |"
    done
done

if [[ -z "${COUNT_INSTRUCTIONS:-}" ]]; then
    echo
    for n in "${copies[@]}"; do
        awk -v n="$n" -v k="${peak[$n]:-0}" 'BEGIN { printf "x%s: peak memory of a search %.1f MB\n", n, k / 1024 }'
    done
fi
