#!/usr/bin/env python3
"""Fails when a source file includes a header from a layer above its own.

Each folder is one build target; LAYERS lists, for each, the folders its files may include
from (its own always included). docs/architecture.md draws the same picture. Run from
anywhere: python3 scripts/check-layers.py [source root].
"""
import pathlib
import re
import sys

CORE = ["platform/core"]
KERNELS = CORE + ["engine", "filters"]
LAYERS = {
    "platform/core": [],
    "platform/widgets": CORE,
    "platform/mpv": CORE,
    "engine": CORE,
    "filters": CORE,
    "app/controls": CORE,
    "app/adjustments": CORE,
    "about": CORE + ["platform/widgets", "app/controls"],
    "app/window": KERNELS + ["platform/widgets", "app/controls", "app/adjustments", "about"],
    "app": KERNELS + ["platform/widgets", "platform/mpv", "app/controls", "app/window"],
    "tools/fx": KERNELS + ["app/adjustments"],
    "bench": KERNELS + ["app/adjustments", "platform/widgets", "platform/mpv", "app/controls",
                        "app/window"],
    "fuzz": KERNELS + ["app/adjustments", "tools/fx"],
}
PROJECT_FOLDERS = {"app", "about", "bench", "engine", "filters", "fuzz", "platform", "tests", "tools"}
# Only this folder may talk to libmpv.
LIBRARY_OWNERS = {"mpv/": "platform/mpv"}

INCLUDE = re.compile(r'^\s*#\s*include\s+([<"])([^>"]+)[>"]', re.MULTILINE)


def owner_of(path: str) -> str | None:
    """The most specific layer folder holding `path` (app/window before app)."""
    folders = [f for f in LAYERS if path.startswith(f + "/")]
    return max(folders, key=len) if folders else None


def breaches(root: pathlib.Path):
    for file in sorted(root.rglob("*")):
        if file.suffix not in (".h", ".cpp") or not file.is_file():
            continue
        relative = file.relative_to(root).as_posix()
        layer = owner_of(relative)
        if layer is None:
            continue
        allowed = [layer] + LAYERS[layer]
        for bracket, header in INCLUDE.findall(file.read_text(errors="replace")):
            if bracket == "<":
                for prefix, owner in LIBRARY_OWNERS.items():
                    if header.startswith(prefix) and layer != owner:
                        yield f"{relative}: <{header}> belongs to {owner} alone"
                continue
            target = owner_of(header)
            if target is None and header.split("/")[0] in PROJECT_FOLDERS:
                yield f'{relative}: "{header}" is in no layer (tests are included by tests only)'
            elif target is not None and target not in allowed:
                yield f'{relative}: "{header}" is in {target}, which {layer} may not include'


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    found = list(breaches(root.resolve()))
    for line in found:
        print(line)
    print(f"{len(found)} include(s) across layers" if found else "layers hold")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
