#!/usr/bin/env bash
# Installs the Debian packages Swirlmote needs that are missing; does nothing
# when all are there. "test" adds what the test suite needs, "bench" what
# the benchmarks need, "package" what tools/package.sh and its checks need.
set -euo pipefail

packages=(build-essential cmake pkg-config x11-common libgl-dev libglu1-mesa-dev libegl-dev libegl-mesa0 libgl1-mesa-dri
  libpng-dev libsdl2-dev libgtk-3-dev libgtk-layer-shell-dev libx11-dev libxrandr-dev libxext-dev
  libwayland-dev libwayland-bin wayland-protocols plasma-wayland-protocols)
if [[ "${1:-}" == "test" || "${1:-}" == "package" ]]; then
  packages+=(dpkg-dev file lintian appstream desktop-file-utils)
fi
if [[ "${1:-}" == "test" ]]; then
  # Xorg's dummy driver gives the full-screen test a screen split into
  # monitors, which Xvfb does not keep.
  packages+=(libgtest-dev libgmock-dev clang clang-format libclang-rt-14-dev valgrind xvfb xauth imagemagick x11-apps x11-utils
    x11-xserver-utils xdotool xscreensaver xsecurelock xserver-xorg-core xserver-xorg-video-dummy)
  # Headless Wayland compositors for the native Wayland tests: sway (with
  # grim for screenshots, swayidle, wtype to type on its seat, jq to read its
  # window tree) and weston, which has no input seat; wayland-scanner for the
  # tests' virtual pointer.
  packages+=(sway grim swayidle wtype weston libwayland-bin jq)
  # GNOME's compositor, headless, for what SDL's windows do on mutter and for
  # the idle monitor GNOME offers on the session bus; MATE's screen saver
  # daemon, which runs savers from their desktop entries; a session bus of the
  # test's own for each.
  packages+=(mutter mate-screensaver dbus dbus-daemon gsettings-desktop-schemas)
fi
if [[ "${1:-}" == "bench" ]]; then
  packages+=(libbenchmark-dev time)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
# XScreenSaver's daemon comes with a package of bundled screen savers
# (xscreensaver-data); only the daemon is wanted, so dpkg keeps those savers'
# files out, each named: their programs, settings descriptions, menu entries
# and manual pages. Nothing else in the folders they share is filtered.
bundled_savers=(abstractile binaryhorizon binaryring cwaves deco distort fiberlamp fuzzyflakes galaxy hexadrop
  m6502 marbling metaballs penrose popsquares ripples scooter shadebobs slidescreen swirl tessellimage xlyap)
filter=/etc/dpkg/dpkg.cfg.d/swirlmote-no-bundled-savers
filter_lines() {
  local saver
  for saver in "${bundled_savers[@]}"; do
    printf 'path-exclude=/usr/libexec/xscreensaver/%s\n' "$saver"
    printf 'path-exclude=/usr/share/xscreensaver/config/%s.xml\n' "$saver"
    printf 'path-exclude=/usr/share/applications/screensavers/%s.desktop\n' "$saver"
    printf 'path-exclude=/usr/share/man/man6/%s.6x.gz\n' "$saver"
  done
}
# Written before the daemon is installed, and rewritten when an earlier
# set-up left a broader filter there.
if [[ " ${missing[*]} " == *" xscreensaver "* || -e $filter ]] && ! cmp -s "$filter" <(filter_lines); then
  "${sudo[@]}" mkdir -p /etc/dpkg/dpkg.cfg.d
  filter_lines | "${sudo[@]}" tee "$filter" >/dev/null
fi
[[ ${#missing[@]} -eq 0 ]] && exit 0
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
