#!/usr/bin/env bash
# Times pdfzerovovor-cli against the Debian qpdf tool run once per file, on the
# same files with the same level and permissions, and the probe on its own.
#
#   bench/bench.sh [-b BUILD_DIR] [-d PDF_FOLDER] [-s SMALL_COUNT] [-l LARGE_COUNT]
#                  [-m LARGE_MB] [-j JOBS]
#
# Without -d it makes two sets with the test generator: SMALL_COUNT small and
# medium files (default 300) and LARGE_COUNT big ones (default 4 of LARGE_MB = 100 MB).
# With -d it times that folder's PDF files only. Needs: cmake build of the targets
# pdfzerovovor-cli, pz-make-pdfs, pz-probe-bench; qpdf.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$ROOT/build"
FOLDER=""
SMALL=300
LARGE=4
LARGE_MB=100
JOBS="$(nproc)"
while getopts "b:d:s:l:m:j:" opt; do
    case "$opt" in
    b) BUILD="$OPTARG" ;;
    d) FOLDER="$OPTARG" ;;
    s) SMALL="$OPTARG" ;;
    l) LARGE="$OPTARG" ;;
    m) LARGE_MB="$OPTARG" ;;
    j) JOBS="$OPTARG" ;;
    *) sed -n 2,12p "$0"; exit 2 ;;
    esac
done

CLI="$BUILD/stage/bin/pdfzerovovor-cli"
MAKE="$BUILD/tests/bin/pz-make-pdfs"
PROBE="$BUILD/bench/bin/pz-probe-bench"
for tool in "$CLI" "$PROBE"; do
    [ -x "$tool" ] || { echo "missing $tool: build it first" >&2; exit 2; }
done
command -v qpdf >/dev/null || { echo "missing the qpdf tool" >&2; exit 2; }

WORK="$(mktemp -d /tmp/pz-bench-XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
# The CLI logs into the documents folder; keep the user's own untouched.
export HOME="$WORK/home"
mkdir -p "$HOME"

now() { date +%s.%N; }
calc() { awk "BEGIN { printf \"%.2f\", $1 }"; }

# Encrypts every PDF of $1 both ways and prints the figures under label $2.
compare() {
    local dir="$1" label="$2"
    local files bytes mb
    files=$(find "$dir" -maxdepth 1 -name '*.pdf' | wc -l)
    bytes=$(find "$dir" -maxdepth 1 -name '*.pdf' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    mb=$(calc "$bytes / 1048576")
    local out1="$WORK/out-cli" out2="$WORK/out-qpdf"
    rm -rf "$out1" "$out2"; mkdir -p "$out1" "$out2"
    sync

    local t0 t1 t2
    t0=$(now)
    "$CLI" -q -j "$JOBS" -o "$out1" -u user -p owner -l aes128 -a print-high,copy "$dir"
    t1=$(now)
    for f in "$dir"/*.pdf; do
        b=$(basename "$f" .pdf)
        # The writer settings the engine uses, so both sides do the same work.
        qpdf --decode-level=none --compress-streams=n --object-streams=preserve \
            --encrypt user owner 128 --use-aes=y --print=full --extract=y --modify=none \
            --annotate=n --form=n --assemble=n -- "$f" "$out2/${b}_encryption.pdf"
    done
    t2=$(now)
    # The engine flushes every output to disk before renaming it; the qpdf tool
    # leaves its files in the page cache. One sync afterwards gives the same end state.
    sync
    t3=$(now)

    local cli qp qps
    cli=$(calc "$t1 - $t0")
    qp=$(calc "$t2 - $t1")
    qps=$(calc "$t3 - $t1")
    echo "== $label: $files files, $mb MB"
    printf '  pdfzerovovor-cli -j %s : %7.2f s  %8.1f files/s  %8.1f MB/s\n' "$JOBS" "$cli" \
        "$(calc "$files / $cli")" "$(calc "$mb / $cli")"
    printf '  qpdf, one per file    : %7.2f s  %8.1f files/s  %8.1f MB/s\n' "$qp" \
        "$(calc "$files / $qp")" "$(calc "$mb / $qp")"
    printf '  qpdf loop + one sync  : %7.2f s\n' "$qps"
    printf '  ratio (qpdf time / cli time): %.2fx   (with the sync: %.2fx)\n' \
        "$(calc "$qp / $cli")" "$(calc "$qps / $cli")"
    [ "$(ls "$out1" | wc -l)" -eq "$files" ] || echo "  WARNING: the CLI wrote $(ls "$out1" | wc -l) of $files files"
}

probe() {
    local dir="$1"
    local result
    # shellcheck disable=SC2046
    result=$("$PROBE" "$dir"/*.pdf)
    set -- $result
    printf '== probe only: %s files in %.3f s = %.0f files/s (%s opened)\n' "$1" "$2" \
        "$(calc "$1 / $2")" "$3"
}

if [ -n "$FOLDER" ]; then
    compare "$FOLDER" "folder $FOLDER"
    probe "$FOLDER"
    exit 0
fi

[ -x "$MAKE" ] || { echo "missing $MAKE: build it first" >&2; exit 2; }
SMALLDIR="$WORK/small"
LARGEDIR="$WORK/large"
mkdir -p "$SMALLDIR" "$LARGEDIR"
# Small and medium: two thirds of 1-5 page files, one third of 40-page files with
# a 400 KB image.
n_small=$((SMALL * 2 / 3))
n_medium=$((SMALL - n_small))
"$MAKE" "$SMALLDIR" "$n_small" 3
mkdir -p "$WORK/medium"
"$MAKE" "$WORK/medium" "$n_medium" 40 409600
for f in "$WORK/medium"/*.pdf; do mv "$f" "$SMALLDIR/m-$(basename "$f")"; done
"$MAKE" "$LARGEDIR" "$LARGE" 200 $((LARGE_MB * 1048576))

compare "$SMALLDIR" "small and medium files"
compare "$LARGEDIR" "large files"
probe "$SMALLDIR"
