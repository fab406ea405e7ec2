#!/usr/bin/env bash
# What showing a frame in a window costs over drawing it headless: at each
# size (default 1280x720 and 1920x1080) the saver draws FRAMES frames
# (default 300) in a window on Xvfb and `render` draws the same frames
# headless, alternating, RUNS times each (default 3). Prints each run, then
# the medians side by side: CPU per frame of the whole process (user and
# system, llvmpipe's threads included, not Xvfb's), their ratio, and the
# window's 99th percentile frame interval. Both start from the defaults
# with the same seed, so they draw the same frames.
#   [RUNS=n] [FRAMES=n] tools/present_cost.sh [BUILD_DIR] [WxH...]
set -euo pipefail
build=${1:-build}
shift || true
sizes=("$@")
[[ ${#sizes[@]} -eq 0 ]] && sizes=(1280x720 1920x1080)
runs=${RUNS:-3}
frames=${FRAMES:-300}
program="$build/src/host/swirlmote"
[[ -x $program ]] || { echo "no $program: build first" >&2; exit 1; }

source "$(dirname "$0")/xvfb_screen.sh"
mkdir -p "$work/config"
export XDG_CONFIG_HOME=$work/config

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for size in "${sizes[@]}"; do
  : >"$work/window" && : >"$work/headless" && : >"$work/p99"
  for run in $(seq "$runs"); do
    DISPLAY=$display SWIRLMOTE_FRAME_LOG=$work/frames.log \
      "$program" --frames "$frames" --size "$size" --seed 3 --no-stored-settings 2>/dev/null
    awk -v f="$frames" '/^# cpu/ { print ($3 + $5) * 1000 / f }' "$work/frames.log" >>"$work/window"
    awk '/^[0-9]/ { if (n++) print ($2 - last) / 1e6; last = $2 }' "$work/frames.log" | sort -g |
      awk '{ v[NR] = $1 } END { print v[int(NR * 0.99 + 0.5)] }' >>"$work/p99"
    rm -rf "$work/out"
    /usr/bin/time -f "%U %S" -o "$work/time" "$program" render --frames "$frames" --every "$frames" --size "$size" \
      --seed 3 --no-stored-settings --out "$work/out" >/dev/null 2>&1
    awk -v f="$frames" '{ print ($1 + $2) * 1000 / f }' "$work/time" >>"$work/headless"
    printf '  %s run %d: window %.2f ms, headless %.2f ms a frame, p99 interval %.1f ms (load %s)\n' "$size" "$run" \
      "$(tail -1 "$work/window")" "$(tail -1 "$work/headless")" "$(tail -1 "$work/p99")" \
      "$(cut -d' ' -f1 /proc/loadavg)"
  done
  window=$(median <"$work/window")
  headless=$(median <"$work/headless")
  p99=$(median <"$work/p99")
  awk -v s="$size" -v w="$window" -v h="$headless" -v p="$p99" -v r="$runs" 'BEGIN {
    printf "%s, medians of %d: window %.2f ms, headless %.2f ms of CPU a frame, ratio %.2f; window p99 interval %.1f ms\n",
      s, r, w, h, w / h, p }'
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
