#!/usr/bin/env python3
"""Compares two builds of a Windows binary byte for byte and, when they differ,
names where they first do: a field of the headers, a section by name, or the
data after the last section (where a signature goes).

Usage: pe_difference.py FIRST SECOND   (exit status 0 when the bytes are the same)
"""
import struct
import sys


def section_name(data, header, string_table):
    name = data[header:header + 8].rstrip(b"\0").decode("ascii", "replace")
    # Names longer than eight characters stand in the COFF string table as "/offset".
    if name.startswith("/") and name[1:].isdigit() and string_table is not None:
        start = string_table + int(name[1:])
        name = data[start:data.index(b"\0", start)].decode("ascii", "replace")
    return name


def regions(data):
    """(start, end, name) of what the file holds, in file order."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections = struct.unpack_from("<H", data, pe + 6)[0]
    symbols, symbol_count, optional_size = struct.unpack_from("<IIH", data, pe + 12)
    string_table = symbols + 18 * symbol_count if symbols else None
    optional = pe + 24
    found = [(pe + 8, pe + 12, "the headers' link time stamp"),
             (optional + 64, optional + 68, "the headers' checksum")]
    table = optional + optional_size
    for header in range(table, table + 40 * sections, 40):
        raw_size, raw_start = struct.unpack_from("<II", data, header + 16)
        if raw_size:
            found.append((raw_start, raw_start + raw_size, "section " + section_name(data, header, string_table)))
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
