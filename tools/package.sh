#!/usr/bin/env bash
# Builds the Debian package dist/swirlmote_<version>_<arch>.deb with CPack's
# DEB generator from what `cmake --install` puts in place, under /usr, the
# program stripped and Depends worked out by dpkg-shlibdeps.
#   tools/package.sh          builds the program in build-package with
#                             Debian's build and hardening flags, no tests
#   tools/package.sh BUILD    packages the build folder BUILD as it stands
#                             (the test command reuses its plain build)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh package

if [[ $# -ge 1 ]]; then
  build=$1
else
  build=build-package
  export DEB_BUILD_MAINT_OPTIONS=hardening=+all
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWIRLMOTE_TESTS=OFF \
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
fi
cmake --build "$build" -j"$(nproc)"

# CPack works in a folder of its own inside the build; dist/ receives only
# the package.
staging=$PWD/$build/package
rm -rf "$staging" dist
cpack --config "$build/CPackConfig.cmake" -B "$staging" >/dev/null
mkdir -p dist
mv "$staging"/swirlmote_*.deb dist/
echo "Built $(ls dist/swirlmote_*.deb)"
