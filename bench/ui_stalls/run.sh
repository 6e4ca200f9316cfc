#!/bin/bash
# The stall benchmark: mounts the test file system (tests/support/slow_fs.py) in a private mount
# namespace, three times (a share that can be made slow or hang, a second one that hangs, and one
# whose reads can stall in the middle of a file), and runs each case of ui_stalls in a fresh
# process, printing the longest stall of the event loop in each (see README.md).
#
#   run.sh UI_STALLS [CASE...]     every case, or those named
#   run.sh --check UI_STALLS       the test: a few cases against coarse bounds; exit 77 (skipped)
#                                  where FUSE or a private mount namespace cannot be had
set -u
check=
if [ "${1:-}" = --check ]; then check=--check; shift; fi
bin=$(realpath "$1"); shift
here=$(dirname "$(realpath "$0")")
slowfs=$here/../../tests/support/slow_fs.py

skip() { echo "skipped: $*"; exit 77; }
python=
for p in /usr/bin/python3 python3; do
  if "$p" -c 'import fusepy' 2>/dev/null || "$p" -c 'import fuse' 2>/dev/null; then python=$p; break; fi
done

if [ -z "${KALVORI_STALLS_INSIDE:-}" ]; then
  [ "$(id -u)" = 0 ] || skip "a private mount namespace needs root"
  [ -c /dev/fuse ] || skip "no /dev/fuse on this machine"
  [ -n "$python" ] || skip "python3-fusepy is not installed"
  unshare -m --propagation private true 2>/dev/null || skip "no private mount namespace here (unshare -m)"
  KALVORI_STALLS_INSIDE=1 exec unshare -m --propagation private "$0" $check "$bin" "$@"
fi

work=$(mktemp -d /tmp/kalvori-stalls-XXXXXX)
back=$work/back share=$work/share local=$work/local control=$work/control
share2=$work/share2 control2=$work/control2 stalled=$work/stalled control3=$work/control3
mkdir -p "$back/slow" "$share" "$share2" "$stalled" "$local/plain" "$local/withlink"
"$bin" --make "$back" >/dev/null
for f in slow a b c stalling; do mkdir -p "$back/$f"; cp "$back"/*.wav "$back"/*.mid "$back/$f/"; done
for i in 1 2 3 4; do cp "$back/long.wav" "$back/stalling/stall$i.wav"; done
"$bin" --make "$local/plain" >/dev/null
cp "$local/plain/one.wav" "$local/withlink/"
ln -s "$share" "$local/withlink/nas"
: > "$control"; : > "$control2"; : > "$control3"
fs=()
# mount MOUNTPOINT CONTROL [threads]
mount_share() {
  "$python" "$slowfs" "$back" "$1" "$2" ${3:-} 2>>"$work/slow_fs.log" &
  fs+=($!)
  for _ in $(seq 50); do grep -q " $1 " /proc/self/mountinfo && break; sleep 0.1; done
  grep -q " $1 " /proc/self/mountinfo || skip "the FUSE mount failed: $(cat "$work/slow_fs.log")"
  cat "$1/one.wav" >/dev/null  # a first close, which tells the kernel that the mount has no flush
}
mount_share "$share" "$control"
mount_share "$share2" "$control2"
mount_share "$stalled" "$control3" threads

finish() {
  : > "$control"; : > "$control2"; : > "$control3"
  umount -l "$share" "$share2" "$stalled" 2>/dev/null
  kill "${fs[@]}" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT

failed=0
# run CASE LIMIT_S [CONTROL]: one case in a fresh process, killed after LIMIT_S seconds.
run() {
  local name=$1 limit=$2
  echo "${3:-}" > "$control"
  local out
  out=$(cd "$local/plain" && env KALVORI_CONTROL="$control" KALVORI_CONTROL2="$control2" KALVORI_CONTROL3="$control3" \
        QT_QPA_PLATFORM=offscreen ${registry:+GST_REGISTRY=$registry} \
        timeout -s KILL "$limit" "$bin" "$name" "$local" "$share" "$share2" "$stalled" 2>"$work/$name.err")
  local status=$? ended
  ended=$(date +%s.%N)
  : > "$control"; : > "$control2"; : > "$control3"  # releases the shares for what is still waiting on them
  if [ "$name" = close ]; then
    local closed
    closed=$(awk '/^closed-at/ {print $2}' <<<"$out")
    if [ -n "$closed" ]; then
      out="close exit $(awk -v a="$closed" -v b="$ended" 'BEGIN {printf "%.0f", (b - a) * 1000}') ms after the close"
    fi
  fi
  [ $status -eq 137 ] && out="$name did not end within ${limit} s${out:+ ($out)}"
  # In the test, a case that fails otherwise (a sanitizer's report) fails the test, and says why.
  if [ -n "$check" ] && [ $status -ne 0 ] && [ $status -ne 137 ]; then
    out="$name exited with status $status${out:+ ($out)}"
    tail -n 60 "$work/$name.err"
    failed=1
  fi
  echo "$out"
  last=$out
}
# within CASE_OUTPUT MS: whether the figure printed is at most MS
within() { awk -v ms="$2" '{ for (i = 1; i < NF; i++) if ($(i+1) == "ms" || $(i+1) == "ms,") v = $i } END { exit !(v != "" && v <= ms) }' <<<"$1"; }

if [ -n "$check" ]; then
  # Coarse bounds, to catch a hang: the window shows, the player view and the drive list answer,
  # a slow folder is entered, and closing ends the process, all with the share hung or slow.
  run start 30; within "$last" 10000 || failed=1
  run drives 30; within "$last" 500 || failed=1
  run slow-folder 30 "readdir=2"; within "$last" 500 || failed=1
  run close 30; within "$last" 2000 || failed=1
  # 600 requests on a hung share, files stuck in opening in three folders of it and of a second
  # hung share, and files stalled in the middle on a third: the threads the process took for
  # them stay within 40, no file of a hung share is shown as playing, a local file starts within a
  # second, a healthy file of the stalled folder plays, a local folder lists, and the window still
  # answers within 500 ms.
  run storms 90
  own=$(sed -n 's/.* own \([0-9-]*\);.*/\1/p' <<<"$last")
  started=$(sed -n 's/.*local file started in \([0-9]*\) ms.*/\1/p' <<<"$last")
  { [ -n "$own" ] && [ "$own" -le 40 ] && [ -n "$started" ] && [ "$started" -le 1000 ] &&
    grep -q "healthy file played" <<<"$last" && grep -q "local folder listed" <<<"$last" &&
    grep -q "no silent file shown as playing" <<<"$last" &&
    within "$last" 500; } || failed=1
  exit $failed
fi

cases=("$@")
[ ${#cases[@]} -eq 0 ] && cases=(start drives slow-folder link leave-mid clicks stalled-share first-play close memory storms)
for c in "${cases[@]}"; do
  case $c in
    slow-folder) run "$c" 60 "readdir=2" ;;
    first-play) registry=$work/registry-$RANDOM.bin run "$c" 60 ;;
    memory) run "$c" 600 ;;
    storms) run "$c" 90 ;;
    *) run "$c" 30 ;;
  esac
done
