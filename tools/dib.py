"""Device-independent bitmaps as the resource tools write them (stdlib only).

A BITMAP resource is a BITMAPINFOHEADER, an optional colour table and the
pixel rows, bottom-up, each padded to a multiple of 4 bytes; a .bmp file is the
same with the 14-byte BITMAPFILEHEADER in front. Icon images use the same
header with the height doubled, followed by the colour rows and a 1-bit mask.
"""
import struct

INFO_HEADER_SIZE = 40
FILE_HEADER_SIZE = 14
BI_RGB = 0


def row_stride(width, bit_count):
    """Bytes in one pixel row, padded to a multiple of 4."""
    return (width * bit_count + 31) // 32 * 4


def info_header(width, height, bit_count, size_image, pixels_per_metre=0):
    """A 40-byte BITMAPINFOHEADER, BI_RGB, no 'colours used' count."""
    return struct.pack("<IiiHHIIiiII", INFO_HEADER_SIZE, width, height, 1, bit_count, BI_RGB, size_image,
                       pixels_per_metre, pixels_per_metre, 0, 0)


def bmp_file(dib, colour_table_size=0):
    """A .bmp file around DIB bytes (header, colour table, rows, any padding after them)."""
    pixels_offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE + colour_table_size
    file_header = struct.pack("<2sIHHI", b"BM", FILE_HEADER_SIZE + len(dib), 0, 0, pixels_offset)
    return file_header + dib


def pack_rows(rows_bottom_up, width, bit_count):
    """Pads rows of packed pixel bytes to the row stride and joins them."""
    stride = row_stride(width, bit_count)
    out = bytearray()
    for row in rows_bottom_up:
        if len(row) > stride:
            raise ValueError("row longer than its stride")
        out += row
        out += bytes(stride - len(row))
    return bytes(out)


def pack_indices(indices, bit_count):
    """Packs palette indices of one row into bytes, 4 or 8 bits each, high nibble first."""
    if bit_count == 8:
        return bytes(indices)
    if bit_count == 4:
        padded = list(indices) + [0] * (len(indices) % 2)
        return bytes((padded[i] << 4) | padded[i + 1] for i in range(0, len(padded), 2))
    if bit_count == 1:
        out = bytearray((len(indices) + 7) // 8)
        for i, bit in enumerate(indices):
            if bit:
                out[i // 8] |= 0x80 >> (i % 8)
        return bytes(out)
    raise ValueError("unsupported index depth %d" % bit_count)


def palette_bytes(colours, count):
    """A colour table of `count` RGBQUAD entries (B, G, R, 0) from (R, G, B) tuples, zero-filled."""
    if len(colours) > count:
        raise ValueError("too many colours for the table")
    out = bytearray()
    for red, green, blue in colours:
        out += bytes((blue, green, red, 0))
    out += bytes(4 * (count - len(colours)))
    return bytes(out)
