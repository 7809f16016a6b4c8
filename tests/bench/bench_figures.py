#!/usr/bin/env python3
"""The benchmark's figures drawn from what install_bench and the walk printed
for one payload (scripts/bench.sh keeps it as results.txt): the whole setup
against the worker alone, and the two payload sizes side by side.

Usage: bench_figures.py size RESULTS
       bench_figures.py scale RESULTS FILES LARGE_RESULTS LARGE_FILES
FILES: how many files the benchmark's route installs from that payload.
"""
import re
import sys

# What each figure is read from, and the group that holds it.
FIGURES = {
    "worker_best": (r"^best of \d+: plain loop [\d.]+ ms, worker ([\d.]+) ms;", 1),
    "worker": (r"^best of \d+: .*; medians [\d.]+ and ([\d.]+) ms$", 1),
    "growth": (r"^memory, worker run: peak working set .* \(growth (\d+) KiB\)", 1),
    "private_catalog": (r"^memory, worker run: committed private \d+ KiB at start, \+(\d+) KiB once", 1),
    "private_extracting": (r"^memory, worker run: committed private .*, \+(\d+) KiB at most while extracting", 1),
    "setup_best": (r"^setup best of \d+: ([\d.]+) ms, median", 1),
    "setup": (r"^setup best of \d+: [\d.]+ ms, median ([\d.]+) ms;", 1),
    "setup_over": (r"^setup best of \d+: .*; over it: best [\d.]+ ms, median ([\d.]+) ms;", 1),
    "setup_memory": (r"^setup memory: peak working set at the finished page, median (\d+) KiB", 1),
    "registration": (r"^registration: (\d+) values, (\d+) bytes of names and data after a fresh", 2),
    "nsis_fresh": (r"^ratio: setup / NSIS per round, median \[range\]: fresh ([\d.]+ \[[\d.-]+\])", 1),
    "nsis_over": (r"^ratio: setup / NSIS per round, .*, over ([\d.]+ \[[\d.-]+\])", 1),
}


def read(results):
    with open(results, errors="replace") as text:
        lines = text.read().splitlines()
    figures = {}
    for name, (pattern, group) in FIGURES.items():
        for line in lines:
            found = re.search(pattern, line)
            if found:
                figures[name] = found.group(group)
    missing = [name for name in FIGURES if name not in figures]
    if missing:
        sys.exit(f"bench_figures.py: {results} lacks the lines of {', '.join(missing)}")
    return figures


def size(results):
    f = read(results)
    setup, worker = float(f["setup"]), float(f["worker"])
    setup_best, worker_best = float(f["setup_best"]), float(f["worker_best"])
    print(f"ratio: setup / worker {setup_best / worker_best:.2f} on the best times ({setup_best:.1f} and "
          f"{worker_best:.1f} ms), {setup / worker:.2f} on the medians (target 1.25 or less)")


def per_file(f, files):
    """The medians' time per installed file, in microseconds."""
    return {part: 1000 * float(f[part]) / files for part in ("setup", "setup_over", "worker")}


def scale(results, files, large_results, large_files):
    small, large = read(results), read(large_results)
    each_small, each_large = per_file(small, files), per_file(large, large_files)
    for label, each in ((f"{files:,} files", each_small), (f"{large_files:,} files", each_large)):
        print(f"time per file at {label}, medians: setup {each['setup']:.0f} us into fresh folders, "
              f"{each['setup_over']:.0f} us over them; worker {each['worker']:.0f} us")
    print(f"ratio: time per file at {large_files:,} / at {files:,} files: setup "
          f"{each_large['setup'] / each_small['setup']:.2f} fresh, "
          f"{each_large['setup_over'] / each_small['setup_over']:.2f} over; "
          f"worker {each_large['worker'] / each_small['worker']:.2f} (target 1.10 or less)")
    growth_small, growth_large = int(small["growth"]), int(large["growth"])
    print(f"memory: the worker run's peak working set grows {growth_small:,} KiB at {files:,} files, "
          f"{growth_large:,} KiB at {large_files:,}: {growth_large - growth_small:+,} KiB "
          f"(target within 10,240 KiB)")
    private_small = int(small["private_catalog"]) + int(small["private_extracting"])
    private_large = int(large["private_catalog"]) + int(large["private_extracting"])
    print(f"memory: the worker's committed private memory at most {private_small:,} KiB above its start at "
          f"{files:,} files, {private_large:,} KiB at {large_files:,} (Wine's own memory left out)")
    print(f"memory: the setup program's peak working set at the finished page {int(small['setup_memory']):,} KiB "
          f"at {files:,} files, {int(large['setup_memory']):,} KiB at {large_files:,} "
          f"(the payload's pages read from its own file included)")
    bytes_small, bytes_large = int(small["registration"]), int(large["registration"])
    print(f"registration, names and data of its values: {bytes_small:,} bytes at {files:,} files "
          f"({bytes_small / files:.1f} a file), {bytes_large:,} bytes at {large_files:,} "
          f"({bytes_large / large_files:.1f} a file)")
    for label, f in ((f"{files:,} files", small), (f"{large_files:,} files", large)):
        print(f"ratio: setup / NSIS per round at {label}, median [range]: fresh {f['nsis_fresh']} (target 0.80 or less), "
              f"over {f['nsis_over']} (target 1.20 or less)")


def main():
    args = sys.argv[1:]
    if len(args) == 2 and args[0] == "size":
        size(args[1])
    elif len(args) == 5 and args[0] == "scale":
        scale(args[1], int(args[2]), args[3], int(args[4]))
    else:
        sys.exit(__doc__)


main()
