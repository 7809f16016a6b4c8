#!/usr/bin/env python3
"""Fails unless each program's manifest, as Windows finds it in the file
(resource 1 of type RT_MANIFEST), is well-formed XML that
- asks for elevation, and nothing else: requestedExecutionLevel
  requireAdministrator without uiAccess, in asm.v3's trustInfo;
- declares system DPI awareness: dpiAware "true" in the namespace Windows
  reads it from (http://schemas.microsoft.com/SMI/2005/WindowsSettings),
  inside asm.v3's application and windowsSettings; Windows ignores the
  element in any other namespace (its documentation once printed https);
- holds nothing else under the assembly but those two asm.v3 elements: XP
  and Vista pass over asm.v3 elements they do not know, whereas XP refuses to
  start a program whose manifest has an application element of asm.v1; so
  no dependency either, and the programs keep the classic common controls.

Usage: check-manifests.py PROGRAM...
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_MANIFEST = 24
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
WINDOWS_SETTINGS = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"


def resource(data, type_id, name_id):
    """The bytes of the first language of resource name_id of type type_id."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, = struct.unpack_from("<H", data, pe + 6)
    optional_size, = struct.unpack_from("<H", data, pe + 20)
    optional = pe + 24
    magic, = struct.unpack_from("<H", data, optional)
    directories = optional + (96 if magic == 0x10B else 112)
    root_rva, _ = struct.unpack_from("<II", data, directories + 2 * 8)
    table = optional + optional_size

    def file_offset(rva):
        for header in range(table, table + 40 * sections, 40):
            virtual_size, virtual_start, _, raw_start = struct.unpack_from("<IIII", data, header + 8)
            if virtual_start <= rva < virtual_start + virtual_size:
                return rva - virtual_start + raw_start
        raise ValueError(f"address {rva:#x} lies in no section")

    root = file_offset(root_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", data, directory + 12)
        for entry in range(directory + 16, directory + 16 + 8 * (named + numbered), 8):
            yield struct.unpack_from("<II", data, entry)

    def subdirectory(directory, wanted):
        for name, target in entries(directory):
            if wanted is None or name == wanted:
                return root + (target & 0x7FFFFFFF)
        return None

    names = subdirectory(root, type_id)
    languages = names and subdirectory(names, name_id)
    leaf = languages and subdirectory(languages, None)
    if leaf is None:
        return None
    data_rva, size = struct.unpack_from("<II", data, leaf)
    start = file_offset(data_rva)
    return data[start:start + size]


def problems(manifest):
    try:
        assembly = ElementTree.fromstring(manifest)
    except ElementTree.ParseError as error:
        return [f"not well-formed XML: {error}"]
    found = []
    if assembly.tag != ASM_V1 + "assembly" or assembly.get("manifestVersion") != "1.0":
        found.append(f"the root is {assembly.tag} version {assembly.get('manifestVersion')}, "
                     "not an asm.v1 assembly of manifest version 1.0")
    children = [child.tag for child in assembly]
    if children != [ASM_V3 + "trustInfo", ASM_V3 + "application"]:
        found.append(f"the assembly holds {children}, not asm.v3's trustInfo and application alone")

    levels = assembly.findall(f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/"
                              f"{ASM_V3}requestedExecutionLevel")
    if [level.attrib for level in levels] != [{"level": "requireAdministrator", "uiAccess": "false"}]:
        found.append(f"the elevation request is {[level.attrib for level in levels]}, "
                     "not requireAdministrator without uiAccess")

    settings = assembly.findall(f"{ASM_V3}application/{ASM_V3}windowsSettings/*")
    declared = [(setting.tag, (setting.text or "").strip()) for setting in settings]
    if declared != [(WINDOWS_SETTINGS + "dpiAware", "true")]:
        found.append(f"the Windows settings are {declared}, not dpiAware true of {WINDOWS_SETTINGS}")
    return found


def main(programs):
    failed = False
    for program in programs:
        with open(program, "rb") as file:
            manifest = resource(file.read(), RT_MANIFEST, 1)
        found = ["no manifest resource 1"] if manifest is None else problems(manifest)
        for problem in found:
            print(f"{program}: {problem}")
        if not found:
            print(f"{program}: well-formed, requireAdministrator, system DPI aware")
        failed = failed or bool(found)
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1:]))
