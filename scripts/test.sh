#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (starting a virtual X
# server for the window tests when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd "${BUILD_DIR:-build}"
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2
fi
exec ctest --output-on-failure -j2
