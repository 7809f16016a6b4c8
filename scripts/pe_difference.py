#!/usr/bin/env python3
"""Compares two builds of a Windows binary byte for byte and, when they differ,
names where they first do: a field of the headers, a section by name, or the
data after the last section (where a signature goes).

Usage: pe_difference.py FIRST SECOND   (exit status 0 when the bytes are the same)
"""
import sys

from pe_file import PeFile


def regions(data):
    """(start, end, name) of what the file holds, in file order."""
    pe = PeFile(data)
    found = [(pe.pe + 8, pe.pe + 12, "the headers' link time stamp"),
             (pe.optional + 64, pe.optional + 68, "the headers' checksum")]
    found += [(s.raw_start, s.raw_start + s.raw_size, "section " + s.name) for s in pe.sections if s.raw_size]
    return found


def place_of(data, offset):
    if data[:2] != b"MZ":
        return "a file that is no PE file"
    found = regions(data)
    for start, end, name in found:
        if start <= offset < end:
            return name
    if offset < min(start for start, _, name in found if name.startswith("section")):
        return "the headers"
    return "the data after the last section (such as a signature)"


def main(first_path, second_path):
    with open(first_path, "rb") as first_file, open(second_path, "rb") as second_file:
        first, second = first_file.read(), second_file.read()
    if first == second:
        return 0
    offset = next((i for i, (a, b) in enumerate(zip(first, second)) if a != b), min(len(first), len(second)))
    print(f"{first_path} and {second_path} differ ({len(first)} and {len(second)} bytes): "
          f"first at byte {offset:#x}, in {place_of(first, offset)}")
    return 1


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
