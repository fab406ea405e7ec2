#!/usr/bin/env bash
# Prints, one a line, the cmake arguments that configure a build the way the
# Debian package is built: RelWithDebInfo, no sanitizers, and Debian's build
# flags from dpkg-buildflags with every hardening feature on (fortified
# functions, stack protector, relro and immediate binding). The flags map
# the source root's path away from the debug information.
set -euo pipefail
cd "$(dirname "$0")/.."
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { dpkg-buildflags --get "$1"; }
printf '%s\n' -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWIRLMOTE_SANITIZE=OFF \
  "-DCMAKE_C_FLAGS=$(flags CPPFLAGS) $(flags CFLAGS)" \
  "-DCMAKE_CXX_FLAGS=$(flags CPPFLAGS) $(flags CXXFLAGS)" \
  "-DCMAKE_EXE_LINKER_FLAGS=$(flags LDFLAGS)"
