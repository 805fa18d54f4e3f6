#!/usr/bin/env python3
"""Reads the resource directory of a Windows executable (PE32 or PE32+).

    read_resources(path) -> [Resource(type, id, language, data), ...]

`type` and `id` are ints for numeric entries and strings for named ones
("TEXTFILE", "PNG"). The three levels of the directory (type, name, language)
are walked in file order. Every offset is checked against the file, so a
damaged file raises ValueError instead of reading elsewhere.

Run as a script it lists every resource: type, id, language, size.
"""
import collections
import struct
import sys

Resource = collections.namedtuple("Resource", "type id language data")

_DIRECTORY_RESOURCE = 2
_SUBDIRECTORY = 0x80000000


class _Image:
    def __init__(self, data):
        self.data = data
        if self.read("<2s", 0)[0] != b"MZ":
            raise ValueError("no MZ header")
        pe = self.read("<I", 0x3C)[0]
        if self.read("<4s", pe)[0] != b"PE\0\0":
            raise ValueError("no PE signature")
        section_count, optional_size = self.read("<2xH12xH2x", pe + 4)
        optional = pe + 24
        magic = self.read("<H", optional)[0]
        if magic == 0x10B:
            directories_at = optional + 96
        elif magic == 0x20B:
            directories_at = optional + 112
        else:
            raise ValueError("unknown optional header magic 0x%X" % magic)
        directory_count = self.read("<I", directories_at - 4)[0]
        if directory_count <= _DIRECTORY_RESOURCE:
            self.resource_rva = 0
        else:
            self.resource_rva = self.read("<I", directories_at + 8 * _DIRECTORY_RESOURCE)[0]
        self.sections = []
        for i in range(section_count):
            virtual_size, virtual_address, raw_size, raw_pointer = self.read("<8xIIII", optional + optional_size + 40 * i)
            self.sections.append((virtual_address, max(virtual_size, raw_size), raw_pointer, raw_size))

    def read(self, layout, offset):
        size = struct.calcsize(layout)
        if offset < 0 or offset + size > len(self.data):
            raise ValueError("read of %d bytes at %d runs past the file" % (size, offset))
        return struct.unpack_from(layout, self.data, offset)

    def offset_of(self, rva, size):
        """File offset of `size` bytes at an RVA; they must lie in the raw data of one section."""
        for virtual_address, span, raw_pointer, raw_size in self.sections:
            if virtual_address <= rva < virtual_address + span:
                start = rva - virtual_address
                if start + size > raw_size or raw_pointer + start + size > len(self.data):
                    raise ValueError("data at RVA 0x%X runs past its section" % rva)
                return raw_pointer + start
        raise ValueError("RVA 0x%X is in no section" % rva)


def _entries(image, base, directory, seen):
    """(name or id, offset word) of each entry of the directory at `base + directory`."""
    if directory in seen:
        raise ValueError("resource directory loops back to offset %d" % directory)
    seen.add(directory)
    named, numbered = image.read("<12xHH", base + directory)
    for i in range(named + numbered):
        name, target = image.read("<II", base + directory + 16 + 8 * i)
        if name & _SUBDIRECTORY:
            length = image.read("<H", base + (name & ~_SUBDIRECTORY))[0]
            start = base + (name & ~_SUBDIRECTORY) + 2
            if start + 2 * length > len(image.data):
                raise ValueError("resource name runs past the file")
            name = image.data[start:start + 2 * length].decode("utf-16-le")
        yield name, target


def read_resources(path):
    with open(path, "rb") as f:
        image = _Image(f.read())
    if image.resource_rva == 0:
        return []
    base = image.offset_of(image.resource_rva, 16)
    seen = set()
    resources = []
    for type_name, names in _entries(image, base, 0, seen):
        if not names & _SUBDIRECTORY:
            raise ValueError("type entry %r is not a directory" % (type_name,))
        for res_name, languages in _entries(image, base, names & ~_SUBDIRECTORY, seen):
            if not languages & _SUBDIRECTORY:
                raise ValueError("name entry %r is not a directory" % (res_name,))
            for language, leaf in _entries(image, base, languages & ~_SUBDIRECTORY, seen):
                if leaf & _SUBDIRECTORY:
                    raise ValueError("language entry %r is not a leaf" % (language,))
                rva, size = image.read("<II", base + leaf)
                offset = image.offset_of(rva, size)
                resources.append(Resource(type_name, res_name, language, image.data[offset:offset + size]))
    return resources


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: pe_resources.py FILE.exe")
    for res in read_resources(sys.argv[1]):
        print("%-10s %-6s %5d %8d" % (res.type, res.id, res.language, len(res.data)))


if __name__ == "__main__":
    main()
