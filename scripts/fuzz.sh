#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang, ASan + UBSan) and runs
# them side by side, each for SECONDS (default 60), from the seed corpus: the
# real-world samples of tests/data/corpus that are small enough, the test
# generator's files and tests/fuzz/seeds. Fails, naming the input, on any finding.
# What the targets learn stays in build-fuzz/corpus for the next run.
#
#   scripts/fuzz.sh [SECONDS] [scanner|one-pass|protocol ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(scanner one-pass protocol)
dir=${FUZZ_BUILD_DIR:-build-fuzz}
# Inputs above this are cut by libFuzzer, which loses their cross-reference
# section; larger seeds are left out instead.
max_len=102400

# Only the fuzz targets and the test generator are built, not the whole tree.
build=()
for t in "${targets[@]}"; do build+=(--target "pz-fuzz-$t"); done
cmake --preset fuzz -B "$dir" >/dev/null
cmake --build "$dir" -j"$(nproc)" "${build[@]}" --target pz-make-pdfs

seeds=$dir/seeds/pdf
rm -rf "$seeds" && mkdir -p "$seeds"
find tests/data/corpus -name '*.pdf' -size -"$max_len"c -exec cp {} "$seeds" \;
make_pdfs=$dir/tests/bin/pz-make-pdfs
for kind in clean repair damaged notpdf features incremental objstm linearized hybrid \
    wrong-offset wrong-length stray-hash; do
    mkdir -p "$seeds/$kind"
    "$make_pdfs" "$seeds/$kind" 1 3 0 "$kind" >/dev/null
    mv "$seeds/$kind/doc0000.pdf" "$seeds/gen-$kind.pdf" && rmdir "$seeds/$kind"
done
mkdir -p "$seeds/deep" && "$make_pdfs" "$seeds/deep" 1 200 0 deep >/dev/null &&
    mv "$seeds/deep/doc0000.pdf" "$seeds/gen-deep.pdf" && rmdir "$seeds/deep"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$dir/artifacts"
pids=()
for t in "${targets[@]}"; do
    corpus=$dir/corpus/$t
    mkdir -p "$corpus"
    case "$t" in
    protocol) options=(-dict=tests/fuzz/protocol.dict -max_len=4096) from=tests/fuzz/seeds/protocol ;;
    *) options=(-dict=tests/fuzz/pdf.dict -max_len=$max_len) from=$seeds ;;
    esac
    # The first folder takes what the run learns; the seeds are only read.
    "$dir/fuzz/bin/pz-fuzz-$t" "${options[@]}" -max_total_time="$seconds" -timeout=25 \
        -print_final_stats=1 -artifact_prefix="$dir/artifacts/$t-" "$corpus" "$from" \
        >"$dir/fuzz-$t.log" 2>&1 &
    pids+=($!)
done
failed=0
for i in "${!targets[@]}"; do
    t=${targets[$i]}
    if wait "${pids[$i]}"; then
        echo "== fuzz $t: $(grep -E '^#[0-9]+.*DONE' "$dir/fuzz-$t.log" | tail -1)"
        grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
            "$dir/fuzz-$t.log" | sed 's/^/   /'
    else
        failed=1
        echo "== fuzz $t: FOUND SOMETHING (log: $dir/fuzz-$t.log)"
        grep -E 'ERROR|SUMMARY|Test unit written|pz-fuzz' "$dir/fuzz-$t.log" | head -20
    fi
done
exit $failed
