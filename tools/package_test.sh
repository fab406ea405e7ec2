#!/usr/bin/env bash
# The package as a user gets it: builds the package from the build folder
# BUILD, whose tests have run, the way tools/package.sh builds it (Debian's
# build and hardening flags), checks it with lintian, installs it with
# apt-get, runs the installed program headless and under XScreenSaver,
# xsecurelock and MATE's screen saver (BUILD's host tests, pointed at /usr),
# removes it and checks that none of its files is left. Installing into the
# system needs root and a machine of the test's own: it runs under CI
# (CI=true), or when SWIRLMOTE_PACKAGE_TEST=1 asks for it; otherwise it is
# skipped with the reason. Under CI it fails when it cannot run.
#   tools/package_test.sh BUILD
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: tools/package_test.sh BUILD}

ci=false
[[ -n "${CI:-}" && "$CI" != false && "$CI" != 0 ]] && ci=true
fail() {
  echo "package test: $*" >&2
  exit 1
}
skip() {
  if $ci; then
    fail "cannot run under CI: $*"
  fi
  echo "package test skipped: $*"
  exit 0
}
[[ $(id -u) -eq 0 ]] || skip "installing a package needs root"
$ci || [[ "${SWIRLMOTE_PACKAGE_TEST:-}" == 1 ]] ||
  skip "it installs and removes the package on this machine (CI=true or SWIRLMOTE_PACKAGE_TEST=1 runs it)"
if dpkg-query -W -f='${Status}' swirlmote 2>/dev/null | grep -q installed || [[ -e /usr/bin/swirlmote ]]; then
  fail "swirlmote is installed on this machine already; the test would replace and then remove it"
fi

# A maintainer named for this build alone when the environment names none:
# the .invalid domain is one that never exists.
[[ -n ${DEBEMAIL:-} ]] || export DEBFULLNAME="Swirlmote package test" DEBEMAIL=package-test@swirlmote.invalid
tools/package.sh "$build"
debs=(dist/swirlmote_*.deb)
[[ ${#debs[@]} -eq 1 ]] || fail "expected one package in dist/, found ${debs[*]}"
deb=${debs[0]}

# No tag at all, pedantic and informational ones included (an override,
# when one is needed, goes in the package with its reason).
report=$(lintian --pedantic -I -E "$deb" 2>&1) || true
if grep -E '^[EWIPX]: ' <<<"$report"; then
  fail "lintian reports the lines above"
fi
maintainer=$(dpkg-deb -f "$deb" Maintainer)
[[ $maintainer == "${DEBFULLNAME:-} <$DEBEMAIL>" || $maintainer == "$DEBEMAIL" ]] ||
  fail "the maintainer is not the one who built the package: $maintainer"

# Depends as dpkg-shlibdeps finds it in the program; XScreenSaver only
# suggested.
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libsdl2-* && $depends == *libgtk-3-* && $depends != *xscreensaver* ]] ||
  fail "Depends is not what the program links: $depends"
[[ $(dpkg-deb -f "$deb" Suggests) == *xscreensaver* ]] || fail "XScreenSaver is not suggested"
# SDL's title bar on mutter comes from a libdecor plugin.
[[ $(dpkg-deb -f "$deb" Recommends) == *libdecor-0-plugin-1* ]] || fail "no libdecor plugin is recommended"

# Every file and link of the package, as absolute paths.
mapfile -t files < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./|/|')
[[ ${#files[@]} -gt 0 ]] || fail "the package holds no files"

# What man's cache holds: a page cached by a man run stays after a purge,
# as in every Debian package, but the package itself adds nothing there.
man_cache() { find /var/cache/man -path '*swirlmote*' 2>/dev/null | sort; }
man_cache_before=$(man_cache)
trap 'apt-get purge -y -qq swirlmote >/dev/null 2>&1 || true' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "./$deb" >"$build/package-install.log" 2>&1 ||
  fail "apt-get could not install $deb: $(cat "$build/package-install.log")"
for file in "${files[@]}"; do
  # A dpkg path filter could keep files out without a word.
  [[ -e $file || -L $file ]] || fail "$file did not install"
done
# Without --no-net: every address the metainfo gives must be reachable, and
# it gives none, so this passes offline too.
appstreamcli validate /usr/share/metainfo/org.swirlmote.Swirlmote.metainfo.xml >/dev/null ||
  fail "appstreamcli rejects the installed metainfo"
for entry in /usr/share/applications/swirlmote.desktop /usr/share/applications/screensavers/swirlmote.desktop; do
  desktop-file-validate "$entry" || fail "the desktop entry $entry is not valid"
done

# The installed program renders and says only where the frames went.
scratch=$(mktemp -d)
trap 'apt-get purge -y -qq swirlmote >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
(cd "$scratch" && env -u SWIRLMOTE_RESOURCES XDG_CONFIG_HOME="$scratch/config" \
  /usr/bin/swirlmote render --frames 30 --size 160x120 --seed 3 --out "$scratch/frames" 2>"$scratch/err")
! grep -v '^swirlmote render: wrote ' "$scratch/err" || fail "the installed program warned (above)"
[[ -f $scratch/frames/frame-000030.png ]] || fail "the installed program wrote no frame"

# Particles drawn with the sources hidden, XScreenSaver's daemon running the
# installed link and xsecurelock the installed program: the host tests, on
# /usr instead of an install of the build. CI=true makes a test that cannot
# run fail instead of skipping.
installed_tests=(Install.TheInstalledProgramNeedsNothingFromTheSourceTree
  XScreenSaver.RunsTheInstalledProgramInItsWindow XSecureLock.RunsTheInstalledProgramWhileLocked
  MateScreensaver.RunsTheInstalledThemeWhenActivated)
filter=$(IFS=:; echo "${installed_tests[*]}")
out=$(CI=true SWIRLMOTE_INSTALLED_PREFIX=/usr "$build/tests/host_tests" --gtest_filter="$filter" 2>&1) ||
  fail "the host tests failed on the installed program:"$'\n'"$out"
for test in "${installed_tests[@]}"; do
  grep -q "\[       OK \] $test " <<<"$out" || fail "$test did not run:"$'\n'"$out"
done

apt-get purge -y -qq swirlmote >/dev/null
for file in "${files[@]}" /usr/share/swirlmote /usr/share/doc/swirlmote; do
  [[ ! -e $file && ! -L $file ]] || fail "$file is left after removal"
done
[[ $(man_cache) == "$man_cache_before" ]] || fail "the package left in man's cache: $(man_cache)"
echo "package test passed: $deb built, lint-free, installed, ran, removed"
