#!/usr/bin/env bash
# Builds the Debian package dist/swirlmote_<version>_<arch>.deb with CPack's
# DEB generator from what `cmake --install` puts in place, under /usr, the
# program stripped and Depends worked out by dpkg-shlibdeps. The program is
# built with Debian's build and hardening flags (tools/package_flags.sh).
#   tools/package.sh          builds in build-package, without the tests
#   tools/package.sh BUILD    builds in the build folder BUILD, its other
#                             settings (the tests) kept: the test command
#                             packages the build it has tested
# The package's maintainer is the one who builds it: DEBFULLNAME and
# DEBEMAIL name them, as for Debian's own tools (DEBEMAIL alone may hold
# "Name <address>").
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh package

maintainer=${DEBEMAIL:-}
if [[ -n $maintainer && $maintainer != *'<'* ]]; then
  maintainer="${DEBFULLNAME:-} <$maintainer>"
fi
if [[ ! $maintainer =~ ^[^\<]*[^\<\ ]\ \<[^@\>]+@[^\>]+\>$ ]]; then
  echo "package.sh: name the package's maintainer with DEBFULLNAME and DEBEMAIL (now '$maintainer')" >&2
  exit 1
fi

build=${1:-build-package}
mapfile -t flags < <(tools/package_flags.sh)
configure=(cmake -S . -B "$build" "${flags[@]}" "-DSWIRLMOTE_PACKAGE_MAINTAINER=$maintainer")
[[ $# -ge 1 ]] || configure+=(-DSWIRLMOTE_TESTS=OFF)
"${configure[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"

# CPack works in a folder of its own inside the build; dist/ receives only
# the package.
staging=$PWD/$build/package
rm -rf "$staging" dist
cpack --config "$build/CPackConfig.cmake" -B "$staging" >/dev/null
mkdir -p dist
mv "$staging"/swirlmote_*.deb dist/
echo "Built $(ls dist/swirlmote_*.deb)"
