#!/bin/bash
# CPU time of the whole program while a long MP3 plays with its window idle, against gst-launch-1.0
# playbin playing the same file into the same sinks, the two side by side.
#
#   bench/playback_cpu.sh [--reps N] [--seconds S] [--settle S] [--threads] [PLAYBACK_PROBE]
#
# Each repetition starts both players at the same moment, lets them settle, then reads each
# process's CPU time (each of its threads, from /proc/PID/task/*/schedstat) at the start and the
# end of the same window of S seconds. Both play into "fakesink sync=true" sinks, so both decode
# in real time and neither needs a sound card; the program's window goes to DISPLAY's X server,
# or offscreen when DISPLAY is unset. Prints each repetition, then the medians and the ratio
# program/gst-launch.
# --threads also prints, for each repetition, the CPU time and wake-ups of every thread of both.
#
# PLAYBACK_PROBE defaults to build/bench/bench/playback_probe (cmake --build build/bench --target
# playback_probe).
set -euo pipefail

reps=3
seconds=30
settle=3
per_thread=0
probe=build/bench/bench/playback_probe
while (($#)); do
  case "$1" in
    --reps) reps=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --settle) settle=$2; shift 2 ;;
    --threads) per_thread=1; shift ;;
    -*) echo "usage: $0 [--reps N] [--seconds S] [--settle S] [--threads] [PLAYBACK_PROBE]" >&2; exit 2 ;;
    *) probe=$1; shift ;;
  esac
done
[[ -x $probe ]] || { echo "$0: no $probe; build the playback_probe target first" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Twice as long as the players run, so that neither ever reaches its end.
length=$(( (settle + seconds + 5) * 2 ))
mp3=$work/long.mp3
gst-launch-1.0 -q audiotestsrc wave=pink-noise samplesperbuffer=4410 num-buffers=$((length * 10)) \
  ! audio/x-raw,rate=44100,channels=2 ! audioconvert ! lamemp3enc target=bitrate bitrate=192 cbr=true \
  ! filesink location="$mp3"

# Each thread of the process with the CPU time it has had so far, in nanoseconds, and the times it
# has been scheduled (the first and third fields of its schedstat), one "TID NAME NS RUNS" a line.
threads() {
  local task run wait runs
  for task in /proc/"$1"/task/*; do
    read -r run wait runs <"$task/schedstat" && echo "${task##*/} $(tr ' ' _ <"$task/comm") $run $runs"
  done
}
# Each thread's share of the time between two lists: "  NAME  MS ms  RUNS runs".
per_thread_between() {
  awk 'NR == FNR { ns[$1] = $3; runs[$1] = $4; next }
       { printf "    %-18s %8.1f ms %6d runs\n", $2, ($3 - ns[$1]) / 1e6, $4 - runs[$1] }' "$1" "$2"
}
# The CPU time the process had between two lists of its threads: what each thread had since the
# first (all of it for a thread that started since). A thread that ended in between takes its time
# with it; it is named on standard error (Qt's pooled threads end after 30 s idle, at no cost).
cpu_between() {
  awk 'NR == FNR { before[$1] = $3; name[$1] = $2; next }
       { total += $3 - ($1 in before ? before[$1] : 0); delete before[$1] }
       END { for (t in before) printf "  (thread %s %s ended during the measurement)\n", t, name[t] > "/dev/stderr"
             print total }' "$1" "$2"
}
now_ns() { date +%s%N; }

printf '%-4s %22s %22s %8s\n' rep "gst-launch CPU s (%)" "program CPU s (%)" ratio
launch_s=() program_s=() ratios=()
for ((rep = 1; rep <= reps; rep++)); do
  gst-launch-1.0 -q playbin uri="file://$mp3" audio-sink="fakesink sync=true" video-sink="fakesink sync=true" \
    >/dev/null 2>&1 &
  launch=$!
  "$probe" "$mp3" $((settle + seconds + 2)) >"$work/probe.out" 2>"$work/probe.err" &
  program=$!
  pids=("$launch" "$program")

  sleep "$settle"
  t0=$(now_ns); threads "$launch" >"$work/a0"; threads "$program" >"$work/b0"
  sleep "$seconds"
  t1=$(now_ns); threads "$launch" >"$work/a1"; threads "$program" >"$work/b1"
  a=$(cpu_between "$work/a0" "$work/a1"); b=$(cpu_between "$work/b0" "$work/b1")

  kill -INT "$launch"
  wait "$launch" || true
  wait "$program" || { cat "$work/probe.err" >&2; echo "$0: the program failed" >&2; exit 1; }
  pids=()
  grep -q "at the end: playing" "$work/probe.out" ||
    { cat "$work/probe.out" >&2; echo "$0: the program was not playing at the end" >&2; exit 1; }

  awk -v rep="$rep" -v a="$a" -v b="$b" -v wall=$((t1 - t0)) 'BEGIN {
    wall /= 1e9; as = a / 1e9; bs = b / 1e9
    printf "%-4d %10.3f (%5.2f %%)   %10.3f (%5.2f %%)   %6.2f\n", rep, as, 100 * as / wall, bs, 100 * bs / wall, (as > 0 ? bs / as : 0)
  }'
  if ((per_thread)); then
    echo "  gst-launch:"; per_thread_between "$work/a0" "$work/a1"
    echo "  program:"; per_thread_between "$work/b0" "$work/b1"
  fi
  launch_s+=("$a") program_s+=("$b") ratios+=("$(awk -v a="$a" -v b="$b" 'BEGIN { print (a > 0 ? b / a : 0) }')")
done

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
awk -v a="$(median "${launch_s[@]}")" -v b="$(median "${program_s[@]}")" -v r="$(median "${ratios[@]}")" -v s="$seconds" 'BEGIN {
  printf "\nmedians over %d s: gst-launch %.3f s, program %.3f s of CPU, ratio %.2f;", s, a / 1e9, b / 1e9, (a > 0 ? b / a : 0)
  printf " median of the repetitions%s ratios %.2f (goal: at most 1.10)\n", "\047", r
}'
