#!/usr/bin/env bash
# Usage: scripts/measure-startup.sh [QUILLON] [DISPLAY_NUMBER]
# Under a virtual display, starts Quillon (./build/app/quillon unless given) ten times
# and prints the best time from launch to the first paint of its window: the window
# is mapped and its picture of the media player is no longer the display's black.
set -euo pipefail
cd "$(dirname "$0")/.."
quillon=${1:-build/app/quillon}
display=:${2:-76}
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

now_ms() { date +%s%3N; }
# The colour of one pixel of the screen, as ImageMagick names it.
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -1 | awk '{print $3}'; }

best=
for run in $(seq 10); do
  start=$(now_ms)
  "$quillon" >/dev/null 2>&1 &
  pid=$!
  until window=$(xdotool search --onlyvisible --name '^Quillon$' 2>/dev/null | head -1) &&
    [ -n "$window" ]; do :; done
  eval "$(xdotool getwindowgeometry --shell "$window")"
  # A point of the frame "Media Player" beside the video, painted in the window colour.
  until [ "$(pixel $((X + 5)) $((Y + 400)))" != "#000000" ]; do :; done
  elapsed=$(($(now_ms) - start))
  echo "run $run: $elapsed ms"
  [ -z "$best" ] || [ "$elapsed" -lt "$best" ] && best=$elapsed
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done
echo "best of 10, launch to first paint: $best ms"
