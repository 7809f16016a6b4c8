#!/usr/bin/env python3
"""Fails unless the shipped binaries start on Windows XP SP3 and load nothing
from beside themselves.

For each binary it reads the import table and checks that
- every DLL is one that Windows always takes from the system folder (a known
  DLL), so that no DLL planted beside the program is loaded before its first
  instruction runs;
- every function imported from a system DLL other than msvcrt.dll is declared
  by the mingw-w64 headers for Windows XP (_WIN32_WINNT=0x0501): a function
  the headers keep for Vista and later, such as GetTickCount64, is missing on
  XP, and the loader refuses the program with "procedure entry point ... could
  not be located";
- every function imported from msvcrt.dll is exported by msvcr70.dll, as
  mingw-w64's import library lists it: XP's msvcrt.dll is the runtime of that
  release (file version 7.0), and later Windows added to it;
- no function is imported that a later Windows forwards from a known DLL to
  one that is not (FORWARDED_OUTSIDE_KNOWN_DLLS): the loader resolves such a
  forwarder before the program's first instruction, by searching for the
  target DLL as for any other, the program's folder first. Wine implements
  these functions in the DLL itself, so no run under Wine shows it.

Usage: check-xp-imports.py OBJDUMP CC NM MSVCR70_IMPORT_LIBRARY BINARY...
"""
import re
import subprocess
import sys

KNOWN_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll",
              "oleaut32.dll", "msvcrt.dll", "shlwapi.dll", "comdlg32.dll"}

# Imports that Windows 7 and later forward to a DLL outside the known DLLs,
# with that DLL. Looked up at run time instead, once the DLL search is
# restricted to the system folder, they are safe.
FORWARDED_OUTSIDE_KNOWN_DLLS = {
    ("advapi32.dll", "SystemFunction036"): "cryptbase.dll",  # RtlGenRandom
    ("advapi32.dll", "SystemFunction040"): "cryptbase.dll",  # RtlEncryptMemory
    ("advapi32.dll", "SystemFunction041"): "cryptbase.dll",  # RtlDecryptMemory
    **{("advapi32.dll", name): "cryptsp.dll" for name in (
        "CryptAcquireContextA", "CryptAcquireContextW", "CryptReleaseContext", "CryptGenRandom",
        "CryptCreateHash", "CryptHashData", "CryptGetHashParam", "CryptDestroyHash", "CryptDeriveKey",
        "CryptEncrypt", "CryptDecrypt", "CryptImportKey", "CryptExportKey", "CryptDestroyKey")},
}

# Everything a system DLL declares for XP, with no part of windows.h left out.
HEADERS = ["windows.h", "commctrl.h", "shlobj.h", "shlwapi.h", "shellapi.h", "objbase.h", "oleauto.h",
           "sddl.h", "aclapi.h", "ntsecapi.h", "wincrypt.h", "tlhelp32.h", "winver.h"]
XP_DEFINES = ["-D_WIN32_WINNT=0x0501", "-DWINVER=0x0501", "-D_WIN32_IE=0x0600", "-DNTDDI_VERSION=0x05010300"]


def imports(objdump, binary):
    """{dll name in lower case: [function names]} from the binary's import table."""
    table = {}
    dll = None
    output = subprocess.run([objdump, "-p", binary], check=True, capture_output=True, text=True).stdout
    for line in output.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1).lower()
            table.setdefault(dll, [])
            continue
        entry = re.match(r"\t[0-9a-f]+\t\s*\d+\s+(\S+)$", line)
        if dll and entry:
            table[dll].append(entry.group(1))
    return table


def undeclared_for_xp(cc, names):
    """The names that the headers do not declare when compiling for XP."""
    if not names:
        return set()
    source = "".join(f"#include <{header}>\n" for header in HEADERS)
    source += "".join(f"void *xp_import_{n} = (void *)&{name};\n" for n, name in enumerate(names))
    result = subprocess.run([cc, "-x", "c", "-fsyntax-only", "-fmax-errors=0", *XP_DEFINES, "-"],
                            input=source, capture_output=True, text=True)
    missing = set(re.findall(r"['‘]([A-Za-z_][A-Za-z0-9_]*)['’] undeclared", result.stderr))
    if result.returncode != 0 and not missing:
        sys.exit("The XP declaration check did not compile:\n" + result.stderr)
    return missing


def msvcr70_exports(nm, library):
    """Export names of msvcr70.dll from its import library: __imp_ and, for C
    names on i686, the one leading underscore taken off."""
    output = subprocess.run([nm, library], check=True, capture_output=True, text=True).stdout
    names = set()
    for symbol in re.findall(r" I __imp_(\S+)$", output, re.MULTILINE):
        names.add(symbol[1:] if symbol.startswith("_") and not symbol.startswith("_?") else symbol)
    if len(names) < 500:
        sys.exit(f"{library} lists only {len(names)} exports; it is not msvcr70.dll's import library")
    return names


def main():
    if len(sys.argv) < 6:
        sys.exit(__doc__)
    objdump, cc, nm, msvcr70_library, *binaries = sys.argv[1:]
    crt = msvcr70_exports(nm, msvcr70_library)
    problems = []
    for binary in binaries:
        table = imports(objdump, binary)
        if not table:
            problems.append(f"{binary}: no import table found")
        system_functions = sorted({f for dll, fs in table.items() if dll != "msvcrt.dll" for f in fs})
        missing_on_xp = undeclared_for_xp(cc, system_functions)
        for dll, functions in sorted(table.items()):
            print(f"{binary}: {dll}: {len(functions)} functions")
            if dll not in KNOWN_DLLS:
                problems.append(f"{binary}: imports {dll}, which Windows may load from the program's folder")
            for function in functions:
                forwarded_to = FORWARDED_OUTSIDE_KNOWN_DLLS.get((dll, function))
                if forwarded_to:
                    problems.append(f"{binary}: {dll}!{function} is forwarded to {forwarded_to} on Windows 7 and "
                                    "later, which Windows may load from the program's folder")
                if dll == "msvcrt.dll" and function not in crt:
                    problems.append(f"{binary}: msvcrt.dll!{function} is not in Windows XP's msvcrt.dll")
                elif dll != "msvcrt.dll" and function in missing_on_xp:
                    problems.append(f"{binary}: {dll}!{function} is not declared for Windows XP")
    for problem in problems:
        print(problem)
    if problems:
        sys.exit(1)
    print(f"{len(binaries)} binaries import only known DLLs, no function forwarded outside them, "
          "and only what Windows XP SP3 has")


main()
