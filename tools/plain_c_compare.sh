#!/usr/bin/env bash
# Times `swirlmote simulate` against the straightforward field in plain C
# (bench/plain_c/plain_field.c, compiled here with cc -O2), side by side:
# the runs alternate so that load elsewhere falls on both alike. Both must
# print the same JSON; the user CPU of each run is reported, then the
# medians and their ratio.
#   tools/plain_c_compare.sh [runs (default 5)] [frames (default 20000)]
# Settings: 10 cyclones of 200 particles with afterimages, seed 3, from a
# store of its own. BUILD_DIR (default build-bench) and JOBS (default the
# core count) choose where and how wide swirlmote is built.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
frames=${2:-20000}
build=${BUILD_DIR:-build-bench}
jobs=${JOBS:-$(nproc)}

tools/install-packages.sh bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs" --target swirlmote >/dev/null
swirlmote=$build/src/host/swirlmote

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cc -std=c11 -O2 -ffp-contract=off -D_DEFAULT_SOURCE -o "$work/plain_field" bench/plain_c/plain_field.c -lm
export XDG_CONFIG_HOME=$work/config
"$swirlmote" config set "number of cyclones" 10
"$swirlmote" config set "number of particles" 200
"$swirlmote" config set "show afterimage" 1
"$swirlmote" config set "particle color mode" 0

# User CPU seconds of a command, its output kept in the named file.
user_cpu() {
  local out=$1
  shift
  /usr/bin/time -f %U -o "$work/time" "$@" >"$out"
  cat "$work/time"
}

echo "CPU:   $(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "Load:  $(cut -d' ' -f1-3 /proc/loadavg)"
ours=()
plain=()
for ((run = 1; run <= runs; ++run)); do
  ours+=("$(user_cpu "$work/ours.json" "$swirlmote" simulate --seed 3 --frames "$frames")")
  plain+=("$(user_cpu "$work/plain.json" "$work/plain_field" 3 "$frames" 10 200 1)")
  if ! cmp -s "$work/ours.json" "$work/plain.json"; then
    echo "the outputs differ" >&2
    exit 1
  fi
  echo "run $run: swirlmote ${ours[-1]} s, plain C ${plain[-1]} s (user CPU, identical output)"
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
m_ours=$(median "${ours[@]}")
m_plain=$(median "${plain[@]}")
echo "median: swirlmote $m_ours s, plain C $m_plain s, ratio $(awk -v a="$m_ours" -v b="$m_plain" 'BEGIN { printf "%.2f", a / b }')"
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
