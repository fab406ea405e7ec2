#!/usr/bin/env bash
# Installs what is missing, builds Swirlmote and runs it: in a window when
# there is a display, otherwise a short headless clip.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWIRLMOTE_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec build/src/host/swirlmote
fi
out=${SWIRLMOTE_CLIP:-$PWD/build/clip}
echo "No display: rendering a 3-second clip headless into $out"
build/src/host/swirlmote render --frames 180 --every 6 --size 1280x720 --out "$out"
echo "Frames are in $out (frame-000006.png ... frame-000180.png)"
