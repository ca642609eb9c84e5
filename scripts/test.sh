#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. The window tests share one
# X server (a virtual one is started when there is no display), so they run one at
# a time; the display-free tests run in parallel.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd "${BUILD_DIR:-build}"
xrun=()
if [ -z "${DISPLAY:-}" ]; then
    xrun=(xvfb-run -a -s "-screen 0 1280x1024x24")
fi
"${xrun[@]}" ctest --output-on-failure -j2 -LE gui || { echo "display-free tests failed"; exit 1; }
exec "${xrun[@]}" ctest --output-on-failure -L gui
