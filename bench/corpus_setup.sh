# Shared start of the corpus benchmarks; source it with the script's arguments CLI and CORPUS.
# Sets cli (the vantor-xml-cli to measure), corpus, and work: a temporary folder (removed on
# exit) holding a copy of the corpus in $work/corpus and an empty working folder $work/wd.
bench_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cli=${1:-}
corpus=${2:-/usr/share/unicode/cldr/common}
if [[ -z "$cli" ]]; then
    for candidate in "$bench_dir"/../build*/src/cli/vantor-xml-cli; do
        [[ -x "$candidate" ]] && cli=$candidate && break
    done
fi
if [[ ! -x "$cli" ]]; then
    echo "vantor-xml-cli not found; pass its path as the first argument" >&2
    exit 2
fi
cli=$(realpath "$cli")  # the benchmarks run in a folder of their own
if [[ ! -d "$corpus" ]]; then
    echo "corpus $corpus missing (apt-get install unicode-cldr-core)" >&2
    exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$corpus" "$work/corpus"
mkdir "$work/wd"
