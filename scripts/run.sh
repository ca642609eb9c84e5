#!/usr/bin/env bash
# Installs what is missing, builds and starts Brisklowan PDF Zerovovor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh pdfzerovovor pdfzerovovor-engine pdfzerovovor-cli theme
exec "${BUILD_DIR:-build}/stage/bin/pdfzerovovor"
