#!/usr/bin/env bash
# The manual page formats without a single warning from groff, and names every option that
# `kalvori --help` lists. Skipped (77) without groff.
set -euo pipefail
manpage=$1 kalvori=$2
command -v groff >/dev/null || { echo "groff is missing: the manual page is not checked"; exit 77; }
warnings=$(groff -k -man -Tutf8 -ww -z "$manpage" 2>&1)
[ -z "$warnings" ] || { echo "groff warns:"; echo "$warnings"; exit 1; }
failed=0
for option in $(env -u DISPLAY -u WAYLAND_DISPLAY "$kalvori" --help | grep -o -- '--[a-z]*' | sort -u); do
  grep -q -- "^\.B.*${option//-/\\\\-}" "$manpage" || { echo "the manual page does not name $option"; failed=1; }
done
[ "$failed" -eq 0 ] && echo "the manual page formats cleanly and names every option"
exit "$failed"
