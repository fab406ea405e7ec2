#!/usr/bin/env bash
# Measures the saver's frame pacing in a window on Xvfb at the stored
# defaults: for each frame count given (default 300 and 600), the median and
# 99th percentile of the intervals between frames, the frames that began
# more than one interval after they were due, and the CPU time per frame.
# The window is 1280x720 unless SIZE names another, such as 1920x1080.
#   [SIZE=WxH] tools/frame_pacing.sh [BUILD_DIR] [FRAMES...]
set -euo pipefail
build=${1:-build}
shift || true
counts=("$@")
size=${SIZE:-1280x720}
[[ ${#counts[@]} -eq 0 ]] && counts=(300 600)
program="$build/src/host/swirlmote"
[[ -x $program ]] || { echo "no $program: build first" >&2; exit 1; }

source "$(dirname "$0")/xvfb_screen.sh"

echo "machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
for frames in "${counts[@]}"; do
  DISPLAY=$display XDG_CONFIG_HOME=$work/config SWIRLMOTE_FRAME_LOG=$work/frames.log \
    "$program" --frames "$frames" --size "$size"
  log=$work/frames.log
  cpu=$(awk '/^# cpu/ { print $3 + $5 }' "$log")
  # Late: began more than an interval after it was due. Long: more than two
  # intervals after the frame before, a frame slot missed (the timer then
  # starts its schedule again, so that such a frame is not late as well).
  late=$(awk '/^[0-9]/ { late += ($2 - $1) / 1e6 > 1000 / 60 } END { print late + 0 }' "$log")
  long=$(awk '/^[0-9]/ { if (n++ && ($2 - last) / 1e6 > 2000 / 60) printf "%d (%.1f ms) ", n, ($2 - last) / 1e6; last = $2 }' "$log")
  awk '/^[0-9]/ { if (n++) print ($2 - last) / 1e6; last = $2 }' "$log" | sort -g >"$work/intervals"
  awk -v size="$size" -v frames="$frames" -v cpu="$cpu" -v late="$late" -v long="${long:-none}" '
    { v[NR] = $1 }
    END {
      printf "%s, %d frames: interval median %.2f ms, 99th percentile %.2f ms, max %.2f ms; %d frames began more than an interval late; frames after a missed slot: %s; CPU %.2f ms a frame\n",
        size, frames, v[int((NR + 1) / 2)], v[int(NR * 0.99 + 0.5)], v[NR], late, long, cpu * 1000 / frames
    }' "$work/intervals"
done
