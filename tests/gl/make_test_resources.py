#!/usr/bin/env python3
"""Writes the resources that the GL tests embed (gl_tests.rc) into resources/.

Small bitmaps with known pixels and shader texts for the text convention and
the failure paths. Run it again after changing anything here; its output is
committed.

Usage: make_test_resources.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "resources")

# Bitmaps: rows bottom-up, each pixel (B, G, R, A); 24-bit pictures drop A.
BITMAPS = {
    # 2 x 2, 32 bits: the bottom-left pixel is B 0, G 128, R 255, A 0.
    "texels_2x2.bmp": (32, [
        [(0, 128, 255, 0), (10, 20, 30, 40)],
        [(50, 60, 70, 80), (255, 255, 255, 255)],
    ]),
    # 1 x 1, 32 bits.
    "texel_1x1.bmp": (32, [[(1, 2, 3, 4)]]),
    # 4 x 4, 32 bits, in 2 x 2 blocks of one colour: mipmap level 1 is the blocks.
    "blocks_4x4.bmp": (32, [
        [(0, 0, 255, 0)] * 2 + [(0, 255, 0, 51)] * 2,
        [(0, 0, 255, 0)] * 2 + [(0, 255, 0, 51)] * 2,
        [(255, 0, 0, 102)] * 2 + [(255, 255, 255, 255)] * 2,
        [(255, 0, 0, 102)] * 2 + [(255, 255, 255, 255)] * 2,
    ]),
    # 3 x 2, 24 bits: rows padded to four bytes, no alpha.
    "texels_3x2_24bit.bmp": (24, [
        [(1, 2, 3, 0), (4, 5, 6, 0), (7, 8, 9, 0)],
        [(10, 11, 12, 0), (13, 14, 15, 0), (16, 17, 18, 0)],
    ]),
}


def bmp(bits, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * bits // 8 + 3) & ~3
    pixels = bytearray()
    for row in rows:
        line = bytearray()
        for b, g, r, a in row:
            line += bytes((b, g, r, a) if bits == 32 else (b, g, r))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def text(*lines):
    return "".join(line + "\r\n" for line in lines).encode("ascii")


PLAIN_VERTEX = ["#version 110", "attribute vec4 position;", "void main()", "{", "    gl_Position = position;", "}"]
PLAIN_FRAGMENT = ["#version 110", "void main()", "{", "    gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0);", "}"]


def limit_text():
    """A vertex text with exactly 16,384 bytes before its tilde."""
    body = text(*PLAIN_VERTEX)
    filler = 16384 - len(body) - len("//\r\n")
    return body + b"//" + b"x" * filler + b"\r\n" + b"~"


TEXTS = {
    "plain.vert": text(*PLAIN_VERTEX, "//~"),
    "plain.frag": text(*PLAIN_FRAGMENT, "//~"),
    "broken.vert": text("#version 110", "void main()", "{", "    gl_Position = vec4(1.0) +;", "}", "//~"),
    "broken.frag": text("#version 110", "void main()", "{", "    gl_FragColor = vec4(1.0) +;", "}", "//~"),
    # Compiles, but a program without a fragment main does not link.
    "no_main.frag": text("#version 110", "float Unused(float x)", "{", "    return x;", "}", "//~"),
    # Compiles only when the reader stops at the first tilde.
    "tilde_in_body.vert": text(*PLAIN_VERTEX, "~ this line is not GLSL", "//~"),
    # No end marker at all: the whole resource is the text.
    "no_tilde.frag": text(*PLAIN_FRAGMENT),
    # 20,000 bytes of comment before the marker: only the first 16,384 bytes
    # are read, which end inside the comment.
    "long.vert": text(*PLAIN_VERTEX, "// " + "x" * 20000, "//~"),
    "limit.vert": limit_text(),
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, (bits, rows) in BITMAPS.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(bmp(bits, rows))
    for name, data in TEXTS.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
