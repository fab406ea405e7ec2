#!/usr/bin/env bash
# What the saver costs while nobody sees it, beside what it costs while seen:
# CPU seconds of its process (user and system, from /proc, llvmpipe's threads
# included) over PERIOD seconds (default 10) in each state, and the frames the
# frame log has for that period, each group of states measured in one run:
#   - a 640x480 window on Xvfb: visible, covered by a full-screen xlogo, and
#     unmapped (xdotool);
#   - `--background` on a headless sway with two outputs (OUTPUTS, default
#     "640x360 400x300"): both seen, the first covered by a full-screen
#     window, both covered; draws count each output a frame was drawn on;
#   - a 640x360 window on sway: seen, and under a full-screen window.
# The covering windows on sway are the program's own, drawing one frame every
# 5 s. Each figure is also given as a share of the group's first, and once
# a cover has gone, how long it took until a frame was drawn on every output
# again. Defaults, not the stored settings.
#   [PERIOD=s] [OUTPUTS="WxH WxH"] tools/hidden_cost.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
period=${PERIOD:-10}
read -r first_output second_output <<<"${OUTPUTS:-640x360 400x300}"
program="$build/src/host/swirlmote"
[[ -x $program ]] || { echo "no $program: build first" >&2; exit 1; }
for needed in Xvfb xlogo xdotool xwininfo sway swaymsg perl; do
  command -v "$needed" >/dev/null || { echo "$needed is missing: install it first" >&2; exit 1; }
done
if ((EUID == 0)); then
  command -v setpriv >/dev/null || { echo "setpriv is missing: install it first" >&2; exit 1; }
fi

# shellcheck source=tools/xvfb_screen.sh
source "$(dirname "$0")/xvfb_screen.sh"
started=()
cleanup() {
  for pid in "${started[@]}" "$server"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# Cleaned up, then ended by the signal itself, as its caller expects; the
# signal's name is put in now, once for each.
for signal in INT TERM HUP; do
  # shellcheck disable=SC2064
  trap "trap - EXIT $signal; cleanup; kill -$signal \$\$" "$signal"
done
mkdir -p "$work/config"
export XDG_CONFIG_HOME=$work/config
saver_args=(--seed 3 --no-stored-settings)
clock_tick=$(getconf CLK_TCK)

now_ns() { perl -MTime::HiRes=clock_gettime,CLOCK_MONOTONIC -e 'printf "%.0f\n", clock_gettime(CLOCK_MONOTONIC) * 1e9'; }
# utime and stime are the 14th and 15th fields; the name before them may
# hold spaces, so they are counted from its closing parenthesis.
cpu_seconds() { awk -v tick="$clock_tick" '{ sub(/.*\) /, ""); print ($12 + $13) / tick }' "/proc/$1/stat"; }
wait_for() {
  local what=$1
  shift
  for _ in $(seq 300); do "$@" && return; sleep 0.1; done
  echo "gave up waiting for $what" >&2
  exit 1
}
start() {
  "$@" &
  started+=($!)
}
# Ends a process of ours, waits for it and forgets it.
finish() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
  local pid left=()
  for pid in "${started[@]}"; do [[ $pid == "$1" ]] || left+=("$pid"); done
  started=("${left[@]}")
}

# Measures one state of the process: "label from_ns to_ns cpu_s" into the
# group's list.
measure() {
  local from to before after
  from=$(now_ns)
  before=$(cpu_seconds "$2")
  sleep "$period"
  after=$(cpu_seconds "$2")
  to=$(now_ns)
  echo "$1 $from $to $(awk -v a="$after" -v b="$before" 'BEGIN { print a - b }')" >>"$work/periods"
}

# Notes the moment a cover has gone, once its process has ended: the report
# gives the time from then to the next frame drawn on every output.
cover_gone() { echo "$1 $(now_ns)" >>"$work/gone"; }

# Prints the group's states from its list and the frame log the saver wrote
# as it ended; with "draws", the surfaces drawn as well. outputs: how many
# surfaces a frame after a cover has gone must be drawn on.
report() {
  [[ -s $work/frames.log ]] || { echo "the saver wrote no frame log" >&2; exit 1; }
  awk -v draws="${1:-}" 'FNR == NR { label[++n] = $1; from[n] = $2; to[n] = $3; cpu[n] = $4; next }
    /^[0-9]/ { for (i = 1; i <= n; ++i) if ($2 >= from[i] && $2 < to[i]) { ++frames[i]; drawn[i] += $4 } }
    END {
      for (i = 1; i <= n; ++i) {
        share = cpu[1] > 0 ? 100 * cpu[i] / cpu[1] : 0
        printf "  %-14s %6.2f s CPU %6.1f %% %6d frames", label[i], cpu[i], share, frames[i]
        if (draws) printf " %6d draws", drawn[i]
        printf "\n"
      }
    }' "$work/periods" "$work/frames.log"
  awk -v want="${outputs:-1}" 'FNR == NR { label[++n] = $1; at[n] = $2; next }
    /^[0-9]/ { for (i = 1; i <= n; ++i) if (!(i in first) && $2 >= at[i] && $4 >= want) first[i] = $2 }
    END {
      for (i = 1; i <= n; ++i) {
        if (i in first) printf "  %s: the next full frame began %.1f ms after the cover had gone\n", label[i], (first[i] - at[i]) / 1e6
        else printf "  %s: no full frame after the cover had gone\n", label[i]
      }
    }' "$work/gone" "$work/frames.log"
  rm -f "$work/periods" "$work/frames.log" "$work/gone"
}

x_window_named() {
  DISPLAY=$display xwininfo -root -tree | awk -v want="\"$1\":" '$2 == want { print $1; exit }'
}
x_window_exists() { [[ -n $(x_window_named "$1") ]]; }

echo "machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "CPU over $period s in each state, and the share of the first state of each group"

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "X11: a 640x480 window on Xvfb"
start env DISPLAY="$display" WAYLAND_DISPLAY= XSCREENSAVER_WINDOW= SWIRLMOTE_FRAME_LOG="$work/frames.log" \
  "$program" --size 640x480 "${saver_args[@]}" 2>"$work/saver.err"
saver=$!
wait_for "the saver's window" x_window_exists Swirlmote
window=$(x_window_named Swirlmote)
# Past the first frames, which also build the renderer's code.
sleep 2
measure visible "$saver"
# With no window manager the cover lies where it asks to: over the screen.
start env DISPLAY="$display" xlogo -geometry 1920x1080+0+0 2>/dev/null
cover=$!
wait_for "xlogo's window" x_window_exists xlogo
sleep 0.5
measure covered "$saver"
finish "$cover"
cover_gone uncovered
sleep 2
DISPLAY=$display xdotool windowunmap --sync "$window"
sleep 0.5
measure unmapped "$saver"
finish "$saver"
report

# sway refuses to run as root: then it runs as "nobody", in a runtime folder
# of its own that only it may enter, and the clients, as root, use its
# socket.
runtime=$work/runtime
start_sway() {
  mkdir "$runtime"
  printf '%s\n' "$@" >"$work/sway.conf"
  local as_user=()
  if ((EUID == 0)); then
    chmod 711 "$work"
    chown 65534:65534 "$runtime"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --pdeathsig=TERM)
  fi
  chmod 700 "$runtime"
  start "${as_user[@]}" env -i HOME="$runtime" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS="$outputs" \
    sway -c "$work/sway.conf" 2>"$work/sway.log"
  sway=$!
  wait_for "sway's socket" sway_ready
  export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-1 DISPLAY='' XSCREENSAVER_WINDOW=''
  SWAYSOCK=$(compgen -G "$runtime/sway-ipc.*.sock")
  export SWAYSOCK
}
sway_ready() { compgen -G "$runtime/sway-ipc.*.sock" >/dev/null; }
stop_sway() {
  finish "$sway"
  rm -rf "$runtime"
}
saver_windows() { swaymsg -t get_tree | grep -c '"name": "Swirlmote"' || true; }
has_saver_windows() { [[ $(saver_windows) -eq $1 ]]; }
# A window of the program's own that draws a frame every 5 s, so that it
# takes next to no CPU from the saver measured; the program's windows are
# then the only ones in sway's tree, and those that are not full screen yet
# are made so when the wallpaper is measured.
start_cover() {
  start "$program" "$@" --delay 5000000 "${saver_args[@]}" 2>>"$work/cover.err"
  cover=$!
  wait_for "the covering window" has_saver_windows "$covered_windows"
  [[ -z ${make_full_screen:-} ]] || swaymsg '[title="^Swirlmote$"] fullscreen enable' >/dev/null
  sleep 1
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Wayland: --background on sway, outputs $first_output and $second_output"
outputs=2
start_sway "default_border none" "output HEADLESS-1 resolution $first_output position 0 0" \
  "output HEADLESS-2 resolution $second_output position ${first_output%x*} 0"
start env SWIRLMOTE_FRAME_LOG="$work/frames.log" "$program" --background "${saver_args[@]}" 2>"$work/saver.err"
saver=$!
# A layer surface is no window in sway's tree: the wallpaper is given time
# to show on both outputs.
sleep 3
measure both-seen "$saver"
swaymsg focus output HEADLESS-1 >/dev/null
make_full_screen=yes
covered_windows=1
start_cover --size 320x240
measure first-covered "$saver"
finish "$cover"
covered_windows=2
start_cover --fullscreen
measure both-covered "$saver"
finish "$cover"
cover_gone both-uncovered
sleep 1
finish "$saver"
stop_sway
report draws

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Wayland: a 640x360 window on sway"
outputs=1
make_full_screen=
start_sway "output HEADLESS-1 resolution 640x360"
start env SWIRLMOTE_FRAME_LOG="$work/frames.log" "$program" --size 640x360 "${saver_args[@]}" 2>"$work/saver.err"
saver=$!
covered_windows=1
wait_for "the saver's window" has_saver_windows 1
sleep 2
measure seen "$saver"
covered_windows=2
start_cover --fullscreen
measure covered "$saver"
finish "$cover"
cover_gone uncovered
sleep 1
finish "$saver"
stop_sway
report
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
