#!/usr/bin/env bash
# Includes point one way: desktop -> window, terminal -> photo_file -> converter, reference, player, photo -> form,
# marking.
# A file may include its own folder and any folder of a lower layer; the window and the terminal (the
# look-up answered before Qt starts) know nothing of each other, the folders below them only the
# ground, not each other, and the ground (the model and what is known of markings) includes nothing
# of ours. Includes name the folder from src/ ("player/handoff.h"): one that climbs ("../player/...")
# would slip past the check and is refused too. Prints every include that breaks this and fails if
# there is one.
set -euo pipefail
src=${1:-$(dirname "$0")/../../src}
declare -A layer=([form]=0 [marking]=0 [converter]=1 [reference]=1 [player]=1 [photo]=1 [photo_file]=2 [window]=3 [terminal]=3 [desktop]=4)
status=0
while IFS=: read -r file _ line; do
  from=${file#"$src"/}; from=${from%%/*}
  if [[ $line =~ ^[[:space:]]*#include[[:space:]]*\"(\.\./|\./) ]]; then
    echo "include by a relative path: $file: $line"
    status=1
    continue
  fi
  to=$(sed -n 's/^[[:space:]]*#include[[:space:]]*"\([^/"]*\)\/.*/\1/p' <<<"$line")
  [ -n "$to" ] && [ -n "${layer[$to]+x}" ] && [ "$to" != "$from" ] || continue
  if [ "${layer[$to]}" -ge "${layer[$from]}" ]; then
    echo "upward or sideways include: $file: $line"
    status=1
  fi
done < <(grep -rn '^[[:space:]]*#include[[:space:]]*"' "$src" --include='*.h' --include='*.cpp')
[ $status -eq 0 ] && echo "includes point one way: desktop -> window, terminal -> photo_file -> converter, reference, player, photo -> form, marking"
exit $status
