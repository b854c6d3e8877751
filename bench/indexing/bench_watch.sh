#!/bin/bash
# Watcher benchmark: `vantor-xml-cli watch` over a copy of a real XML corpus (the Unicode CLDR
# files of Debian's unicode-cldr-core package by default), once as it is and once copied four
# times. Under the running watcher it edits documents (a new word), deletes them, and adds
# documents in newly made folders, one change at a time, and measures the time from the change
# until a `search` process finds the word (or no longer finds it). Then it takes the watcher's
# processor time over 20 idle seconds and its memory, ends it with SIGTERM, and compares the
# database files it left with those of a fresh create over the same tree.
# Usage: bench_watch.sh [CLI] [CORPUS] [CHANGES]
#   CHANGES  changes of each kind per tree (default 10)
#   SIZES    the copies of the corpus to measure (default "1 4")
# The copies are real copies (about 1 GB for CLDR x4), so that an edit changes one document only;
# everything is removed at the end. Other work on the machine disturbs the times: note the load.
set -euo pipefail

source "$(dirname "$0")/../corpus_setup.sh" "${1:-}" "${2:-}"
changes=${3:-10}
watcher=
trap '[[ -n $watcher ]] && kill -KILL $watcher 2>/dev/null; rm -rf "$work"' EXIT

# The shell's clock with a decimal point whatever the user's locale.
LC_NUMERIC=C
now() { echo "$EPOCHREALTIME"; }
# A pipe nothing is written to: reading it with a time limit is a pause without a process.
exec {sleeper}<> <(:)
# await CONDITION...: prints the seconds from $start until the condition holds (at most 60 s).
# The condition is a search, which costs a process: it is asked at once, then each time an update
# has put a new database file in place, which the shell's own test sees (every 20 ms) as a file
# other than the one linked to before the search, and at least every half second. Searching back
# to back instead would keep one processor of a small machine busy and slow down the very update
# it waits for.
await() {
    local database=$run/wd/Datenbank/Bench.dat seen=$run/seen limit=$((${start%.*} + 60)) i
    while ln -f "$database" "$seen" && ! "$@"; do
        for ((i = 0; i < 25; i++)); do
            [[ $database -ef $seen ]] || break
            read -rt 0.02 -u "$sleeper" || :
            if ((${EPOCHREALTIME%.*} > limit)); then
                echo "timeout: $*" >&2
                tail -5 "$run/watch.log" >&2
                exit 2
            fi
        done
    done
    awk -v t="$start" -v n="$EPOCHREALTIME" 'BEGIN { printf "%.3f\n", n - t }'
}
cli_in() { (cd "$1" && shift && XDG_DATA_HOME="$work/xdg" "$cli" "$@"); }
finds() { cli_in "$run/wd" search Bench "$1" --paths 2>/dev/null | grep -qF "$2"; }
finds_none() {
    local status=0
    cli_in "$run/wd" search Bench "$1" >/dev/null 2>&1 || status=$?
    ((status == 1))
}
# The word as an element before the root's end tag (the corpus's last line).
with_word() { sed "\$ s|</\\([A-Za-z]*\\)>[[:space:]]*\$|<vxbench>$1</vxbench></\\1>|"; }
# Processor time of the watcher and of the updates it ran, in clock ticks.
ticks() { awk '{ print $14 + $15 + $16 + $17 }' "/proc/$watcher/stat"; }

: >"$work/results.txt"
: >"$work/summary.txt"
for size in ${SIZES:-1 4}; do
    run=$work/x$size
    tree=$run/tree
    mkdir -p "$tree" "$run/wd" "$run/fresh"
    for ((i = 1; i <= size; i++)); do cp -r "$work/corpus" "$tree/$i"; done
    # Copied files carry the time of the copy; a run does not trust times that recent.
    find "$tree" -type f -exec touch -d '1 hour ago' {} +
    cli_in "$run/wd" create Bench "$tree" --yes >/dev/null 2>&1

    (cd "$run/wd" && XDG_DATA_HOME="$work/xdg" exec "$cli" watch Bench >"$run/watch.log" 2>&1) &
    watcher=$!
    start=$(now)
    await grep -q "Bench aktualisiert in" "$run/watch.log" >/dev/null

    mapfile -t documents < <(find "$tree" -type f -name '*.xml' | sort)
    count=${#documents[@]}
    busy=$(ticks)
    for ((i = 0; i < changes; i++)); do
        word="vxwatch${i}edit"
        document=${documents[(i * 397 + 11) % count]}
        with_word "$word" <"$document" >"$run/edited.xml"
        cat "$run/edited.xml" >"$document"
        start=$(now)
        echo "x$size edit $(await finds "$word" "$document")" >>"$work/results.txt"

        rm "$document"
        start=$(now)
        echo "x$size delete $(await finds_none "$word")" >>"$work/results.txt"

        folder=$tree/neu$i/unter
        mkdir -p "$folder"
        with_word "vxwatch${i}new" <"${documents[(i * 211 + 5) % count]}" >"$folder/neu.xml"
        start=$(now)
        echo "x$size new_folder $(await finds "vxwatch${i}new" "$folder/neu.xml")" \
            >>"$work/results.txt"
    done

    busy=$(($(ticks) - busy))
    sleep 2
    before=$(ticks)
    sleep 20
    idle=$(echo "scale=2; ($(ticks) - $before) / $(getconf CLK_TCK)" | bc)
    rss=$(awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$watcher/status")
    # How long the updates took (the first one catches up at the start), and their processor
    # time, which the load of the machine disturbs less.
    updates=$(grep -o "aktualisiert in [0-9]*,[0-9] s" "$run/watch.log" | tr ',' '.' |
        awk '{ t[++n] = $3 }
             END { for (i = 2; i <= n; i++) { s += t[i]; if (t[i] > m) m = t[i] }
                   a = n > 1 ? s / (n - 1) : 0
                   printf "%d updates after the first: %.2f s on average, at most %.1f s", n - 1, a, m }')
    cpu=$(echo "scale=2; $busy / $(getconf CLK_TCK) / ($(grep -c "aktualisiert in" "$run/watch.log") - 1)" | bc)

    kill -TERM $watcher
    status=0
    wait $watcher || status=$?
    watcher=

    cli_in "$run/fresh" create Bench "$tree" --yes >/dev/null 2>&1
    same=yes
    for file in Bench.dat Bench_ansi.txt Bench_unicode.txt; do
        cmp -s "$run/wd/Datenbank/$file" "$run/fresh/Datenbank/$file" || same="no ($file)"
    done
    diff -rq "$run/wd/XML_Texte" "$run/fresh/XML_Texte" >/dev/null || same="no (text copies)"
    {
        echo "x$size: $count documents; $updates, processor $cpu s each"
        echo "x$size: idle 20 s: processor $idle s, memory $rss MB; exit status after SIGTERM" \
            "$status; database files equal a fresh create: $same"
    } >>"$work/summary.txt"
    rm -rf "$run"
done

echo "machine: $(nproc) processors, load $(cut -d' ' -f1-3 /proc/loadavg); $changes changes" \
    "of each kind, one at a time"
awk '
function sort(a, n,   i, j, t) { for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t } }
{ k = $1 " " $2; n[k]++; v[k, n[k]] = $3; if (!(k in seen)) { seen[k] = 1; order[++kinds] = k } }
END {
    printf "%-16s %10s %10s %10s %10s\n", "change", "median s", "max s", "over 3 s", "over 10 s"
    for (j = 1; j <= kinds; j++) {
        k = order[j]; m = n[k]; over3 = 0; over10 = 0
        for (i = 1; i <= m; i++) { a[i] = v[k, i]; over3 += a[i] > 3; over10 += a[i] > 10 }
        sort(a, m)
        median = m % 2 ? a[(m + 1) / 2] : (a[m / 2] + a[m / 2 + 1]) / 2
        printf "%-16s %10.2f %10.2f %10d %10d\n", k, median, a[m], over3, over10
    }
}' "$work/results.txt"
cat "$work/summary.txt"
