#!/usr/bin/env bash
# The checked builds CI runs besides the normal one: the display-free programs and
# tests built with AddressSanitizer + UndefinedBehaviorSanitizer, and the batch, run
# and engine tests with ThreadSanitizer; then the formatting of every source file.
#
#   scripts/check.sh [asan] [tsan] [format]     (all three when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
steps=("$@")
[ ${#steps[@]} -eq 0 ] && steps=(asan tsan format)

display_free_tests=(core_tests batch_tests ui_run_tests update_tests pz_engine_tests
                    pz_engine_host_tests pz_cli_tests)
programs=(pdfzerovovor-cli pdfzerovovor-engine pz-fake-host pz-make-pdfs)

sanitized() { # build dir, sanitizer, test programs...
    local dir="$1" kind="$2"; shift 2
    local tests=("$@") targets=()
    for t in "${tests[@]}" "${programs[@]}"; do targets+=(--target "$t"); done
    # No -Werror here: GCC warns falsely inside libstdc++ under the sanitizers.
    # -O1 -g1 compiles in half the time of -O2 -g and still gives the sanitizers'
    # reports their function names and line numbers.
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPZ_SANITIZE="$kind" -DPZ_WERROR=OFF \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" >/dev/null
    cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
    for t in "${tests[@]}"; do
        echo "== $kind: $t"
        "$dir/tests/bin/$t" --gtest_brief=1
    done
}

for step in "${steps[@]}"; do
    started=$SECONDS
    case "$step" in
    asan)
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        sanitized build-asan address "${display_free_tests[@]}" ;;
    tsan)
        export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp
        sanitized build-tsan thread batch_tests ui_run_tests pz_engine_tests ;;
    format)
        files=$(git ls-files '*.cpp' '*.h')
        # shellcheck disable=SC2086
        clang-format --dry-run --Werror $files ;;
    *) echo "unknown step $step" >&2; exit 2 ;;
    esac
    echo "== $step: done in $((SECONDS - started)) s"
done
