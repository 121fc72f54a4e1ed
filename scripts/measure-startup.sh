#!/usr/bin/env bash
# Usage: scripts/measure-startup.sh [QUILLON] [DISPLAY_NUMBER]
# Under a virtual display, starts Quillon (./build/app/quillon unless given) ten times
# and prints each time and the best from launch to the first paint of its window: the
# middle of the screen, where the window opens, is no longer the display's black.
set -euo pipefail
cd "$(dirname "$0")/.."
quillon=$(realpath "${1:-build/app/quillon}")
display=:${2:-76}
Xvfb "$display" -screen 0 1280x1024x24 -br -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

QUILLON=$quillon python3 - <<'PYTHON'
import ctypes, os, subprocess, time

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                          ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]

class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_uint32))]

display = x11.XOpenDisplay(None)
root = x11.XDefaultRootWindow(display)

def centre_pixel():
    image = x11.XGetImage(display, root, 640, 512, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
    return ctypes.cast(image, ctypes.POINTER(XImage)).contents.data[0] & 0xFFFFFF

times = []
for run in range(10):
    start = time.monotonic()
    program = subprocess.Popen([os.environ["QUILLON"]], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    while centre_pixel() == 0 and time.monotonic() - start < 10:
        time.sleep(0.0005)
    times.append(round((time.monotonic() - start) * 1000))
    print(f"run {run + 1}: {times[-1]} ms", flush=True)
    program.terminate()
    program.wait()
    while centre_pixel() != 0:
        time.sleep(0.01)
print(f"best of 10, launch to first paint: {min(times)} ms")
PYTHON
