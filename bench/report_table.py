#!/usr/bin/env python3
"""Turns the JSON results of quillon_bench into docs/performance.md (see bench/report).

Every benchmark reports pixels per second; the best of its runs counts. Each kernel is
set beside a block copy of one plane (memcpy, the physical limit) and beside OpenCV's
nearest call where there is one, and the targets are checked size by size.
"""

import argparse
import json
import re
import sys
from collections import defaultdict

SIZES = [(640, 480), (1920, 1080), (3840, 2160)]
BIG = (3840, 2160)

# Every kernel of the report: its benchmark, the OpenCV benchmark it is held against (or
# None) and the OpenCV call that one makes.
ADD, SUB = "BM_CvAddChannel", "BM_CvSubtractChannel"
ADD3, SUB3 = "BM_CvAddBrightness", "BM_CvSubtractBrightness"
CV_CALLS = {
    ADD: "cv::add, scalar on one channel",
    SUB: "cv::subtract, scalar on one channel",
    ADD3: "cv::add, scalar on three channels",
    SUB3: "cv::subtract, scalar on three channels",
    "BM_CvBitwiseNot": "cv::bitwise_not",
    "BM_CvGreyRoundTrip": "cv::cvtColor to grey and back",
    "BM_CvFilter2DSmooth/amount:1": "cv::filter2D, same weights",
    "BM_CvFilter2DSmooth/amount:2": "cv::filter2D, same weights",
    "BM_CvFilter2DSmooth/amount:4": "cv::filter2D, same weights",
    "BM_CvFilter2DSmooth/amount:8": "cv::filter2D, same weights",
    "BM_CvFilter2DEdge": "cv::filter2D, same weights",
    "BM_CvFilter2DRelief": "cv::filter2D, same weights",
    "BM_CvFilter2DEmboss": "cv::filter2D, same weights",
    "BM_CvFilter2DSharpen": "cv::filter2D, same weights",
    "BM_CvRemapWave": "cv::remap, nearest",
    "BM_CvRemapTwist": "cv::remap, nearest",
    "BM_CvWarpAffineMagnify/interp:0/tenths:20": "cv::warpAffine, nearest",
    "BM_CvWarpAffineMagnify/interp:0/tenths:5": "cv::warpAffine, nearest",
    "BM_CvWarpAffineMagnify/interp:1/tenths:20": "cv::warpAffine, linear",
    "BM_CvWarpAffineMagnify/interp:1/tenths:5": "cv::warpAffine, linear",
    "BM_CvWarpAffineRotate/interp:0": "cv::warpAffine, nearest",
    "BM_CvWarpAffineRotate/interp:1": "cv::warpAffine, linear",
}

PALETTE = [
    (0, "red + 8", ADD), (1, "red − 8", SUB), (2, "green + 8", ADD), (3, "green − 8", SUB),
    (4, "blue + 8", ADD), (5, "blue − 8", SUB), (6, "brightness + 8", ADD3),
    (7, "brightness − 8", SUB3), (8, "all channels + 8, wrapping", ADD3),
    (9, "all channels − 8, wrapping", SUB3), (11, "negative", "BM_CvBitwiseNot"),
]


def rows():
    """(group, label, benchmark, OpenCV benchmark, targets) for every line of the table."""
    out = [("Physical limit", "memcpy of one plane", "BM_Memcpy", None, set())]
    for op, label, cv in PALETTE:
        out.append(("Palette", f"op {op}: {label}", f"BM_PalEffects/op:{op}", cv,
                    {"packed", "opencv"}))
    out.append(("Palette", "op 10: noise", "BM_PalEffects/op:10", None, set()))
    out.append(("Palette", "op 12: grey", "BM_PalEffects/op:12", "BM_CvGreyRoundTrip",
                {"opencv"}))
    names = {13: "dark to black", 14: "light to white", 15: "black to white",
             16: "white to black", 17: "all but white to black", 18: "all but black to white",
             19: "black or white"}
    for op, label in names.items():
        out.append(("Palette", f"op {op}: {label}", f"BM_PalEffectsRestored/op:{op}", None,
                    set()))
    for amount in (1, 2, 4, 8):
        out.append(("Pixel effects", f"op 0: smoothing, amount {amount}",
                    f"BM_PixelEffects/op:0/amount:{amount}",
                    f"BM_CvFilter2DSmooth/amount:{amount}", {"opencv", "threeX", "blur"}))
    out += [
        ("Pixel effects", "op 1: edge filter", "BM_PixelEffects/op:1/amount:1",
         "BM_CvFilter2DEdge", {"opencv", "threeX"}),
        ("Pixel effects", "op 2: diagonal relief", "BM_PixelEffects/op:2/amount:1",
         "BM_CvFilter2DRelief", {"opencv", "threeX"}),
        ("Pixel effects", "op 3: wave", "BM_PixelEffects/op:3/amount:10", "BM_CvRemapWave",
         {"opencv"}),
        ("Pixel effects", "op 4: emboss", "BM_PixelEffects/op:4/amount:1", "BM_CvFilter2DEmboss",
         {"opencv", "threeX"}),
        ("Pixel effects", "op 5: twist", "BM_PixelEffects/op:5/amount:8", "BM_CvRemapTwist",
         {"opencv"}),
    ]
    for op, kind in ((0, "nearest"), (1, "bilinear")):
        for tenths, way in ((20, "zoom in ×2"), (5, "zoom out ×½")):
            out.append(("Magnify", f"op {op}: {kind}, {way}", f"BM_Magnify/op:{op}/tenths:{tenths}",
                        f"BM_CvWarpAffineMagnify/interp:{op}/tenths:{tenths}", {"opencv"}))
    for op, label in ((0, "nearest, undo plane"), (1, "bilinear, undo plane"),
                      (2, "nearest, original plane"), (3, "bilinear, original plane")):
        out.append(("Rotation", f"op {op}: {label}, 30°", f"BM_Rotation/op:{op}",
                    f"BM_CvWarpAffineRotate/interp:{op % 2}", {"opencv"}))
    out.append(("Colour X", "op 0: one dot", "BM_ColorXDot", None, set()))
    for op, label in ((1, "horizontal lines, spacing 1"), (2, "vertical lines, spacing 1"),
                      (3, "dot lattice, spacing 1")):
        out.append(("Colour X", f"op {op}: {label}", f"BM_ColorXPaint/op:{op}", None, set()))
    for op, label in ((4, "glow"), (5, "streak up"), (6, "streak down"), (7, "streak left"),
                      (8, "streak right")):
        out.append(("Colour X", f"op {op}: {label}, 1 % colour X, radius 5",
                    f"BM_ColorXSparse/op:{op}", None, set()))
    for op in (4, 5, 8):
        out.append(("Colour X", f"op {op}: the search alone (no colour X)",
                    f"BM_ColorXScan/op:{op}", None, set()))
    out.append(("Colour X", "op 9: ring, amount 1", "BM_ColorXRing/amount:1", None, set()))
    out.append(("Colour X", "op 9: ring, amount 32767", "BM_ColorXRing/amount:32767", None,
                set()))
    out.append(("Filter", "sharpen (in place, damping 2)", "BM_Sharpen", "BM_CvFilter2DSharpen",
                {"sharpen"}))
    out.append(("Adjustments", "colour stretch", "BM_ColourStretch", None, set()))
    out.append(("Adjustments", "white crush", "BM_WhiteCrush", None, set()))
    return out


# What bounds a kernel that misses a target, by benchmark.
BOUNDS = {
    "BM_PalEffects": "Memory. At 3840×2160 the plane (33 MB) no longer fits in the cache; "
    "the kernel reads and writes each byte once, in place, as cv::add does, so both wait on "
    "the same memory traffic and the ratio to cv::add tends to 1 as the plane grows "
    "(prefetching and streaming stores were tried and gained nothing measurable).",
    "BM_PixelEffects/op:0": "Memory at the largest size: the undo plane is read and the "
    "working plane written (66 MB in all), like a copy, so the ratio to cv::filter2D cannot "
    "pass memcpy ÷ filter2D there (streaming stores were tried and lost). In the cache the "
    "smoothing is arithmetic: a masked load, a shift and an add per 8 pixels and neighbour.",
    "BM_PixelEffects/op:1": "The 16-bit arithmetic of nine neighbours per channel (18 "
    "widening unpacks per 8 pixels) and, at the largest size, the memory traffic of reading "
    "the working plane's reserved bytes as well as writing it.",
    "BM_PixelEffects/op:2": "Memory: the relief is a few saturating byte operations per 8 "
    "pixels, so it runs at the speed of reading the undo plane and reading and writing the "
    "working plane (which keeps its reserved bytes).",
    "BM_PixelEffects/op:4": "The 16-bit arithmetic of seven neighbours per channel and, at "
    "the largest size, the memory traffic of reading the working plane's reserved bytes as "
    "well as writing it.",
    "BM_PixelEffects/op:5": "Exact arithmetic per pixel: two double-precision products, a "
    "rounding, four bound checks and a gathered load per pixel, plus a square root, a "
    "division and a cosine and sine (a polynomial) per four pixels. cv::remap is handed its "
    "map ready-made, and its source reads fall in the same swirl, so the larger pictures "
    "miss the cache for both.",
    "BM_Rotation": "Exact arithmetic per pixel: the point in double precision, the cell in "
    "single precision, four corner pixels gathered, and per channel the row blends in 32-bit "
    "fixed point (exact) and the final blend in double precision with its two roundings, "
    "which the results are fixed to. cv::warpAffine interpolates in 15-bit fixed point.",
    "BM_Magnify": "Exact arithmetic per pixel, as for rotation; the bilinear zoom blends each "
    "source row once and reuses it for every destination row it serves.",
    "BM_Sharpen": "The chain along each row: every pixel needs its left neighbour's new "
    "value, so per pixel one multiply, a subtraction, a shift and a clamp follow one another "
    "(three channels side by side). cv::filter2D writes a separate output and has no chain.",
    "BM_PalEffects/op:12": "Memory at the largest size (in place, like the packed steps).",
    "BM_PixelEffects/op:3": "Memory: the wave copies whole rows, keeping the reserved bytes.",
    "BM_PalEffects/op:11": "Memory and cache bandwidth: the negative is one instruction per "
    "32 bytes, the same work cv::bitwise_not does in place, so both run at the speed the data "
    "moves and their ratio stays near 1, within the noise of the machine.",
}


def bound_for(benchmark):
    best = ""
    for key in BOUNDS:
        if benchmark.startswith(key) and len(key) > len(best):
            best = key
    return BOUNDS.get(best, "No analysis recorded.")


def parse(path):
    """Best pixels per second of every benchmark, keyed by (name without size, (w, h))."""
    with open(path) as f:
        data = json.load(f)
    best = defaultdict(float)
    for run in data["benchmarks"]:
        if run.get("run_type") != "iteration" or "items_per_second" not in run:
            continue
        name = run["run_name"]
        w = int(re.search(r"/w:(\d+)", name).group(1))
        h = int(re.search(r"/h:(\d+)", name).group(1))
        base = re.sub(r"/[wh]:\d+", "", name)
        key = (base, (w, h))
        best[key] = max(best[key], run["items_per_second"] / 1e6)
    return best, data.get("context", {})


def fmt(value, digits=0):
    return "–" if value is None else f"{value:,.{digits}f}"


def ratio(a, b):
    return None if a is None or b is None or b == 0 else a / b


def results_table(best):
    lines = []
    head = "| Kernel | OpenCV call |"
    rule = "|---|---|"
    for w, h in SIZES:
        head += f" {w}×{h} Mpix/s | ×memcpy | ×OpenCV |"
        rule += "---:|---:|---:|"
    group = None
    for g, label, ours, cv, _ in rows():
        if g != group:
            lines += ["", f"**{g}**", "", head, rule]
            group = g
        line = f"| {label} | {CV_CALLS.get(cv, '') if cv else ''} |"
        for size in SIZES:
            v = best.get((ours, size))
            line += (f" {fmt(v)} | {fmt(ratio(v, best.get(('BM_Memcpy', size))), 2)} |"
                     f" {fmt(ratio(v, best.get((cv, size)) if cv else None), 2)} |")
        lines.append(line)
    return lines


def check(best, have_cv):
    """Every target, size by size: (description, benchmark, size, achieved, required)."""
    checks = []
    for g, label, ours, cv, targets in rows():
        for size in SIZES:
            v = best.get((ours, size))
            if v is None:
                continue
            if "packed" in targets and size == BIG:
                checks.append((f"{label}: ≥ 0.9 × memcpy", ours, size,
                               ratio(v, best.get(("BM_Memcpy", size))), 0.9))
            if not have_cv or not cv:
                continue
            c = best.get((cv, size))
            if "packed" in targets:
                add = cv if cv in (ADD, SUB, ADD3, SUB3) else ADD3
                checks.append((f"{label}: ≥ 1.2 × {CV_CALLS[add]}", ours, size,
                               ratio(v, best.get((add, size))), 1.2))
            if "opencv" in targets:
                checks.append((f"{label}: ≥ 1.0 × {CV_CALLS[cv]}", ours, size, ratio(v, c), 1.0))
            if "threeX" in targets:
                checks.append((f"{label}: ≥ 3 × {CV_CALLS[cv]}", ours, size, ratio(v, c), 3.0))
            if "blur" in targets:
                checks.append((f"{label}: ≥ 1.0 × cv::blur 3×3", ours, size,
                               ratio(v, best.get(("BM_CvBlur", size))), 1.0))
            if "sharpen" in targets:
                checks.append((f"{label}: ≥ 0.5 × {CV_CALLS[cv]}", ours, size, ratio(v, c), 0.5))
    return checks


def targets_section(best, have_cv):
    checks = check(best, have_cv)
    met = [c for c in checks if c[3] is not None and c[3] >= c[4]]
    missed = [c for c in checks if c[3] is not None and c[3] < c[4]]
    lines = ["## Targets", "",
             "- Packed palette op codes (0 to 9, 11): at least 0.9 × memcpy at 3840×2160, and "
             "at least 1.2 × cv::add (or cv::subtract) at every size.",
             "- Every kernel with an OpenCV counterpart: at least as fast as OpenCV on one "
             "thread at every size; smoothing, edge filter, relief and emboss at least 3 × "
             "cv::filter2D with the same weights; magnify and rotation at least 1.0 × "
             "cv::warpAffine of the same interpolation, with the exact floating-point "
             "results kept.",
             "- The in-place sharpen: at least 0.5 × cv::filter2D.",
             "- Everything else (noise, grey, substitutions, colour X, stretch, crush): "
             "profiled, and what does not belong in the inner loop removed.", ""]
    if not have_cv:
        lines += ["OpenCV was not installed when this report was made, so only the memcpy "
                  "targets could be checked. `bash scripts/dev.sh report` installs it.", ""]
    lines.append(f"{len(met)} of {len(met) + len(missed)} checks met.")
    lines.append("")
    if missed:
        lines += ["### Missed", "",
                  "| Check | Size | Achieved | Required | How far off | What bounds it |",
                  "|---|---|---:|---:|---:|---|"]
        for desc, ours, (w, h), got, need in missed:
            lines.append(f"| {desc} | {w}×{h} | {got:.2f} | {need:.2f} | "
                         f"needs {need / got:.2f}× the speed | {bound_for(ours)} |")
        lines.append("")
    return lines


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("results")
    parser.add_argument("--cpu", default="unknown")
    parser.add_argument("--cores", default="?")
    parser.add_argument("--avx2", default="?")
    parser.add_argument("--load", nargs=2, default=["?", "?"])
    parser.add_argument("--runs", default="?")
    parser.add_argument("--min-time", default="?")
    parser.add_argument("--build-type", default="?")
    args = parser.parse_args()
    best, context = parse(args.results)
    have_cv = any(base.startswith("BM_Cv") for base, _ in best)
    out = [
        "# Performance of the picture kernels", "",
        "Written by `bench/report` (`bash scripts/dev.sh report`); do not edit by hand. "
        "Start-up and media playback are measured apart, in [playback.md](playback.md).", "",
        f"- Machine: {args.cpu}, {args.cores} cores, AVX2: {args.avx2}.",
        f"- Load average before / after: {args.load[0]} / {args.load[1]}. Other work on the "
        "machine only slows a run down, so each benchmark's best of "
        f"{args.runs} runs (each at least {args.min_time} s) counts; numbers taken under load "
        "are still low, so take the final table on a quiet machine. On a shared virtual machine "
        "even the best of several runs can vary by a quarter from one report to the next; "
        "the ratios, taken within one report, hold better than the megapixels.",
        f"- Date: {context.get('date', '?')}; kernels built as {args.build_type}.",
        "- One thread throughout: the kernels are single-threaded and OpenCV is held to one "
        "thread (cv::setNumThreads(0)).",
        "- Pictures are the photo-like fill of bench/BenchSurfaces.cpp (gradients with a little "
        "grain). Megapixels per second count the pixels of the picture (the working plane); "
        "×memcpy divides by a block copy of one plane (4·W·H bytes read and written) at the "
        "same size, ×OpenCV by the OpenCV call named beside the kernel.", "",
    ]
    out += ["## Results"] + results_table(best) + [""]
    out += targets_section(best, have_cv)
    out += NOTES
    print("\n".join(out))


NOTES = [
    "## How the kernels are made fast", "",
    "- Every kernel keeps its plain version; the fast paths give the same bytes. Every "
    "kernel's vector loops are written once on Highway (magnify and rotation through one "
    "affine resample row, `engine/AffineResample.cpp`) and compiled for each target it builds "
    "(AVX2, SSSE3 and a one-lane fallback on x86-64, NEON on ARM64), the best one chosen at "
    "the first kernel call (`engine/SimdDispatch.h`). Where Highway 1.0.3 lacks an x86 "
    "instruction the kernels relied on (byte multiply-adds, rounding conversions of doubles, "
    "a masked gather), the x86 targets use it directly beside the portable form. The "
    "engine's tests run every agreement check at every level the processor offers.",
    "- Exactness: conversions keep the processor's round-half-to-even; single-precision "
    "roundings happen where the plain version has them; where a plain double-precision step "
    "is provably exact (the row blends of a bilinear sample, the products of the twist's "
    "mirrored pixels) it is taken in integers or reused; the twist's cosine and sine come "
    "from a polynomial and fall back to the library wherever the result lies near a "
    "rounding boundary of single precision.",
    "- GCC 12's basic-block vectorizer drops the rounding of single-precision values stored "
    "side by side as doubles; the engine and everything built on it compile with "
    "`-fno-tree-slp-vectorize`.", "",
    "## The kernels without a target", "",
    "Profiled with callgrind (instruction counts hold still on a busy machine):", "",
    "- Noise (op 10): the generator's step was a function call inside the loop and every "
    "pixel went through a small array; now the step is inline and each channel is written "
    "as soon as it is known. What remains is the generator itself: three steps of multiply, "
    "add and shift per pixel, each waiting for the last (about 15 cycles a pixel). Halving a "
    "33-bit sum makes the step other than a linear one modulo 2^32, so no jump ahead lets "
    "several pixels' steps run side by side.",
    "- Grey and the substitutions (ops 12 to 19): a pixel per 32-bit lane, the mean by a "
    "16-bit multiply by 0xAAAB and a byte shuffle, the rules as whole-pixel masks.",
    "- Colour X (ops 1 to 8): the blend weights of a glow's rings and a streak's steps are "
    "the same around every source, so each becomes a table of what every byte turns into, "
    "made with the blend itself when the first source turns up; the search for sources and "
    "the painting of whole rows go eight pixels at a time. The ring (op 9) was left as it "
    "is: its visits depend on each other through the pixels they brighten.",
    "- Sharpen: everything but the left neighbour is weighed for a stretch of the row in "
    "SSE2 lanes, then a short chain per pixel adds the left neighbour and divides by a "
    "multiply and a shift; the checked arithmetic stays for the weights that could overflow.",
    "- Colour stretch and white crush: the pixels are read and written in the image's rows "
    "as words, with no splitting of colours by signed division, no optional results per "
    "pixel and no visit of the column and row outside the picture (which change nothing); "
    "the stretch looks its new bytes up in tables made with its own rounding, and passes "
    "four dark pixels at a time; the crush keeps its running minima in registers.", "",
    "## OpenCV in continuous integration", "",
    "`libopencv-dev` (Debian 12, 4.6) brings about 160 packages, 126 MB to download and "
    "610 MB installed. On the development machine, with most packages already in the local "
    "cache, `apt-get install -y libopencv-dev` took 85 s; on a fresh machine the download "
    "adds some seconds more, about 1.5 minutes in all, within the 2 minutes it may cost. So "
    "CI installs it through `bash scripts/dev.sh bench`, builds the OpenCV yardsticks and "
    "runs every benchmark for a moment.",
]

if __name__ == "__main__":
    sys.exit(main())
