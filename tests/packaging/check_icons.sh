#!/usr/bin/env bash
# The committed PNG icons are the sizes they are installed as, and were rendered from the SVG as it
# is now (packaging/render-icons records the SVG's SHA-256 when it renders them).
set -euo pipefail
packaging=$1
failed=0
# A PNG's width and height are the big-endian 32-bit numbers at bytes 16 and 20 of the file.
be32() { od -An -tu1 -j "$2" -N4 "$1" | awk '{ print (($1 * 256 + $2) * 256 + $3) * 256 + $4 }'; }
for size in 16 32 48 64 128 256; do
  png=$packaging/icons/kalvori-$size.png
  if [ ! -f "$png" ]; then echo "missing: $png"; failed=1; continue; fi
  if [ "$(od -An -tx1 -N8 "$png" | tr -d ' ')" != 89504e470d0a1a0a ]; then
    echo "not a PNG: $png"; failed=1; continue
  fi
  width=$(be32 "$png" 16) height=$(be32 "$png" 20)
  if [ "$width" != "$size" ] || [ "$height" != "$size" ]; then
    echo "$png is ${width}x$height, not ${size}x$size"; failed=1
  fi
done
recorded=$(cat "$packaging/icons/SOURCE-SHA256")
current=$(sha256sum "$packaging/kalvori.svg" | cut -d' ' -f1)
if [ "$recorded" != "$current" ]; then
  echo "kalvori.svg changed since the PNGs were rendered: run packaging/render-icons and commit them"
  failed=1
fi
[ "$failed" -eq 0 ] && echo "icons: 6 PNG sizes, rendered from the current SVG"
exit "$failed"
