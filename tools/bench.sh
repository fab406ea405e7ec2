#!/usr/bin/env bash
# Builds the benchmarks and runs them, after a note of the machine they ran
# on: CPU, cores, load, and the Mesa that draws the headless frames.
# Installs Google Benchmark when it is missing. Every case runs three times,
# the runs of all cases shuffled together so that a spell of load elsewhere
# does not fall on one side of a classic-batched pair, and is reported as
# mean, median and spread; on a busy machine read the median. The
# simulation step's per_particle figure is CPU time; BM_FacingAtan2Floor,
# the one double atan2 each particle needs and nothing else, is the floor it
# is read against, measured in the same run. Then both renderers draw
# `swirlmote render --frames 30 --size 1280x720` at the heaviest settings,
# alternating, three times each: CPU per frame (user and system time over
# the frames, llvmpipe's threads included) and peak RSS.
#   tools/bench.sh [benchmark options, e.g. --benchmark_filter=Submission]
# BUILD_DIR (default build-bench) and JOBS (default the core count) choose
# where and how wide it builds.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-bench}
jobs=${JOBS:-$(nproc)}

tools/install-packages.sh bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWIRLMOTE_BENCHMARKS=ON -DSWIRLMOTE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target swirlmote_bench swirlmote

echo "CPU:   $(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "Cores: $(nproc) online"
echo "Load:  $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 minutes)"
echo "Mesa:  $(dpkg-query -W -f='${Version}' libgl1-mesa-dri 2>/dev/null || echo unknown)"
echo "Tree:  $(git describe --always --dirty 2>/dev/null || echo unknown)"
"$build/bench/swirlmote_bench" --benchmark_repetitions=3 --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true "$@"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
for setting in "number of cyclones=10" "number of particles=200" "show afterimage=1" "particle scale=2"; do
  "$build/src/host/swirlmote" config set "${setting%=*}" "${setting#*=}"
done
echo "render --frames 30 --size 1280x720, 10 x 200, afterimages, scale 2:"
for run in 1 2 3; do
  for renderer in classic batched; do
    /usr/bin/time -f "%U %S %M" -o "$work/time" "$build/src/host/swirlmote" render --frames 30 --every 30 \
      --size 1280x720 --seed 3 --renderer "$renderer" --out "$work/frames" >/dev/null 2>&1
    read -r user system peak <"$work/time"
    awk -v r="$renderer" -v u="$user" -v s="$system" -v m="$peak" \
      'BEGIN { printf "  %-8s CPU per frame %6.1f ms  peak RSS %5.0f MiB\n", r, (u + s) * 1000 / 30, m / 1024 }'
  done
done
echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
