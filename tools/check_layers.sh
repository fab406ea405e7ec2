#!/usr/bin/env bash
# Checks the #include lines of src/ against its layers:
#   simulation <- render <- saver (settings beside it) <- platform <- host
# A folder may include its own headers and those of the layers below it;
# only platform may include a window system's, the toolkit's, EGL's or the
# image codec's headers, and the platform headers that host includes may not
# bring them in either. Prints each include that breaks this and exits 1
# when there is one.
#   tools/check_layers.sh [SRC_DIR]
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}

declare -A may_include=(
  [simulation]="simulation"
  [settings]="simulation settings"
  [render]="simulation render"
  [saver]="simulation render settings saver"
  [platform]="simulation render settings saver platform"
  [host]="simulation render settings saver platform host"
)
backend_headers='^(SDL2/|gtk/|gdk/|X11/|EGL/|wayland-|png\.h$|pngconf\.h$)'

# The #include lines of a file as "LINE:HEADER".
includes() {
  grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$1" |
    sed -E 's/^([0-9]+):[^<"]*[<"]([^>"]+)[>"].*/\1:\2/' || true
}

# The backend headers that a platform header brings in, itself or through
# the platform headers it includes, as "HEADER (via PATH)".
declare -A seen
backends_through() {
  local header=$1 line included
  [[ -n ${seen[$header]+set} ]] && return
  seen[$header]=1
  [[ -e $src/$header ]] || return 0
  while IFS=: read -r line included; do
    if [[ $included =~ $backend_headers ]]; then
      echo "$included (via $header)"
    elif [[ $included == platform/* ]]; then
      backends_through "$included"
    fi
  done < <(includes "$src/$header")
}

faults=0
for directory in "$src"/*/; do
  folder=$(basename "$directory")
  if [[ -z ${may_include[$folder]+set} ]]; then
    echo "src/$folder: a folder that is not among the layers (add it to $0)"
    faults=$((faults + 1))
    continue
  fi
  for file in "$directory"*.h "$directory"*.cpp; do
    [[ -e $file ]] || continue
    while IFS=: read -r line header; do
      layer=${header%%/*}
      if [[ $header == */* && -n ${may_include[$layer]+set} ]]; then
        if [[ " ${may_include[$folder]} " != *" $layer "* ]]; then
          echo "src/$folder/$(basename "$file"):$line: includes $header, a layer above $folder"
          faults=$((faults + 1))
        fi
      elif [[ $header =~ $backend_headers && $folder != platform ]]; then
        echo "src/$folder/$(basename "$file"):$line: includes $header; only platform talks to backends"
        faults=$((faults + 1))
      fi
      if [[ $folder == host && $header == platform/* ]]; then
        seen=()
        while read -r brought; do
          echo "src/$folder/$(basename "$file"):$line: includes $header, which brings in $brought"
          faults=$((faults + 1))
        done < <(backends_through "$header")
      fi
    done < <(includes "$file")
  done
done
if ((faults)); then
  echo "$faults include(s) against the layers"
  exit 1
fi
