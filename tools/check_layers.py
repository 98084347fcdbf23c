#!/usr/bin/env python3
"""Fails when a source file includes a header from a folder above its own.

The folders of src/ stand in layers, each seeing only itself and the layers
below it:
    res, core < store < forms < ui < tray, editor, options < app
Folders on one layer (tray, editor, options) do not see each other either.
"""
import pathlib
import re
import sys

LAYERS = {"res": 0, "core": 0, "store": 1, "forms": 2, "ui": 3,
          "tray": 4, "editor": 4, "options": 4, "app": 5}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def violations(src):
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".rc"):
            continue
        folder = path.relative_to(src).parts[0]
        if folder not in LAYERS:
            yield f"{path.relative_to(src)}: folder {folder} has no layer"
            continue
        for target in INCLUDE.findall(path.read_text(encoding="utf-8")):
            parts = target.split("/")
            if len(parts) < 2 or parts[0] == folder or parts[0] not in LAYERS:
                continue
            if LAYERS[parts[0]] >= LAYERS[folder]:
                yield f"{path.relative_to(src)} includes {target}: {parts[0]} is not below {folder}"


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    found = list(violations(src))
    for line in found:
        print(line)
    print(f"{len(found)} include(s) pointing up or sideways")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
