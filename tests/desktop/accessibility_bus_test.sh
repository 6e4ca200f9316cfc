#!/usr/bin/env bash
# Reads the running program over the desktop accessibility bus, as a screen reader would: starts a
# D-Bus session, a virtual X display, the accessibility bus and the program, then runs
# accessibility_bus.py against it. Everything it starts it stops again.
#   accessibility_bus_test.sh PATH_TO_KALVORI
# Needs the Debian packages xvfb, dbus-daemon, at-spi2-core, python3-gi and gir1.2-atspi-2.0.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="$(realpath "$1")"

# Without the tools (scripts/setup installs them) the check cannot run: ctest reports it skipped.
for tool in dbus-run-session Xvfb /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed" >&2; exit 77; }
done
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
  { echo "skipped: python3-gi or gir1.2-atspi-2.0 is not installed" >&2; exit 77; }

# A session bus of our own, so that nothing of the caller's desktop is touched.
[ "${INSIDE_SESSION:-}" = 1 ] || INSIDE_SESSION=1 exec dbus-run-session -- "$0" "$@"

work="$(mktemp -d)"
pids=()
finish() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

# The X server picks a free display number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

/usr/libexec/at-spi-bus-launcher --launch-immediately 2>"$work/bus.log" &
pids+=($!)

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" 2>"$work/program.log" &
pids+=($!)

if ! timeout 30 /usr/bin/python3 "$here/accessibility_bus.py"; then
  echo "--- program's standard error:" >&2
  cat "$work/program.log" >&2
  exit 1
fi
