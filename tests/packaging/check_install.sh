#!/usr/bin/env bash
# `cmake --install` lays out a desktop program: the executable, the launcher, the icon in every size,
# the AppStream metadata and the manual page, and appstreamcli finds the launcher the metadata names.
set -euo pipefail
build=$1 prefix=$2 cmake=${3:-cmake}
rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix/usr" >/dev/null
expected=(
  usr/bin/kalvori
  usr/share/applications/kalvori.desktop
  usr/share/metainfo/io.kalvori.Kalvori.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/kalvori.svg
  usr/share/doc/kalvori/copyright
  usr/share/doc/kalvori/changelog.gz
  usr/share/man/man1/kalvori.1.gz
)
for size in 16 32 48 64 128 256; do expected+=("usr/share/icons/hicolor/${size}x$size/apps/kalvori.png"); done
failed=0
for f in "${expected[@]}"; do
  [ -f "$prefix/$f" ] || { echo "not installed: $f"; failed=1; }
done
[ -x "$prefix/usr/bin/kalvori" ] || { echo "not executable: usr/bin/kalvori"; failed=1; }
unexpected=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort | comm -13 <(printf '%s\n' "${expected[@]}" | sort) -)
[ -z "$unexpected" ] || { echo "installed but not expected:"; echo "$unexpected"; failed=1; }
[ "$failed" -eq 0 ] || exit 1
echo "installed: ${#expected[@]} files"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate-tree --no-net --explain "$prefix"
else
  echo "appstreamcli is missing: the installed tree's metadata is not checked"
fi
