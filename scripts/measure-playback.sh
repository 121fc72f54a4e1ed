#!/usr/bin/env bash
# Usage: scripts/measure-playback.sh CLIP [DISPLAY_NUMBER]
# Under a virtual display, plays CLIP for 5 s in Quillon (385 x 289 picture) and in
# `mpv --vo=x11 --ao=null` in a window of the same size, and prints the CPU each takes
# (per cent of one core) and their ratio; then the time from opening CLIP to its first
# frame, the time "End Position" holds the window and takes to show the last frame, and
# the time from "Exit Quillon" to the end of the process. Builds what it needs in ./build.
# mpv is needed only here, as the yardstick. QUILLON_LOG=FILE keeps Quillon's messages.
set -euo pipefail
cd "$(dirname "$0")/.."
clip=$(realpath "$1")
display=:${2:-77}
seconds=5
cmake --build build --target quillon playback-timings >/dev/null

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
now_ms() { date +%s%3N; }
# Per cent of one core that process $1 uses over the next $seconds seconds.
cpu_percent() {
  local before after
  before=$(ticks "$1")
  sleep "$seconds"
  after=$(ticks "$1")
  echo "scale=1; 100 * ($after - $before) / $(getconf CLK_TCK) / $seconds" | bc
}
window_of() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 && return 0
    sleep 0.05
  done
  return 1
}

# Quillon: the clip from the command line, then "Play" (the first button under the
# picture, at 69,351 in the window); "Exit Quillon" is at 64,546.
build/app/quillon "$clip" >/dev/null 2>"${QUILLON_LOG:-/dev/null}" &
quillon=$!
window=$(window_of '^Quillon$')
sleep 1
xdotool mousemove --window "$window" 69 351 click 1
sleep 0.5
quillon_cpu=$(cpu_percent $quillon)
start=$(now_ms)
xdotool mousemove --window "$window" 64 546 click 1
while kill -0 $quillon 2>/dev/null; do sleep 0.005; done
exit_ms=$(($(now_ms) - start))

mpv --no-config --vo=x11 --ao=null --keep-open=yes --geometry=385x289 "$clip" >/dev/null 2>&1 &
mpv=$!
sleep 1.5
mpv_cpu=$(cpu_percent $mpv)
kill $mpv

echo "clip: $(basename "$clip")"
echo "CPU, per cent of a core: Quillon $quillon_cpu, mpv $mpv_cpu, ratio $(echo "scale=2; $quillon_cpu / $mpv_cpu" | bc)"
build/bench/playback-timings "$clip" 2>/dev/null
echo "exit: process ended $exit_ms ms after \"Exit Quillon\""
