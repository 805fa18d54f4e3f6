#!/usr/bin/env python3
"""Writes the noise picture, BITMAP 223 (resources/bitmaps/noise.bmp).

256 x 256 pixels, 32 bits a pixel, BI_RGB, rows bottom-up, bytes B, G, R, A.
Red and blue are independent uniform noise over 0..255 from a seeded
generator, so the file is the same on every run. Green is red shifted: with x
the column and y the row counted from the bottom,
G(x, y) = R((x - 37) mod 256, (y - 17) mod 256). Alpha is 0 everywhere.

The resource is the header and the rows followed by two zero bytes
(40 + 262,144 + 2 = 262,186 bytes); the file adds the 14-byte file header.

Usage: gen_noise_bitmap.py [OUTPUT.bmp]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dib  # noqa: E402

SIZE = 256
SHIFT_X = 37
SHIFT_Y = 17
SEED = 0x4B657374  # any fixed value; changing it changes the committed picture
DEFAULT_OUTPUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "bitmaps", "noise.bmp")


class SplitMix64:
    """A small 64-bit generator of our own, so the noise never depends on a library's choice of algorithm."""

    MASK = (1 << 64) - 1

    def __init__(self, seed):
        self.state = seed & self.MASK

    def next(self):
        self.state = (self.state + 0x9E3779B97F4A7C15) & self.MASK
        z = self.state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & self.MASK
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & self.MASK
        return z ^ (z >> 31)

    def byte_plane(self, count):
        """`count` uniform bytes; each 64-bit draw gives eight of them."""
        out = bytearray()
        while len(out) < count:
            out += self.next().to_bytes(8, "little")
        return out[:count]


def noise_pixels(seed=SEED):
    """The rows bottom-up as B, G, R, A bytes."""
    generator = SplitMix64(seed)
    red = generator.byte_plane(SIZE * SIZE)   # index y * SIZE + x, y from the bottom
    blue = generator.byte_plane(SIZE * SIZE)
    pixels = bytearray(SIZE * SIZE * 4)
    for y in range(SIZE):
        source_row = ((y - SHIFT_Y) % SIZE) * SIZE
        for x in range(SIZE):
            k = y * SIZE + x
            pixels[4 * k + 0] = blue[k]
            pixels[4 * k + 1] = red[source_row + (x - SHIFT_X) % SIZE]
            pixels[4 * k + 2] = red[k]
            # Byte 4k + 3 (alpha) stays 0.
    return bytes(pixels)


def noise_bitmap_file(seed=SEED):
    pixels = noise_pixels(seed)
    resource = dib.info_header(SIZE, SIZE, 32, len(pixels)) + pixels + bytes(2)
    return dib.bmp_file(resource)


def main():
    if len(sys.argv) > 2:
        sys.exit(__doc__)
    output = sys.argv[1] if len(sys.argv) == 2 else DEFAULT_OUTPUT
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with open(output, "wb") as f:
        f.write(noise_bitmap_file())


if __name__ == "__main__":
    main()
