#!/usr/bin/env python3
"""Writes the NSIS script of the benchmark's peer installer: the files of the
benchmark tree that the setup program installs along its default route (the
program files, and Flight Simulator 2004's modules and the two model sets),
into the same folders below the one /D= names, zlib-compressed file by file
(not solid), silent, for the architecture of the setup program it is timed
against (its stub: x86-unicode or amd64-unicode). The peer is run, never read:
nothing of NSIS is copied.

Usage: make_nsis_peer.py TREE SCRIPT OUTPUT_EXE TARGET
"""
import sys

MODULES = ["kstrans9.dll", "fsuipc.dll", "ksmod9.dll", "ksmpjoin9.dll"]


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    tree, script, output, target = sys.argv[1:]
    lines = [
        f"Target {target}",
        "SetCompressor zlib",
        f'OutFile "{output}"',
        'InstallDir "C:\\bench-peer"',
        "RequestExecutionLevel admin",
        "SilentInstall silent",
        "Section",
        '  SetOutPath "$INSTDIR\\kestrel"',
        f'  File /r "{tree}/ks/*.*"',
        '  SetOutPath "$INSTDIR\\fs9\\modules"',
        *[f'  File "{tree}/fs/modules/{name}"' for name in MODULES],
    ]
    for model_set in ("kestrel", "marlin"):
        lines += [f'  SetOutPath "$INSTDIR\\fs9\\aircraft\\{model_set}"', f'  File /r "{tree}/fs/aircraft/{model_set}/*.*"']
    lines.append("SectionEnd")
    with open(script, "w") as out:
        out.write("\n".join(lines) + "\n")


main()
