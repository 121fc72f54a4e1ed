#!/usr/bin/env bash
# Runs the README's xargs line for a folder of pictures over a few generated JPEGs and
# checks that every output is byte for byte what a single run of quillon-fx gives.
#   $1: the README; $2: the folder holding quillon-fx
set -euo pipefail
readme=$1
export PATH="$2:$PATH"
recipe=$(grep -m1 "^find holiday .* | xargs " "$readme")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

mkdir -p holiday/day2
for name in beach harbour 'day2/old town'; do
  head -c $((4 * 37 * 23)) /dev/urandom > plane.raw
  quillon-fx plane.raw "holiday/$name.jpg" --size 37x23
done

bash -c "$recipe"

count=0
while IFS= read -r -d '' picture; do
  quillon-fx "$picture" single.png pix:0 incpal:6,20
  cmp single.png "${picture%.*}.fx.png"
  count=$((count + 1))
done < <(find holiday -name '*.jpg' -print0)
[ "$count" -eq 3 ] || { echo "expected 3 pictures, found $count" >&2; exit 1; }
