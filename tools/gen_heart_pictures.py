#!/usr/bin/python3
"""Writes the pictures of glossy red hearts that the executable carries.

    resources/bitmaps/about_hearts.bmp   BITMAP 101: 110 x 83, 24 bits a pixel, no colour
                                         table, hearts on black; the resource (without the
                                         file header) ends with two zero bytes: 27,598 bytes
    resources/icons/corvelle.ico         icon groups 102 and 113: six images, 32 x 32 and
                                         16 x 16 at 4, 8 and 32 bits a pixel, in that order
    resources/logo/kestrova_logo.png     PNG 124: 2400 x 2400 RGBA, the maker's heart

Needs numpy and PIL (Debian's python3-numpy and python3-pil, hence /usr/bin/python3).
Every run writes the same bytes: the hearts of the About picture come from a seeded
generator.

Usage: gen_heart_pictures.py [OUTPUT_DIR]   (default: the resources folder)
"""
import io
import os
import random
import struct
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dib  # noqa: E402
import heart_art  # noqa: E402
from heart_art import Heart  # noqa: E402

DEFAULT_OUTPUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
ABOUT_PATH = os.path.join("bitmaps", "about_hearts.bmp")
ICON_PATH = os.path.join("icons", "corvelle.ico")
LOGO_PATH = os.path.join("logo", "kestrova_logo.png")

ABOUT_WIDTH, ABOUT_HEIGHT = 110, 83
ABOUT_SEED = 101
# (edge in pixels, bits per pixel), in the order of the icon file.
ICON_IMAGES = [(32, 4), (16, 4), (32, 8), (16, 8), (32, 32), (16, 32)]
LOGO_SIZE = 2400


def about_hearts():
    """A small view like the screensaver's: hearts far to near, sharp at a middle depth."""
    rng = random.Random(ABOUT_SEED)
    hearts = []
    count = 14
    for i in range(count):
        depth = i / (count - 1)                     # 0 far ... 1 near
        size = 9 + 34 * depth ** 1.6
        blur = 0.7 + 9 * min(abs(depth - 0.45) / 0.55, 1) ** 1.5
        hearts.append(Heart(cx=rng.uniform(-5, ABOUT_WIDTH + 5), cy=rng.uniform(0, ABOUT_HEIGHT),
                            size=size, angle=rng.uniform(-25, 25), blur=blur))
    return hearts


def about_bitmap_file():
    picture = heart_art.render(ABOUT_WIDTH, ABOUT_HEIGHT, about_hearts(), supersample=4)
    rgb = heart_art.over_black(picture)
    rows = [rgb[row, :, ::-1].tobytes() for row in range(ABOUT_HEIGHT - 1, -1, -1)]  # bottom-up, B G R
    pixels = dib.pack_rows(rows, ABOUT_WIDTH, 24)
    resource = dib.info_header(ABOUT_WIDTH, ABOUT_HEIGHT, 24, len(pixels), pixels_per_metre=2835) + pixels + bytes(2)
    return dib.bmp_file(resource)


def icon_picture(edge):
    """Straight-alpha RGBA bytes of the icon heart at one size, rows top-down."""
    heart = Heart(cx=edge / 2, cy=edge / 2 + edge / 32, size=edge * 0.94, angle=0, blur=0.0)
    return heart_art.to_bytes_rgba(heart_art.render(edge, edge, [heart], supersample=8))


def mask_rows(opaque):
    """The AND mask, bottom-up: bit 1 where the screen shows through."""
    return [dib.pack_indices([0 if o else 1 for o in opaque[row]], 1) for row in range(opaque.shape[0] - 1, -1, -1)]


def palette_image(rgba, bit_count):
    """Colour table and bottom-up index rows; index 0 is black, used under transparent pixels."""
    opaque = rgba[..., 3] >= 128
    colours = rgba[..., :3][opaque]
    strip = Image.fromarray(colours.reshape(1, -1, 3), "RGB")
    quantised = strip.quantize(colors=(1 << bit_count) - 1, method=Image.Quantize.MEDIANCUT,
                               dither=Image.Dither.NONE)
    used = len(quantised.getcolors())
    flat = quantised.getpalette()[:3 * used]
    table = [(0, 0, 0)] + [tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)]
    indices = np.zeros(opaque.shape, dtype=np.uint8)
    indices[opaque] = np.asarray(quantised, dtype=np.uint8).reshape(-1) + 1
    rows = [dib.pack_indices(indices[row].tolist(), bit_count) for row in range(opaque.shape[0] - 1, -1, -1)]
    return dib.palette_bytes(table, 1 << bit_count), rows, opaque


def icon_image(edge, bit_count):
    """One icon image as a resource holds it: header with doubled height, colours, rows, mask."""
    rgba = icon_picture(edge)
    if bit_count == 32:
        table = b""
        rows = [rgba[row][:, [2, 1, 0, 3]].tobytes() for row in range(edge - 1, -1, -1)]
        opaque = rgba[..., 3] > 0
    else:
        table, rows, opaque = palette_image(rgba, bit_count)
    colour_rows = dib.pack_rows(rows, edge, bit_count)
    mask = dib.pack_rows(mask_rows(opaque), edge, 1)
    header = dib.info_header(edge, 2 * edge, bit_count, len(colour_rows) + len(mask))
    return header + table + colour_rows + mask


def icon_file():
    images = [(edge, bits, icon_image(edge, bits)) for edge, bits in ICON_IMAGES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for edge, bits, image in images:
        colour_count = 1 << bits if bits < 8 else 0
        directory += struct.pack("<BBBBHHII", edge % 256, edge % 256, colour_count, 0, 1, bits, len(image), offset)
        offset += len(image)
    return directory + b"".join(image for _, _, image in images)


def logo_png():
    edge = LOGO_SIZE
    heart = Heart(cx=edge / 2, cy=edge / 2, size=edge * 0.8, angle=0, blur=1.5)
    shadow_alpha = heart_art.render(edge // 8, edge // 8, [Heart(heart.cx / 8 + 6, heart.cy / 8 + 8,
                                                                 heart.size / 8, 0, 12)])[..., 3]
    shadow = np.kron(shadow_alpha, np.ones((8, 8), dtype=np.float32)) * 0.35
    picture = np.zeros((edge, edge, 4), dtype=np.float32)
    picture[..., 3] = shadow
    front = heart_art.render(edge, edge, [heart])
    picture = picture * (1 - front[..., 3:4]) + front
    out = io.BytesIO()
    Image.fromarray(heart_art.to_bytes_rgba(picture), "RGBA").save(out, "PNG", optimize=True)
    return out.getvalue()


def write(output_dir, relative_path, data):
    path = os.path.join(output_dir, relative_path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) > 2:
        sys.exit(__doc__)
    output_dir = sys.argv[1] if len(sys.argv) == 2 else DEFAULT_OUTPUT_DIR
    write(output_dir, ABOUT_PATH, about_bitmap_file())
    write(output_dir, ICON_PATH, icon_file())
    write(output_dir, LOGO_PATH, logo_png())


if __name__ == "__main__":
    main()
