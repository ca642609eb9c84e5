#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need; with
# "fuzz", what the fuzz targets need instead (clang and its libFuzzer runtime).
# Only missing packages are installed; sudo is used when not running as root.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libwxgtk3.2-dev libgtk-3-dev libqpdf-dev qpdf libcurl4-openssl-dev libexpat1-dev
    libcli11-dev libjemalloc-dev libgtest-dev libssl-dev libidn-dev libseccomp-dev
    xvfb xauth poppler-utils mupdf-tools python3 python3-pil fonts-dejavu-core imagemagick
    python3-fonttools librsvg2-bin help2man dpkg-dev gettext fonts-noto-cjk
    desktop-file-utils appstream lintian parallel
)
if [ "${1:-}" = fuzz ]; then
    packages=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
