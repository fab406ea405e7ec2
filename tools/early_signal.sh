#!/usr/bin/env bash
# Sends SIGTERM to the saver at a random moment 0 to 50 ms after its start,
# in a window and with --root, on Xvfb. Each run must end by the signal
# (as the shell sees it, status 143) and print nothing: a signal during
# start-up must not break the display connection into a false report.
# Prints the runs that did otherwise, then a count for each mode.
#   tools/early_signal.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-50}
program="$build/src/host/swirlmote"
[[ -x $program ]] || { echo "no $program: build first" >&2; exit 1; }

source "$(dirname "$0")/xvfb_screen.sh"

# One mode: its arguments.
try_mode() {
  local mode="$*" by_signal=0 run delay saver status wait_exec
  for ((run = 0; run < runs; run++)); do
    delay=$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", 0.05 * r / 32767 }')
    DISPLAY=$display XDG_CONFIG_HOME=$work/config WAYLAND_DISPLAY='' XSCREENSAVER_WINDOW='' \
      "$program" "$@" 2>"$work/err" &
    saver=$!
    # The moment of the start is the program's own: a signal that reaches
    # the shell's child before it runs the program is the shell's.
    for ((wait_exec = 0; wait_exec < 10000; wait_exec++)); do
      [[ $(readlink "/proc/$saver/exe" 2>/dev/null) == */swirlmote ]] && break
    done
    sleep "$delay"
    kill -s TERM $saver
    status=0
    wait $saver || status=$?
    if ((status == 143)) && [[ ! -s $work/err ]]; then
      by_signal=$((by_signal + 1))
    else
      echo "$mode, SIGTERM after ${delay} s: status $status: $(cat "$work/err")"
    fi
  done
  echo "$mode: $by_signal of $runs ended by SIGTERM with no message"
}

try_mode --size 320x240
try_mode --root
