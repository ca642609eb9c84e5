#!/usr/bin/env bash
# The checked builds CI runs besides the normal one: the display-free programs and
# tests built with AddressSanitizer + UndefinedBehaviorSanitizer, and the batch and
# engine tests with ThreadSanitizer; then the formatting of every source file.
#
#   scripts/check.sh [asan] [tsan] [format]     (all three when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
steps=("$@")
[ ${#steps[@]} -eq 0 ] && steps=(asan tsan format)

display_free=(core_tests batch_tests update_tests pz_engine_tests pz_cli_tests
              pdfzerovovor-cli pdfzerovovor-engine pz-fake-host pz-make-pdfs)

sanitized() { # build dir, sanitizer, targets..., then ctest arguments after --
    local dir="$1" kind="$2"; shift 2
    local targets=() args=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do targets+=(--target "$1"); shift; done
    [ $# -gt 0 ] && shift
    args=("$@")
    # No -Werror here: GCC warns falsely inside libstdc++ under the sanitizers.
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPZ_SANITIZE="$kind" -DPZ_WERROR=OFF >/dev/null
    cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
    (cd "$dir" && ctest --output-on-failure -j2 -LE gui "${args[@]}")
}

for step in "${steps[@]}"; do
    case "$step" in
    asan)
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp
        sanitized build-asan address "${display_free[@]}" ;;
    tsan)
        export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
        sanitized build-tsan thread batch_tests pz_engine_tests pdfzerovovor-engine \
                  pz-fake-host pz-make-pdfs -- -R '^(BatchRun|EncryptionJob|Events|RunState|FakeHost|Isolation|Probe|Encrypt|HostChannel|HostProtocol|JobEventSink|CellRender|Progress)' ;;
    format)
        files=$(git ls-files '*.cpp' '*.h')
        # shellcheck disable=SC2086
        clang-format --dry-run --Werror $files ;;
    *) echo "unknown step $step" >&2; exit 2 ;;
    esac
done
