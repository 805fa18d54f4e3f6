#!/usr/bin/python3
"""tools/embed_resources.py gives the Linux build the resources windres gives Corvelle.scr:
for small scripts of each statement kind, its resources equal windres's, ids,
languages and bytes (icon groups included, whose directory windres rewrites)."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.environ.get("CORVELLE_SOURCE_DIR", os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(SOURCE_DIR, "tools"))
import embed_resources  # noqa: E402

WINDRES = "x86_64-w64-mingw32-windres"


def read_res(data):
    """(type, id, language, bytes) of every resource in a .res file, skipping its empty first entry."""
    def name_at(at):
        if struct.unpack_from("<H", data, at)[0] == 0xFFFF:
            return struct.unpack_from("<H", data, at + 2)[0], at + 4
        end = at
        while struct.unpack_from("<H", data, end)[0] != 0:
            end += 2
        return data[at:end].decode("utf-16-le"), end + 2

    resources = []
    at = 0
    while at < len(data):
        data_size, header_size = struct.unpack_from("<II", data, at)
        res_type, after = name_at(at + 8)
        res_id, after = name_at(after)
        after = (after + 3) & ~3
        language = struct.unpack_from("<6xH", data, after)[0]
        body = data[at + header_size:at + header_size + data_size]
        if data_size:
            resources.append((res_type, res_id, language, body))
        at = (at + header_size + data_size + 3) & ~3
    return resources


def icon_file(entries):
    """An .ico file whose directory holds the given (width, colours, reserved, planes, bits) entries."""
    images = [bytes([i + 1]) * 40 for i in range(len(entries))]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for (width, colours, reserved, planes, bits), image in zip(entries, images):
        out += struct.pack("<BBBBHHII", width, width, colours, reserved, planes, bits, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def bmp_file(payload):
    return struct.pack("<2sIHHI", b"BM", 14 + len(payload), 0, 0, 54) + payload


# Name, script, the files it names.
CASES = [
    ("string types and languages",
     'LANGUAGE 0x19, 0x01\n7 TEXTFILE "a.txt"\n8 PNG "b.png"\nLANGUAGE 0x09, 0x01\n1 24 "c.manifest"\n',
     {"a.txt": b"line\r\n", "b.png": b"\x89PNG not really", "c.manifest": b"<assembly/>"}),
    ("bitmap without its file header, trailing bytes kept",
     'LANGUAGE 0x19, 0x01\n9 BITMAP "p.bmp"\n',
     {"p.bmp": bmp_file(struct.pack("<IiiHH", 40, 1, 1, 1, 24) + bytes(26) + b"\1\2\3\0" + b"\0\0")}),
    ("icon groups numbered across the script",
     'LANGUAGE 0x19, 0x01\n102 ICON "i.ico"\n113 ICON "i.ico"\n',
     {"i.ico": icon_file([(32, 16, 0, 1, 4), (16, 0, 0, 1, 8), (32, 0, 0, 1, 32)])}),
    ("icon directory with zero planes and bits and a reserved byte",
     'LANGUAGE 0x19, 0x01\n5 ICON "z.ico"\n',
     {"z.ico": icon_file([(32, 16, 7, 0, 0), (16, 2, 0, 0, 0), (48, 0, 9, 0, 0), (24, 16, 0, 2, 8)])}),
]


class EmbedResourcesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if shutil.which(WINDRES) is None:
            raise AssertionError("%s is not installed (scripts/setup installs it)" % WINDRES)

    def test_same_resources_as_windres(self):
        for name, script, files in CASES:
            with self.subTest(case=name), tempfile.TemporaryDirectory() as folder:
                for file_name, data in files.items():
                    with open(os.path.join(folder, file_name), "wb") as f:
                        f.write(data)
                script_path = os.path.join(folder, "test.rc")
                with open(script_path, "w") as f:
                    f.write(script)
                res_path = os.path.join(folder, "test.res")
                subprocess.run([WINDRES, "-O", "res", "-i", script_path, "-o", res_path], check=True, timeout=60)
                with open(res_path, "rb") as f:
                    from_windres = read_res(f.read())
                ours, _ = embed_resources.parse_script(script_path)
                from_script = [(r.type_name if r.type_name else r.type_id, r.res_id, r.language, r.data) for r in ours]
                self.assertEqual(sorted(from_script, key=repr), sorted(from_windres, key=repr))


if __name__ == "__main__":
    unittest.main()
