"""What the build's checks read from a Windows binary: its headers, its
sections and the resources it carries. Nothing here runs on its own."""
import struct
from collections import namedtuple

Section = namedtuple("Section", "name header raw_start raw_size virtual_address virtual_size")

RT_RCDATA = 10


class PeFile:
    def __init__(self, data):
        if data[:2] != b"MZ":
            raise ValueError("no PE file")
        self.data = data
        self.pe = struct.unpack_from("<I", data, 0x3C)[0]
        count = struct.unpack_from("<H", data, self.pe + 6)[0]
        self.symbol_table, self.symbol_count, optional_size = struct.unpack_from("<IIH", data, self.pe + 12)
        self.optional = self.pe + 24
        table = self.optional + optional_size
        self.sections = [self._section(header) for header in range(table, table + 40 * count, 40)]

    @classmethod
    def read(cls, path):
        with open(path, "rb") as file:
            return cls(file.read())

    def _section(self, header):
        name = self.data[header:header + 8].rstrip(b"\0").decode("ascii", "replace")
        # Names longer than eight characters stand in the COFF string table as "/offset".
        if name.startswith("/") and name[1:].isdigit() and self.symbol_table:
            start = self.symbol_table + 18 * self.symbol_count + int(name[1:])
            name = self.data[start:self.data.index(b"\0", start)].decode("ascii", "replace")
        virtual_size, virtual_address, raw_size, raw_start = struct.unpack_from("<IIII", self.data, header + 8)
        return Section(name, header, raw_start, raw_size, virtual_address, virtual_size)

    def certificate_table(self):
        """(file offset, size) of the Authenticode signature's certificates; (0, 0) when unsigned."""
        pe32_plus = struct.unpack_from("<H", self.data, self.optional)[0] == 0x20B
        directories = self.optional + (112 if pe32_plus else 96)
        return struct.unpack_from("<II", self.data, directories + 4 * 8)  # the fifth: the security directory

    def section(self, name):
        return next((s for s in self.sections if s.name == name), None)

    def contents(self, section):
        return self.data[section.raw_start:section.raw_start + min(section.raw_size, section.virtual_size)]

    def resource_sizes(self):
        """{resource type (a number, or a name): total bytes of its data}."""
        rsrc = self.section(".rsrc")
        sizes = {}
        if rsrc is None:
            return sizes
        base = rsrc.raw_start

        def entries(offset):
            named, numbered = struct.unpack_from("<HH", self.data, base + offset + 12)
            for entry in range(base + offset + 16, base + offset + 16 + 8 * (named + numbered), 8):
                yield struct.unpack_from("<II", self.data, entry)

        def data_size(offset):
            if offset & 0x80000000:
                return sum(data_size(child) for _, child in entries(offset & 0x7FFFFFFF))
            return struct.unpack_from("<I", self.data, base + offset + 4)[0]

        for kind, offset in entries(0):
            sizes[kind if not kind & 0x80000000 else f"name@{kind & 0x7FFFFFFF:#x}"] = data_size(offset)
        return sizes
