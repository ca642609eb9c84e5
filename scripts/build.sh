#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default: build); arguments name the targets
# to build (all of them when none is given). The program lands in
# BUILD_DIR/stage/bin with its theme and option file beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
      -DPZ_WERROR=${PZ_WERROR:-OFF} >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$BUILD_DIR" -j"$(nproc)" "${targets[@]}"
