#!/usr/bin/env python3
"""Counts, from Wine's relay trace of `install_bench calls`, the calls each part
of an installation makes to the file, registry, message and resource functions
it traces, and prints them per part, per installed file for the worker's parts.

Usage: count_calls.py RELAY_LOG FILES FOLDERS
"""
import collections
import re
import sys

CALL = re.compile(r"Call (\w+)\.(\w+)\(")
MARK = re.compile(r'OutputDebugStringA\([0-9a-f]+ "kestrel-bench: ([^"]+)"\)')


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    log, files, folders = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    parts = collections.OrderedDict()
    part = None
    with open(log, errors="replace") as trace:
        for line in trace:
            marked = MARK.search(line)
            if marked:
                part = None if marked.group(1) == "end" else marked.group(1)
                continue
            called = CALL.search(line)
            if part and called and called.group(2) != "OutputDebugStringA":
                parts.setdefault(part, collections.Counter())[called.group(2)] += 1
    for name, counts in parts.items():
        total = sum(counts.values())
        per = f", {total / files:.2f} a file" if name.endswith("worker") else ""
        print(f"calls, {name}: {total}{per}: " +
              ", ".join(f"{function} {count}" for function, count in counts.most_common()))
    print(f"({files} files, {folders} folders)")


main()
