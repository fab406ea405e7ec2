#!/usr/bin/env bash
# What showing a frame in a window costs over drawing it headless: at each
# size (default 1280x720 and 1920x1080) the saver draws FRAMES frames
# (default 300) in a window on Xvfb, and `render` draws the same frames
# headless twice, at the window's pace (--paced) and one after another, in
# turn, RUNS times each (default 5). Prints each round, then the medians
# side by side: CPU per frame of the whole process (user and system,
# llvmpipe's threads included, not Xvfb's), the window's ratio to each
# headless figure (the median of each round's ratio, so that a spell of load
# elsewhere falls on both sides of it), and the window's 99th percentile
# frame interval. All start from the defaults with the same seed, so they
# draw the same frames.
#   [RUNS=n] [FRAMES=n] tools/present_cost.sh [BUILD_DIR] [WxH...]
set -euo pipefail
build=${1:-build}
shift || true
sizes=("$@")
[[ ${#sizes[@]} -eq 0 ]] && sizes=(1280x720 1920x1080)
runs=${RUNS:-5}
frames=${FRAMES:-300}
program="$build/src/host/swirlmote"
[[ -x $program ]] || { echo "no $program: build first" >&2; exit 1; }

# shellcheck source=tools/xvfb_screen.sh
source "$(dirname "$0")/xvfb_screen.sh"
mkdir -p "$work/config"
export XDG_CONFIG_HOME=$work/config
common=(--frames "$frames" --seed 3 --no-stored-settings)

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# CPU milliseconds a frame of `render` with these options.
headless() {
  rm -rf "$work/out"
  /usr/bin/time -f "%U %S" -o "$work/time" "$program" render "${common[@]}" --every "$frames" --out "$work/out" \
    "$@" >/dev/null 2>&1
  awk -v f="$frames" '{ print ($1 + $2) * 1000 / f }' "$work/time"
}

echo "machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for size in "${sizes[@]}"; do
  : >"$work/rounds"
  for run in $(seq "$runs"); do
    DISPLAY=$display SWIRLMOTE_FRAME_LOG=$work/frames.log "$program" "${common[@]}" --size "$size" 2>/dev/null
    window=$(awk -v f="$frames" '/^# cpu/ { print ($3 + $5) * 1000 / f }' "$work/frames.log")
    p99=$(awk '/^[0-9]/ { if (n++) print ($2 - last) / 1e6; last = $2 }' "$work/frames.log" | sort -g |
      awk '{ v[NR] = $1 } END { print v[int(NR * 0.99 + 0.5)] }')
    paced=$(headless --size "$size" --paced)
    unpaced=$(headless --size "$size")
    echo "$window $paced $unpaced $p99" >>"$work/rounds"
    printf '  %s run %d: window %.2f ms, headless paced %.2f ms, unpaced %.2f ms a frame; p99 interval %.1f ms (load %s)\n' \
      "$size" "$run" "$window" "$paced" "$unpaced" "$p99" "$(cut -d' ' -f1 /proc/loadavg)"
  done
  column() { awk -v c="$1" '{ print $c }' "$work/rounds" | median; }
  ratio() { awk -v c="$1" '{ print $1 / $c }' "$work/rounds" | median; }
  printf '%s, medians of %d: window %.2f ms, headless %.2f ms paced and %.2f ms unpaced a frame; window/paced %.2f, window/unpaced %.2f; window p99 interval %.1f ms\n' \
    "$size" "$runs" "$(column 1)" "$(column 2)" "$(column 3)" "$(ratio 2)" "$(ratio 3)" "$(column 4)"
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
