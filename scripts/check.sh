#!/usr/bin/env bash
# The checked builds CI runs besides the normal one, each from its preset in
# CMakePresets.json (build-asan/, build-tsan/): the display-free programs and
# tests built with AddressSanitizer + UndefinedBehaviorSanitizer, and the batch, run
# and engine tests with ThreadSanitizer; then the layering of the batch core, the
# formatting of every source file, and a minute of each fuzz target (build-fuzz/).
#
#   scripts/check.sh [asan] [tsan] [layers] [format] [fuzz]     (all when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
steps=("$@")
[ ${#steps[@]} -eq 0 ] && steps=(asan tsan layers format fuzz)

display_free_tests=(core_tests batch_tests ui_run_tests update_tests pz_engine_tests
                    pz_engine_host_tests pz_cli_tests pz_fuzz_regression_tests)
programs=(pdfzerovovor-cli pdfzerovovor-engine pz-fake-host pz-test-engine pz-make-pdfs)

sanitized() { # preset (CMakePresets.json), test programs...
    local preset="$1"; shift
    local tests=("$@") targets=()
    for t in "${tests[@]}" "${programs[@]}"; do targets+=(--target "$t"); done
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)" "${targets[@]}"
    for t in "${tests[@]}"; do
        echo "== $preset: $t"
        "build-$preset/tests/bin/$t" --gtest_brief=1
    done
}

for step in "${steps[@]}"; do
    started=$SECONDS
    case "$step" in
    asan)
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        sanitized asan "${display_free_tests[@]}" ;;
    tsan)
        export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp
        sanitized tsan batch_tests ui_run_tests pz_engine_tests ;;
    layers)
        # The batch core stays below the window: every wx symbol it needs comes from
        # wx's base libraries, and it includes no wx header of the GUI.
        cmake --preset default >/dev/null
        cmake --build --preset default --target pz_batch
        lib=build/lib/libpz_batch.a
        base=()
        for l in $(wx-config --libs base,xml); do
            case "$l" in -L*) dir=${l#-L} ;; -l*) base+=("$dir/lib${l#-l}.so") ;; esac
        done
        missing=$(comm -23 <(nm -u "$lib" | awk '{print $2}' | grep wx | sort -u) \
                           <({ nm -D --defined-only "${base[@]}" | awk '{print $3}' | sed 's/@.*//'
                               nm --defined-only "$lib" build/lib/libpz_core.a | awk '{print $3}'
                             } | sort -u))
        if [ -n "$missing" ]; then
            echo "pz_batch needs wx symbols beyond wx's base libraries:" >&2
            echo "$missing" | c++filt >&2
            exit 1
        fi
        if git grep -nE '#include <wx/(window|frame|dialog|panel|control|grid|dc|bitmap|image|menu|filedlg|msgdlg|toplevel|app)' -- batch/; then
            echo "batch/ includes wx GUI headers" >&2
            exit 1
        fi ;;
    format)
        files=$(git ls-files '*.cpp' '*.h')
        # shellcheck disable=SC2086
        clang-format --dry-run --Werror $files ;;
    fuzz)
        scripts/install-deps.sh fuzz
        scripts/fuzz.sh 60 ;;
    *) echo "unknown step $step" >&2; exit 2 ;;
    esac
    echo "== $step: done in $((SECONDS - started)) s"
done
