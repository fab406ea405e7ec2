#!/usr/bin/env bash
# Checks the #include lines of src/ against its layers:
#   simulation <- render <- saver (settings beside it) <- platform <- host
# A folder may include its own headers and those of the layers below it;
# only platform and host may include a window system's, the toolkit's, EGL's
# or the image codec's headers. Prints each include that breaks this and
# exits 1 when there is one.
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
        [[ " ${may_include[$folder]} " == *" $layer "* ]] && continue
        echo "src/$folder/$(basename "$file"):$line: includes $header, a layer above $folder"
        faults=$((faults + 1))
      elif [[ $header =~ $backend_headers && $folder != platform && $folder != host ]]; then
        echo "src/$folder/$(basename "$file"):$line: includes $header; only platform and host talk to backends"
        faults=$((faults + 1))
      fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$file" |
      sed -E 's/^([0-9]+):[^<"]*[<"]([^>"]+)[>"].*/\1:\2/' || true)
  done
done
if ((faults)); then
  echo "$faults include(s) against the layers"
  exit 1
fi
