#!/usr/bin/env bash
# Installs what is missing, checks the layering of src/'s includes and the
# formatting of every source, builds Swirlmote twice with warnings as errors
# (with the Debian package's flags, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test in both builds, packages
# the first build and tests the package installed (under CI), then fuzzes the store parser and the PNG loader for a
# minute each. Exits non-zero when any test fails or the fuzzers find
# anything.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh test
jobs=$(nproc)

tools/check_layers.sh src
git ls-files --cached --others --exclude-standard src tests bench tools | grep -E '\.(cpp|h)$' |
  xargs clang-format --dry-run --Werror

# The plain build is the package's build (Debian's flags), so that the
# package made from it afterwards is the program the tests ran. The tests
# are switched on explicitly: tools/try.sh may have left the same build
# folder configured without them.
mapfile -t package_flags < <(tools/package_flags.sh)
cmake -S . -B build "${package_flags[@]}" -DSWIRLMOTE_TESTS=ON -DSWIRLMOTE_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --no-tests=error --output-on-failure -j"$jobs"
# Installs the package into the system and removes it: run under CI, where
# the machine is the test's own, and skipped elsewhere with the reason.
tools/package_test.sh build

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSWIRLMOTE_SANITIZE=ON -DSWIRLMOTE_TESTS=ON -DSWIRLMOTE_WERROR=ON >/dev/null
cmake --build build-asan -j"$jobs"
# Tracking the dynamic TLS of dlopen'ed libraries (Mesa's drivers) makes
# LeakSanitizer's exit-time scan read a bogus range and crash ("Tracer caught
# signal 11") after a test has passed; the scan does without it.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0 \
  LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --no-tests=error --output-on-failure -j"$jobs"

tools/fuzz.sh
