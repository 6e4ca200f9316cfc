#!/usr/bin/env bash
# Runs Qt tests on a virtual X display, where what is drawn goes through a real X server:
#   on_screen_test.sh PATH_TO_TEST_PROGRAM GTEST_FILTER
# Skipped (exit 77) without xvfb-run; fails where the tests skip themselves for want of a display.
set -uo pipefail
for tool in xvfb-run xauth; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed" >&2; exit 77; }
done
# The X and D-Bus client libraries keep memory to the end; leaks are the leak tour's business.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
out="$(QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$1" --gtest_filter="$2" 2>&1)"
status=$?
echo "$out"
[ "$status" = 0 ] && ! grep -q '^\[  SKIPPED \]' <<<"$out"
