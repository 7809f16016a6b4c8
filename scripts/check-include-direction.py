#!/usr/bin/env python3
"""Fails on any #include in the product's code that points against the layers.

Each quoted include names a header by its file name alone; the folder that
holds that header decides its layer. A layer may include its own headers and
those of the layers it lists. Headers that no product folder holds (the
system's, the generated ones) are not ours to order.

Usage: check-include-direction.py [REPOSITORY-ROOT]
"""
import pathlib
import re
import sys

# From the top down: each layer, its folders, and the layers it may use.
LAYERS = [
    ("programs", ["app", "uninstaller"], ["pages", "wizard", "engine", "format", "common"]),
    ("pages", ["pages"], ["wizard", "engine", "format", "common"]),
    ("wizard", ["wizard"], ["engine", "format", "common"]),
    ("engine", ["install", "install/undo", "payload"], ["format", "common"]),
    ("payload_builder", ["tools/payload_builder"], ["format", "common"]),
    ("format", ["payload/format"], ["common"]),
    ("common", ["common"], []),
]

SOURCE_SUFFIXES = {".h", ".c", ".cpp", ".rc"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def layer_of_folder(folder):
    for name, folders, _ in LAYERS:
        if folder in folders:
            return name
    return None


def product_files(root):
    for _, folders, _ in LAYERS:
        for folder in folders:
            for path in sorted((root / folder).iterdir()):
                if path.is_file() and path.suffix in SOURCE_SUFFIXES:
                    yield folder, path


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent).resolve()
    may_use = {name: set(uses) | {name} for name, _, uses in LAYERS}
    files = list(product_files(root))
    header_folder = {}
    for folder, path in files:
        if path.suffix == ".h":
            if path.name in header_folder:
                print(f"{path.relative_to(root)}: a second header of this name "
                      f"(also in {header_folder[path.name]}/); includes would be ambiguous")
                return 1
            header_folder[path.name] = folder

    wrong = 0
    for folder, path in files:
        layer = layer_of_folder(folder)
        lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
        for number, line in enumerate(lines, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target_folder = header_folder.get(pathlib.PurePosixPath(match.group(1)).name)
            if target_folder is None:
                continue
            target_layer = layer_of_folder(target_folder)
            if target_layer not in may_use[layer]:
                print(f"{path.relative_to(root)}:{number}: {layer} ({folder}/) includes "
                      f"{match.group(1)} of {target_layer} ({target_folder}/), against the layers")
                wrong += 1
    if wrong:
        print(f"{wrong} include(s) against the layers; order, from the top:")
        for name, folders, uses in LAYERS:
            print(f"  {name} ({', '.join(f + '/' for f in folders)}) may use: {', '.join(uses) or 'nothing'}")
        return 1
    print(f"Includes of {len(files)} files follow the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
