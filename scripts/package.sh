#!/usr/bin/env bash
# Builds the Debian package of the programs into BUILD_DIR (default: build):
# BUILD_DIR/pdfzerovovor_<version>_<arch>.deb. Install it with
# apt-get install ./BUILD_DIR/pdfzerovovor_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
scripts/install-deps.sh
# Files and folders in the package get their modes from the build's umask.
umask 022
scripts/build.sh pdfzerovovor pdfzerovovor-engine pdfzerovovor-cli catalogues theme desktop_files
cd "$BUILD_DIR"
rm -f pdfzerovovor_*.deb
cpack -G DEB >/dev/null
ls "$PWD"/pdfzerovovor_*.deb
