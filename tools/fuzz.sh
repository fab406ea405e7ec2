#!/usr/bin/env bash
# Builds the libFuzzer targets for the preferences store and the PNG sprite
# decoder through CMake with clang in build-fuzz, runs each for a bounded
# time on a scratch copy of its seed corpus (tests/fuzz/<name>/), then
# replays every input kept in tests/fuzz/regressions/<name>/. Exits non-zero on any finding; new
# findings are left in build-fuzz/findings/<name>/.
#   FUZZ_SECONDS=60 tools/fuzz.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${FUZZ_SECONDS:-60}
build=$root/build-fuzz

# A build of its own with clang, instrumented for libFuzzer, that makes only
# the fuzzers and the libraries they link.
names=(store png)
CC=clang CXX=clang++ cmake -S . -B "$build" -DSWIRLMOTE_FUZZERS=ON -DSWIRLMOTE_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${names[@]/%/_fuzzer}"
fuzzers=$build/tests/fuzz

# The store fuzzer writes and fsyncs its file for every input: a RAM-backed
# scratch directory keeps that cheap where there is one.
scratchParent=${TMPDIR:-/tmp}
if [[ -d /dev/shm && -w /dev/shm ]]; then
  scratchParent=/dev/shm
fi
scratch=$(mktemp -d "$scratchParent/swirlmote-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1
limits=(-rss_limit_mb=2048 -timeout=10)
status=0
for name in "${names[@]}"; do
  corpus=$scratch/$name-corpus
  findings=$build/findings/$name
  mkdir -p "$corpus" "$scratch/tmp"
  rm -rf "$findings"
  mkdir -p "$findings"
  cp "tests/fuzz/$name"/* "$corpus"/
  echo "== fuzzing $name for ${seconds}s"
  # The store and the decoder warn on stderr about every bad input; the
  # target's stderr is closed, libFuzzer's reports still come through.
  if ! TMPDIR=$scratch/tmp "$fuzzers/${name}_fuzzer" "${limits[@]}" -max_total_time="$seconds" \
    -print_final_stats=1 -close_fd_mask=2 -artifact_prefix="$findings/" "$corpus"; then
    echo "== $name: finding kept in $findings/; add it to tests/fuzz/regressions/$name/ once fixed"
    status=1
  fi

  regressions=()
  if [[ -d tests/fuzz/regressions/$name ]]; then
    mapfile -t regressions < <(find "tests/fuzz/regressions/$name" -type f | sort)
  fi
  if ((${#regressions[@]} > 0)); then
    echo "== replaying ${#regressions[@]} $name regression input(s)"
    if ! TMPDIR=$scratch/tmp "$fuzzers/${name}_fuzzer" "${limits[@]}" "${regressions[@]}"; then
      echo "== $name: a regression input fails again"
      status=1
    fi
  fi
done
exit "$status"
