#!/usr/bin/env bash
# The launcher passes desktop-file-validate (package desktop-file-utils; scripts/setup installs it).
# Exits 77, which ctest counts as skipped, only where the tool is missing.
set -euo pipefail
desktop_file=$1
command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate is missing: skipped"; exit 77; }
output=$(desktop-file-validate "$desktop_file" 2>&1) || { echo "$output"; exit 1; }
# It exits 0 on hints and deprecations too: allow none.
[ -z "$output" ] || { echo "$output"; exit 1; }
echo "$desktop_file: valid"
