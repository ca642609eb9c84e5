#!/usr/bin/env bash
# Times pdfzerovovor-cli against two peers on the same files with the same level
# (AES-128) and permissions, every side flushing its output to disk:
#   - MuPDF's `mutool clean -E aes-128`, run as 2 processes at once (xargs -P 2);
#   - the Debian qpdf tool, run once per file with the engine's fallback settings.
# Prints times, ratios (peer time / our time) and peak memory, then the engine's
# work alone on the big files and the probe alone. Every side starts with its
# input in the page cache: the files are read once before each timed command
# (this virtual machine's page cache loses pages between runs, which made
# whichever side ran first pay for reading from disk).
#
#   bench/bench.sh [-b BUILD_DIR] [-c CORPUS_DIR] [-L LARGE_DIR] [-n COPIES]
#                  [-d PDF_FOLDER] [-j JOBS] [-g]
#
# Sets: the sample corpus (CORPUS_DIR/sample-files, default ../shared/corpus) copied
# COPIES times (default 11: over 300 small files with real structure), and each
# large file of LARGE_DIR (built there by the corpus's make-large.sh when missing:
# merged-small, merged-objstm, merged-big, annots-30k, merged-quirky), merged-big also with one
# job. -d times only that folder. -g adds the generator's synthetic sets (300 small
# and medium files, 4 large ones). Peak memory is GNU time's maximum resident size
# of the command and the processes it waited for (for the CLI: the front end or an
# engine host, whichever was larger).
# Needs: cmake build of pdfzerovovor-cli, pdfzerovovor-engine, pz-probe-bench,
# pz-writer-paths (and pz-make-pdfs for -g); qpdf, mutool, GNU time.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$ROOT/build"
CORPUS="$ROOT/../shared/corpus"
LARGE_DIR=""
COPIES=11
FOLDER=""
JOBS=2
SYNTHETIC=0
while getopts "b:c:L:n:d:j:g" opt; do
    case "$opt" in
    b) BUILD="$OPTARG" ;;
    c) CORPUS="$OPTARG" ;;
    L) LARGE_DIR="$OPTARG" ;;
    n) COPIES="$OPTARG" ;;
    d) FOLDER="$OPTARG" ;;
    j) JOBS="$OPTARG" ;;
    g) SYNTHETIC=1 ;;
    *) sed -n 2,22p "$0"; exit 2 ;;
    esac
done

CLI="$BUILD/stage/bin/pdfzerovovor-cli"
MAKE="$BUILD/tests/bin/pz-make-pdfs"
PROBE="$BUILD/bench/bin/pz-probe-bench"
PATHS="$BUILD/bench/bin/pz-writer-paths"
for tool in "$CLI" "$PROBE" "$PATHS"; do
    [ -x "$tool" ] || { echo "missing $tool: build it first" >&2; exit 2; }
done
for tool in qpdf mutool /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done

WORK="$(mktemp -d /tmp/pz-bench-XXXXXX)"
trap 'rm -rf "$WORK"' EXIT
# The CLI logs into the documents folder; keep the user's own untouched.
export HOME="$WORK/home"
mkdir -p "$HOME"

calc() { awk "BEGIN { printf \"%.2f\", $1 }"; }
# Reads every PDF of a folder once, so the next command finds them cached.
warm() { find -L "$1" -maxdepth 1 -name '*.pdf' -exec cat {} + >/dev/null; }
# Runs a command under GNU time; leaves "seconds peak_kb" in $TIMED. A command
# that refuses some files still gets its figures.
timed() {
    /usr/bin/time -f "%e %M" -o "$WORK/time" "$@" || true
    TIMED=$(tail -1 "$WORK/time")
}

# Encrypts every PDF of $1 three ways and prints the figures under label $2;
# $3 is the CLI's job count.
compare() {
    local dir="$1" label="$2" jobs="$3"
    local files bytes mb
    files=$(find -L "$dir" -maxdepth 1 -name '*.pdf' | wc -l)
    bytes=$(find -L "$dir" -maxdepth 1 -name '*.pdf' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    mb=$(calc "$bytes / 1048576")
    local out1="$WORK/out-cli" out2="$WORK/out-qpdf" out3="$WORK/out-mutool"
    rm -rf "$out1" "$out2" "$out3"
    mkdir -p "$out1" "$out2" "$out3"
    sync

    # The CLI flushes every output before renaming it.
    warm "$dir"
    timed "$CLI" -q -j "$jobs" -o "$out1" -u user -p owner -l aes128 -a print-high,copy "$dir"
    local cli cli_kb
    read -r cli cli_kb <<<"$TIMED"
    sync

    # mutool leaves its files in the page cache: one sync at the end flushes them.
    # -P: print, high-quality print, copy and accessibility, the word the CLI writes.
    warm "$dir"
    timed sh -c 'find -L "$1" -maxdepth 1 -name "*.pdf" -print0 |
        xargs -0 -P 2 -I{} sh -c '\''mutool clean -E aes-128 -U user -O owner -P -1324 "$1" "$2/$(basename "$1")" 2>/dev/null'\'' _ {} "$2" && sync' \
        _ "$dir" "$out3"
    local mu mu_kb
    read -r mu mu_kb <<<"$TIMED"

    local t0 t1 qp
    warm "$dir"
    t0=$(date +%s.%N)
    for f in "$dir"/*.pdf; do
        b=$(basename "$f" .pdf)
        # The writer settings of the engine's fallback, so both do the same work.
        qpdf --decode-level=none --compress-streams=n --object-streams=preserve \
            --encrypt user owner 128 --use-aes=y --print=full --extract=y --modify=none \
            --annotate=n --form=n --assemble=n -- "$f" "$out2/${b}_encryption.pdf" 2>/dev/null || true
    done
    sync
    t1=$(date +%s.%N)
    qp=$(calc "$t1 - $t0")

    echo "== $label: $files files, $mb MB"
    printf '  pdfzerovovor-cli -j %s : %7.2f s  %8.1f files/s  %8.1f MB/s  peak %6.1f MB\n' \
        "$jobs" "$cli" "$(calc "$files / $cli")" "$(calc "$mb / $cli")" "$(calc "$cli_kb / 1024")"
    printf '  mutool, 2 processes  : %7.2f s  %8.1f files/s  %8.1f MB/s  peak %6.1f MB\n' \
        "$mu" "$(calc "$files / $mu")" "$(calc "$mb / $mu")" "$(calc "$mu_kb / 1024")"
    printf '  qpdf, one per file   : %7.2f s  %8.1f files/s  %8.1f MB/s\n' \
        "$qp" "$(calc "$files / $qp")" "$(calc "$mb / $qp")"
    printf '  ratio mutool/cli %.2fx   qpdf/cli %.2fx\n' "$(calc "$mu / $cli")" "$(calc "$qp / $cli")"
    [ "$(ls "$out1" | wc -l)" -eq "$files" ] || echo "  WARNING: the CLI wrote $(ls "$out1" | wc -l) of $files files"
}

probe() {
    local dir="$1"
    local result
    warm "$dir"
    # shellcheck disable=SC2046
    result=$("$PROBE" "$dir"/*.pdf)
    set -- $result
    printf '== probe only: %s files in %.3f s = %.0f files/s (%s opened)\n' "$1" "$2" \
        "$(calc "$1 / $2")" "$3"
}

# The engine host's work in one process: which writer, probe and encryption
# times, and peak memory.
host_alone() {
    local file="$1" secs kb
    cat "$file" >/dev/null
    timed "$PATHS" "$file" >/dev/null
    read -r secs kb <<<"$TIMED"
    printf '== engine work alone: %s, peak %.1f MB\n' \
        "$(head -1 < <("$PATHS" "$file"))" "$(calc "$kb / 1024")"
}

if [ -n "$FOLDER" ]; then
    compare "$FOLDER" "folder $FOLDER" "$JOBS"
    probe "$FOLDER"
    exit 0
fi

# Small real-structure files: every sample that is neither encrypted nor damaged,
# COPIES times under distinct names.
SMALLDIR="$WORK/small"
mkdir -p "$SMALLDIR"
for f in "$CORPUS"/sample-files/*.pdf; do
    qpdf --is-encrypted "$f" >/dev/null 2>&1 && continue
    qpdf --check "$f" >/dev/null 2>&1 || continue
    for ((k = 0; k < COPIES; k++)); do
        cp "$f" "$SMALLDIR/c${k}_$(basename "$f")"
    done
done
compare "$SMALLDIR" "corpus samples x $COPIES" "$JOBS"

if [ -z "$LARGE_DIR" ]; then
    LARGE_DIR="$WORK/large"
fi
if [ ! -f "$LARGE_DIR/merged-big.pdf" ]; then
    "$CORPUS/make-large.sh" "$LARGE_DIR" >/dev/null
fi
for name in merged-small merged-objstm merged-big annots-30k merged-quirky; do
    one="$WORK/one-$name"
    mkdir -p "$one"
    ln -sf "$LARGE_DIR/$name.pdf" "$one/$name.pdf"
    compare "$one" "$name.pdf" "$JOBS"
done
compare "$WORK/one-merged-big" "merged-big.pdf, one job" 1
for name in merged-big merged-objstm annots-30k merged-quirky; do
    host_alone "$LARGE_DIR/$name.pdf"
done
probe "$SMALLDIR"

if [ "$SYNTHETIC" -eq 1 ]; then
    [ -x "$MAKE" ] || { echo "missing $MAKE: build it first" >&2; exit 2; }
    SYN="$WORK/synthetic"
    mkdir -p "$SYN/small" "$SYN/medium" "$SYN/large"
    "$MAKE" "$SYN/small" 200 3
    "$MAKE" "$SYN/medium" 100 40 409600
    for f in "$SYN/medium"/*.pdf; do mv "$f" "$SYN/small/m-$(basename "$f")"; done
    "$MAKE" "$SYN/large" 4 200 $((100 * 1048576))
    compare "$SYN/small" "generated small and medium files" "$JOBS"
    compare "$SYN/large" "generated large files" "$JOBS"
fi
