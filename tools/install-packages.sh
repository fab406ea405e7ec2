#!/usr/bin/env bash
# Installs the Debian packages Swirlmote needs that are missing; does nothing
# when all are there. "test" adds what the test suite needs, "bench" what
# the benchmarks need.
set -euo pipefail

packages=(build-essential cmake pkg-config libgl-dev libglu1-mesa-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
  libpng-dev libsdl2-dev libgtk-3-dev libx11-dev libxrandr-dev)
if [[ "${1:-}" == "test" ]]; then
  # Xorg's dummy driver gives the full-screen test a screen split into
  # monitors, which Xvfb does not keep.
  packages+=(libgtest-dev libgmock-dev clang libclang-rt-14-dev valgrind xvfb xauth imagemagick x11-apps x11-utils
    x11-xserver-utils xdotool xscreensaver xserver-xorg-core xserver-xorg-video-dummy)
elif [[ "${1:-}" == "bench" ]]; then
  packages+=(libbenchmark-dev time)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
# XScreenSaver's package brings many bundled screen savers; only the daemon
# is wanted, so those files are kept out.
if [[ " ${missing[*]} " == *" xscreensaver "* ]]; then
  "${sudo[@]}" mkdir -p /etc/dpkg/dpkg.cfg.d
  "${sudo[@]}" tee /etc/dpkg/dpkg.cfg.d/swirlmote-no-bundled-savers >/dev/null <<'FILTER'
path-exclude=/usr/libexec/xscreensaver/*
path-include=/usr/libexec/xscreensaver/xscreensaver-*
path-exclude=/usr/share/applications/screensavers/*
path-exclude=/usr/share/man/man6/*
path-exclude=/usr/share/xscreensaver/config/*
FILTER
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
