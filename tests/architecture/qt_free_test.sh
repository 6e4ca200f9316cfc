#!/usr/bin/env bash
# The layers below the desktop (the model, what is known of markings, the handlers, the workers,
# the media device) use no Qt: programs built from them alone load no Qt library. Given those
# programs, fails naming any that does.
set -euo pipefail
status=0
for program in "$@"; do
  if qt=$(ldd "$program" | grep -o 'libQt[^ ]*' | sort -u | tr '\n' ' ') && [ -n "$qt" ]; then
    echo "$(basename "$program") loads Qt: $qt"
    status=1
  fi
done
[ $status -eq 0 ] && echo "no Qt in: $(for p in "$@"; do basename "$p"; done | tr '\n' ' ')"
exit $status
