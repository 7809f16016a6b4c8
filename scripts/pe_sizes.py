#!/usr/bin/env python3
"""Prints what a Windows binary's bytes are made of: its payload resources
(RCDATA, the catalog and chunks a setup program carries, with the resource
directory), its other resources (dialogs, texts, pictures, icons, version,
manifest) and the rest, its own code and
data; with the target each figure is held to, when one is given (1 KB is 1000
bytes).

Usage: pe_sizes.py NAME FILE [--code-at-most KB] [--size-at-most KB]
"""
import argparse
import os

from pe_file import RT_RCDATA, PeFile


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("name")
    parser.add_argument("file")
    parser.add_argument("--code-at-most", type=int)
    parser.add_argument("--size-at-most", type=int)
    arguments = parser.parse_args()

    pe = PeFile.read(arguments.file)
    size = os.path.getsize(arguments.file)
    rsrc = pe.section(".rsrc")
    resources = rsrc.raw_size if rsrc else 0
    # The resource directory's own bytes count with the payload, whose
    # hundreds of chunks make up nearly all of it.
    kinds = pe.resource_sizes()
    other = sum(size for kind, size in kinds.items() if kind != RT_RCDATA) if RT_RCDATA in kinds else resources
    payload = resources - other
    code = size - resources
    targets = []
    if arguments.size_at_most:
        targets.append(f"the file {arguments.size_at_most} KB or less")
    if arguments.code_at_most:
        targets.append(f"code and data {arguments.code_at_most} KB or less")
    print(f"{arguments.name}: {size:,} bytes: payload resources {payload:,}, other resources "
          f"{other:,}, code and data {code:,}" + (f" (target: {', '.join(targets)})" if targets else ""))


main()
