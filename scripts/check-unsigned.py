#!/usr/bin/env python3
"""Fails when any of the named Windows binaries carries an Authenticode
signature: after the test command has signed with its throwaway certificate,
the build trees hold what the main command builds without one, and a program
taken from them is not passed off as signed.

Usage: check-unsigned.py FILE...
"""
import sys

from pe_file import PeFile


def main(paths):
    signed = [path for path in paths if PeFile.read(path).certificate_table() != (0, 0)]
    for path in signed:
        print(f"{path} is signed", file=sys.stderr)
    for path in paths:
        if path not in signed:
            print(f"   {path}: not signed")
    return 1 if signed else 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1:]))
