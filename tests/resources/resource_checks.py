"""Checks shared by the tests of the Linux resource table and of Corvelle.scr.

A test class mixes `ResourceChecks` into unittest.TestCase and sets
`resources` to a list of Resource(type, id, language, data); numeric types are
ints, string types their names.
"""
import collections
import os
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
from pe_resources import Resource  # noqa: E402

SOURCE_DIR = os.environ.get("CORVELLE_SOURCE_DIR", os.path.join(HERE, "..", ".."))
RESOURCES_DIR = os.path.join(SOURCE_DIR, "resources")

BITMAP, ICON, GROUP_ICON, MANIFEST = 2, 3, 14, 24
RUSSIAN, US_ENGLISH = 1049, 1033

# The six images of each icon group: edge, bits a pixel, bytes.
ICON_IMAGES = [(32, 4, 744), (16, 4, 296), (32, 8, 2216), (16, 8, 1384), (32, 32, 4264), (16, 32, 1128)]

# Every resource of the executable: type, id, language, exact size (None where
# the size follows from our own wording), the committed file it comes from
# (None for icon images and groups, which come from the .ico file).
Expected = collections.namedtuple("Expected", "type id language size source")
EXPECTED = [
    Expected("TEXTFILE", 136, RUSSIAN, None, "shaders/hearts.frag"),
    Expected("TEXTFILE", 137, RUSSIAN, None, "shaders/hearts.vert"),
    Expected("TEXTFILE", 140, RUSSIAN, None, "model/rectangle.mtl"),
    Expected("TEXTFILE", 141, RUSSIAN, None, "model/rectangle.obj"),
    Expected(BITMAP, 101, RUSSIAN, 27598, "bitmaps/about_hearts.bmp"),
    Expected(BITMAP, 223, RUSSIAN, 262186, "bitmaps/noise.bmp"),
    Expected(GROUP_ICON, 102, RUSSIAN, 90, None),
    Expected(GROUP_ICON, 113, RUSSIAN, 90, None),
    Expected(MANIFEST, 1, US_ENGLISH, None, "corvelle.manifest"),
    Expected("PNG", 124, RUSSIAN, None, "logo/kestrova_logo.png"),
] + [Expected(ICON, first + i, RUSSIAN, size, None)
     for first in (1, 7) for i, (_, _, size) in enumerate(ICON_IMAGES)]


def read_dump(path):
    """Runs the Linux table dump and parses its records."""
    output = subprocess.run([path], stdout=subprocess.PIPE, check=True, timeout=60).stdout
    resources = []
    at = 0
    while at < len(output):
        end = output.index(b"\n", at)
        type_text, res_id, language, size = output[at:end].decode("ascii").split(" ")
        start = end + 1
        data = output[start:start + int(size)]
        if len(data) != int(size) or output[start + int(size):start + int(size) + 1] != b"\n":
            raise ValueError("dump record %s %s is cut short" % (type_text, res_id))
        res_type = int(type_text) if type_text.isdigit() else type_text
        resources.append(Resource(res_type, int(res_id), int(language), data))
        at = start + int(size) + 1
    return resources


def committed_bytes(relative_path):
    with open(os.path.join(RESOURCES_DIR, relative_path), "rb") as f:
        return f.read()


def dib_header(data):
    """width, height, planes, bit count, compression, image size, colours used of a BITMAPINFOHEADER."""
    size, width, height, planes, bits, compression, image_size, _, _, used, _ = struct.unpack_from("<IiiHHIIiiII", data)
    if size != 40:
        raise AssertionError("header size %d, not 40" % size)
    return width, height, planes, bits, compression, image_size, used


def text_lines(data):
    """The lines of a CR LF text, which must end with CR LF and hold no lone CR or LF."""
    if not data.endswith(b"\r\n"):
        raise AssertionError("text does not end with CR LF")
    lines = data[:-2].split(b"\r\n")
    for number, line in enumerate(lines, 1):
        if b"\r" in line or b"\n" in line:
            raise AssertionError("line %d has a lone CR or LF: %r" % (number, line))
    return [line.decode("ascii") for line in lines]


OBJ_DATA_LINES = [
    "mtllib rectangle_object.mtl",
    "v  -1.0000 1.0000 0.0000",
    "v  -1.0000 -1.0000 -0.0000",
    "v  1.0000 1.0000 0.0000",
    "v  1.0000 -1.0000 -0.0000",
    "vn 0.0000 -0.0000 1.0000",
    "vt 0.0000 1.0000 0.0000",
    "vt 0.0000 0.0000 0.0000",
    "vt 1.0000 1.0000 0.0000",
    "vt 1.0000 0.0000 0.0000",
    "o Plane001",
    "g Plane001",
    "usemtl wire_198225087",
    "f 1/1/1 2/2/1 3/3/1 ",
    "f 4/4/1 3/3/1 2/2/1 ",
]
OBJ_COMMENT_LINES = ["#", "# object Plane001", "#", "# 4 vertices", "# 1 vertex normals", "# 4 texture coords",
                     "# 2 faces"]
MTL_DATA_LINES = [
    "newmtl wire_198225087",
    "\tNs 32",
    "\td 1",
    "\tTr 0",
    "\tTf 1 1 1",
    "\tillum 2",
    "\tKa 0.7765 0.8824 0.3412",
    "\tKd 0.7765 0.8824 0.3412",
    "\tKs 0.3500 0.3500 0.3500",
]


class ResourceChecks:
    resources = []

    def find(self, res_type, res_id):
        found = [r for r in self.resources if r.type == res_type and r.id == res_id]
        self.assertEqual(len(found), 1, "resource %s %s is there %d times" % (res_type, res_id, len(found)))
        return found[0]

    def test_every_resource_of_the_table_and_no_other(self):
        listed = sorted((str(r.type), r.id, r.language) for r in self.resources)
        expected = sorted((str(e.type), e.id, e.language) for e in EXPECTED)
        self.assertEqual(listed, expected)
        for e in EXPECTED:
            with self.subTest(type=e.type, id=e.id):
                res = self.find(e.type, e.id)
                if e.size is not None:
                    self.assertEqual(len(res.data), e.size)
                if e.source is not None:
                    source = committed_bytes(e.source)
                    # A BITMAP resource is its .bmp file without the 14-byte file header.
                    self.assertEqual(res.data, source[14:] if e.type == BITMAP else source)

    def test_noise_picture(self):
        data = self.find(BITMAP, 223).data
        self.assertEqual(dib_header(data), (256, 256, 1, 32, 0, 262144, 0))
        self.assertEqual(data[-2:], b"\0\0")
        pixels = data[40:40 + 262144]
        blue, green, red, alpha = (pixels[k::4] for k in range(4))
        self.assertEqual(alpha, bytes(65536))
        wrong = [(x, y) for y in range(256) for x in range(256)
                 if green[y * 256 + x] != red[((y - 17) % 256) * 256 + (x - 37) % 256]]
        self.assertEqual(wrong, [], "green differs from red shifted by (37, 17)")
        for name, plane in (("red", red), ("blue", blue)):
            with self.subTest(channel=name):
                counts = collections.Counter(plane)
                # 65,536 uniform draws give each value 256 times, give or take 16.
                self.assertEqual(len(counts), 256)
                self.assertLess(max(abs(c - 256) for c in counts.values()), 96)
        # Independent channels: red and blue are uncorrelated, and green is not red itself.
        self.assertLess(abs(correlation(red, blue)), 0.02)
        self.assertLess(abs(correlation(red, green)), 0.02)

    def test_about_picture(self):
        data = self.find(BITMAP, 101).data
        self.assertEqual(dib_header(data), (110, 83, 1, 24, 0, 332 * 83, 0))
        self.assertEqual(data[-2:], b"\0\0")
        pixels = [data[40 + row * 332 + 3 * column:40 + row * 332 + 3 * column + 3]
                  for row in range(83) for column in range(110)]
        black = sum(1 for b, g, r in pixels if max(b, g, r) < 24)
        red = sum(1 for b, g, r in pixels if r >= 64 and r > 2 * g + 16 and r > 2 * b + 16)
        other = len(pixels) - black - red
        # Red hearts on black: both plenty, and little that is neither (highlights, dark edges).
        self.assertGreater(black, len(pixels) // 5)
        self.assertGreater(red, len(pixels) // 5)
        self.assertLess(other, len(pixels) // 4)

    def test_icon_groups(self):
        for group_id, first in ((102, 1), (113, 7)):
            with self.subTest(group=group_id):
                group = self.find(GROUP_ICON, group_id).data
                self.assertEqual(struct.unpack_from("<HHH", group), (0, 1, 6))
                for i, (edge, bits, size) in enumerate(ICON_IMAGES):
                    entry = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
                    colours = 16 if bits == 4 else 0
                    self.assertEqual(entry, (edge, edge, colours, 0, 1, bits, size, first + i))
                    image = self.find(ICON, first + i).data
                    self.assertEqual(len(image), size)
                    width, height, planes, bit_count, compression, _, _ = dib_header(image)
                    self.assertEqual((width, height, planes, bit_count, compression), (edge, 2 * edge, 1, bits, 0))
        for i in range(6):
            with self.subTest(copy=7 + i):
                self.assertEqual(self.find(ICON, 7 + i).data, self.find(ICON, 1 + i).data)

    def test_logo(self):
        data = self.find("PNG", 124).data
        self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n")
        length, chunk, width, height, depth, colour_type = struct.unpack_from(">I4sIIBB", data, 8)
        self.assertEqual((length, chunk, width, height, depth, colour_type), (13, b"IHDR", 2400, 2400, 8, 6))
        self.assertLess(len(data), 1 << 20)

    def test_model_texts(self):
        for res_id, expected_data, expected_comments in ((141, OBJ_DATA_LINES, OBJ_COMMENT_LINES),
                                                         (140, MTL_DATA_LINES, [])):
            with self.subTest(id=res_id):
                data = self.find("TEXTFILE", res_id).data
                self.assertNotIn(b"~", data)
                lines = text_lines(data)
                self.assertTrue(lines[0].startswith("# ") and lines[1].startswith("# "), "two comment lines on top")
                self.assertEqual([line for line in lines if line and not line.startswith("#")], expected_data)
                self.assertEqual([line for line in lines[2:] if line.startswith("#")], expected_comments)
        obj = text_lines(self.find("TEXTFILE", 141).data)
        start = obj.index("o Plane001")
        self.assertEqual(obj[start:start + 5], OBJ_DATA_LINES[10:15], "o, g, usemtl and f lines follow one another")
        at = obj.index("# object Plane001")
        self.assertEqual(obj[at - 1:at + 2], ["#", "# object Plane001", "#"])


def correlation(a, b):
    n = len(a)
    mean_a, mean_b = sum(a) / n, sum(b) / n
    cov = sum((x - mean_a) * (y - mean_b) for x, y in zip(a, b))
    var_a = sum((x - mean_a) ** 2 for x in a)
    var_b = sum((y - mean_b) ** 2 for y in b)
    return cov / (var_a * var_b) ** 0.5
