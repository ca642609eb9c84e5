#!/usr/bin/env bash
# Validates the desktop entry and the AppStream metadata with the desktop's own
# tools. A hint from desktop-file-validate counts as a failure too. Exit 77 (the
# test is skipped) when neither tool is installed.
set -u
desktop=$1
metainfo=$2
ran=0
failed=0
if command -v desktop-file-validate >/dev/null; then
    ran=1
    report=$(desktop-file-validate "$desktop" 2>&1)
    if [ $? -ne 0 ] || [ -n "$report" ]; then
        echo "desktop-file-validate: $report"
        failed=1
    fi
fi
if command -v appstreamcli >/dev/null; then
    ran=1
    appstreamcli validate --no-net --explain "$metainfo" || failed=1
fi
[ $ran -eq 0 ] && { echo "neither desktop-file-validate nor appstreamcli is installed"; exit 77; }
exit $failed
