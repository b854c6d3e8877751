#!/bin/bash
# Re-index benchmark: whole vantor-xml-cli processes over a copy of a real XML corpus (the Unicode
# CLDR files of Debian's unicode-cldr-core package by default) and over the same tree copied four
# times: xmllint --noout over the files (the parse alone, for the ratio), create, re-index of the
# unchanged tree, and re-index after changing 80 documents, deleting 10 and adding 10.
# Usage: bench_reindex.sh [CLI] [CORPUS] [REPEATS]
#   READ_ONLY=1   the trees are read-only (no write permission; run it as an ordinary user, whom
#                 permissions bind): create and unchanged re-index only, which must take every
#                 document over unchanged.
# Prints the median wall time and peak memory of each step over REPEATS rounds (default 3) and
# the ratios the indexing is measured by. Other work on the machine disturbs the times: note
# the load (printed) and prefer a quiet machine.
# Each create runs in a working folder of its own, and the folders are removed only at the end:
# ext4 skips inodes freed in the last seconds when it allocates new ones, so a create right
# after deleting the previous round's thousands of text copies spent up to two seconds more in
# the kernel than one in a fresh folder. The folders take about 0.7 GB per round.
set -euo pipefail

source "$(dirname "$0")/../corpus_setup.sh" "${1:-}" "${2:-}"
repeats=${3:-3}
command -v xmllint >/dev/null || { echo "xmllint missing (apt-get install libxml2-utils)" >&2; exit 2; }

mkdir "$work/corpus4"
for i in 1 2 3 4; do cp -r "$work/corpus" "$work/corpus4/$i"; done
# Copied files carry the time of the copy; a run does not trust times that recent.
find "$work/corpus" "$work/corpus4" -type f -exec touch -d '1 hour ago' {} +
if [[ -n "${READ_ONLY:-}" ]]; then
    [[ $(id -u) == 0 ]] && echo "note: permissions do not bind root; run READ_ONLY=1 as an ordinary user" >&2
    chmod -R a-w "$work/corpus" "$work/corpus4"
    trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
fi

# measure LABEL COMMAND...: runs the command in $wd, appends "LABEL wall peak_kb" to results.
measure() {
    local label=$1
    shift
    (cd "$wd" && XDG_DATA_HOME="$work/xdg" /usr/bin/time -f "%e %M" -o "$work/time.txt" \
        "$@" >"$work/out.txt" 2>"$work/err.txt") || {
        echo "$label failed:" >&2
        cat "$work/err.txt" >&2
        exit 2
    }
    echo "$label $(cat "$work/time.txt")" >>"$work/results.txt"
}

# change TREE ROUND: rewrites 80 documents (a comment appended), deletes 10, adds 10.
change() {
    local tree=$1 round=$2
    mapfile -t files < <(find "$tree" -type f -name '*.xml' | sort)
    local n=${#files[@]} i
    for ((i = 0; i < 80; i++)); do
        echo "<!-- geändert $round -->" >>"${files[(round * 100 + i * 7) % n]}"
    done
    for ((i = 80; i < 90; i++)); do rm -f "${files[(round * 100 + i * 7) % n]}"; done
    for ((i = 90; i < 100; i++)); do
        local source=${files[(round * 100 + i * 7) % n]}
        [[ -f "$source" ]] && cp "$source" "${source%.xml}_neu$round.xml"
    done
}

: >"$work/results.txt"
for ((round = 0; round < repeats; round++)); do
    for size in 1 4; do
        tree=$work/corpus
        [[ $size == 4 ]] && tree=$work/corpus4
        wd=$work/wd_${round}_$size
        mkdir "$wd"
        measure "xmllint_x$size" sh -c "find '$tree' -type f -name '*.xml' -print0 | xargs -0 xmllint --noout"
        measure "create_x$size" "$cli" create Bench "$tree" --yes
        measure "reindex_unchanged_x$size" "$cli" reindex Bench --yes
        if [[ -n "${READ_ONLY:-}" ]]; then
            { grep -h "übernommen" "$work/out.txt" || true; } | sed "s/^/  round $round x$size: /"
            continue
        fi
        change "$tree" "$round"
        measure "reindex_100_changes_x$size" "$cli" reindex Bench --yes
        { grep -h "übernommen" "$work/out.txt" || true; } | sed "s/^/  round $round x$size: /"
    done
done

echo "machine: $(nproc) processors, load $(cut -d' ' -f1-3 /proc/loadavg), $repeats rounds (medians)"
awk '
function median(list,   n, a, i, j, t) {
    n = split(list, a, " ")
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}
{ wall[$1] = wall[$1] " " $2; peak[$1] = peak[$1] " " $3; if (!($1 in seen)) { seen[$1] = 1; order[++count] = $1 } }
END {
    printf "%-28s %10s %12s %10s\n", "run", "wall s", "peak MB", "ratio"
    for (i = 1; i <= count; i++) {
        k = order[i]; w = median(wall[k]); m[k] = w
        ratio = ""
        if (k ~ /^create/) { x = k; sub(/create/, "xmllint", x); ratio = sprintf("%.2fx xmllint", w / m[x]) }
        if (k ~ /^reindex/) { x = k; sub(/reindex_(unchanged|100_changes)/, "create", x); ratio = sprintf("%.2fx create", w / m[x]) }
        printf "%-28s %10.2f %12.1f %10s\n", k, w, median(peak[k]) / 1024, ratio
    }
}' "$work/results.txt"
