#!/usr/bin/env python3
"""Fails unless each shipped binary carries no debug information and keeps its
symbols in a file beside it, through which a crash address still resolves.

For each binary it checks that
- no section holds debug information (.debug_*) and no COFF symbol table is
  left;
- a .gnu_debuglink section names BINARY.debug, which lies beside it and has
  the checksum the link records (a debugger refuses a symbol file of another
  build);
- the address of WinMain resolves, in that symbol file, to a line of one of
  our source files.

Usage: check-stripped.py NM ADDR2LINE BINARY...
"""
import os
import re
import struct
import subprocess
import sys
import zlib

from pe_file import PeFile


def linked_symbol_file(pe):
    """(file name, CRC-32) that the .gnu_debuglink section names, or None."""
    section = pe.section(".gnu_debuglink")
    if section is None:
        return None
    contents = pe.contents(section)
    end = contents.index(b"\0")
    crc_at = (end + 4) & ~3
    return contents[:end].decode("ascii", "replace"), struct.unpack_from("<I", contents, crc_at)[0]


def winmain_location(nm, addr2line, symbol_file):
    symbols = subprocess.run([nm, symbol_file], check=True, capture_output=True, text=True).stdout
    found = re.search(r"^([0-9a-f]+) T _?WinMain(@16)?$", symbols, re.MULTILINE)
    if not found:
        return None
    return subprocess.run([addr2line, "-e", symbol_file, "0x" + found.group(1)],
                          check=True, capture_output=True, text=True).stdout.strip()


def problems_of(nm, addr2line, binary):
    """What is wrong with the binary, and where WinMain resolves when nothing is."""
    pe = PeFile.read(binary)
    problems = []
    debug_sections = [s.name for s in pe.sections if s.name.startswith(".debug")]
    if debug_sections:
        problems.append(f"carries debug sections: {', '.join(debug_sections)}")
    if pe.symbol_count:
        problems.append(f"carries a symbol table of {pe.symbol_count} entries")
    link = linked_symbol_file(pe)
    expected = os.path.basename(binary) + ".debug"
    symbol_file = os.path.join(os.path.dirname(binary), expected)
    if link is None:
        return problems + ["has no .gnu_debuglink section"], None
    if link[0] != expected:
        return problems + [f"links the symbol file {link[0]}, not {expected}"], None
    if not os.path.isfile(symbol_file):
        return problems + [f"its symbol file {symbol_file} is missing"], None
    with open(symbol_file, "rb") as file:
        crc = zlib.crc32(file.read())
    if crc != link[1]:
        problems.append(f"its link records CRC {link[1]:08x}, but {expected} has {crc:08x}")
    location = winmain_location(nm, addr2line, symbol_file)
    if not location or not re.search(r"\.cpp:\d+$", location):
        problems.append(f"WinMain does not resolve to a source line in {expected} ({location})")
    return problems, location


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    nm, addr2line, *binaries = sys.argv[1:]
    failed = False
    for binary in binaries:
        problems, location = problems_of(nm, addr2line, binary)
        for problem in problems:
            print(f"{binary}: {problem}")
        if not problems:
            print(f"{binary}: stripped; its symbols beside it resolve WinMain to {location}")
        failed = failed or bool(problems)
    sys.exit(1 if failed else 0)


main()
