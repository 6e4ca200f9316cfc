#!/usr/bin/env bash
# The version in project() (which the .deb takes) is the newest release in the AppStream metadata,
# the newest entry of the Debian changelog and the one the manual page's footer names.
set -euo pipefail
version=$1 metainfo=$2 changelog=$3 manpage=$4
release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n1 | cut -d'"' -f2)
entry=$(head -n1 "$changelog" | sed -n 's/^kalvori (\([^)]*\)).*/\1/p')
manual=$(sed -n 's/^\.TH KALVORI 1 [^ ]* "Kalvori \([^"]*\)".*/\1/p' "$manpage")
failed=0
[ "$release" = "$version" ] || { echo "metainfo's newest release is '$release', project() says $version"; failed=1; }
[ "$entry" = "$version" ] || { echo "the changelog's newest entry is '$entry', project() says $version"; failed=1; }
[ "$manual" = "$version" ] || { echo "the manual page names version '$manual', project() says $version"; failed=1; }
[ "$failed" -eq 0 ] && echo "version $version everywhere"
exit "$failed"
