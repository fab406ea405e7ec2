#!/usr/bin/env bash
# Measures how long the saver takes to end after SIGTERM, SIGINT or SIGHUP
# at the heaviest settings (10 cyclones of 200 particles, afterimages,
# scale 2) in a 1920x1080 window on Xvfb with the software renderer. Each try
# starts the saver, lets it draw for 1.5 to 3 s, sends the signal and times
# the exit; prints every try, then the median and the worst.
#   tools/termination_time.sh [BUILD_DIR] [TRIES] [RENDERER]
set -euo pipefail
build=${1:-build}
tries=${2:-12}
renderer=${3:-classic}
program="$build/src/host/swirlmote"
[[ -x $program ]] || { echo "no $program: build first" >&2; exit 1; }

source "$(dirname "$0")/xvfb_screen.sh"

signals=(TERM INT HUP)
for ((try = 0; try < tries; try++)); do
  signal=${signals[try % 3]}
  DISPLAY=$display XDG_CONFIG_HOME=$work/config SWIRLMOTE_FRAME_LOG=$work/frames.log \
    "$program" --size 1920x1080 --cyclones 10 --particles 200 --afterimages --scale 2 \
    --renderer "$renderer" 2>"$work/err" &
  saver=$!
  sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", 1.5 + 1.5 * r / 32767 }')"
  sent=$(date +%s%N)
  kill -s "$signal" $saver
  status=0
  wait $saver || status=$?
  ended=$(date +%s%N)
  given_up=$(grep -c given-up "$work/frames.log" || true)
  printf 'SIG%s: %.1f ms, status %d, frame in progress given up: %s\n' "$signal" \
    "$(((ended - sent) / 1000))e-3" "$status" "$([[ $given_up -gt 0 ]] && echo yes || echo no)"
done | tee "$work/tries"
awk '{ print $2 }' "$work/tries" | sort -g | awk '{ v[NR] = $1 }
  END { printf "median %.1f ms, worst %.1f ms of %d tries\n", (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2, v[NR], NR }'
