#!/usr/bin/env bash
# Races two `config set`s of different keys against one store, reached by
# two names: a link and the file it leads to, or two links. Each round
# starts from an empty store and checks that both writers exited 0 and both
# keys were kept; prints the rounds that lost a key or failed a write.
#   tools/store_race.sh [BUILD_DIR] [ROUNDS] [link-target|two-links]
set -euo pipefail
build=${1:-build}
rounds=${2:-100}
names=${3:-link-target}
program="$build/src/host/swirlmote"
[[ -x $program ]] || { echo "no $program: build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Each writer finds the store under its own XDG_CONFIG_HOME: the first as a
# link to the file in "real", the second as that file itself or as a second
# link to it.
name=$(basename "$(XDG_CONFIG_HOME=/ "$program" config path)")
target=$work/real/swirlmote/$name
mkdir -p "$(dirname "$target")" "$work/first/swirlmote" "$work/second/swirlmote"
ln -s "$target" "$work/first/swirlmote/$name"
case $names in
  link-target) second=$work/real ;;
  two-links) ln -s "$target" "$work/second/swirlmote/$name"; second=$work/second ;;
  *) echo "unknown naming $names" >&2; exit 2 ;;
esac

lost=0
failed=0
for ((round = 0; round < rounds; round++)); do
  rm -f "$target"
  XDG_CONFIG_HOME=$work/first "$program" config set "number of cyclones" 7 2>"$work/err1" &
  one=$!
  XDG_CONFIG_HOME=$second "$program" config set "particle shape" 2 2>"$work/err2" &
  two=$!
  s1=0; s2=0
  wait $one || s1=$?
  wait $two || s2=$?
  if ((s1 != 0 || s2 != 0)); then
    failed=$((failed + 1))
    echo "round $round: statuses $s1 $s2: $(cat "$work/err1" "$work/err2")"
  fi
  cyclones=$(XDG_CONFIG_HOME=$work/real "$program" config get "number of cyclones" 2>/dev/null || true)
  shape=$(XDG_CONFIG_HOME=$work/real "$program" config get "particle shape" 2>/dev/null || true)
  if [[ $cyclones != 7 || $shape != 2 ]]; then
    lost=$((lost + 1))
    echo "round $round: lost a key (number of cyclones '$cyclones', particle shape '$shape')"
  fi
done
echo "$names: $rounds rounds, $lost lost a key, $failed had a failed write"
