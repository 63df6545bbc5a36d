#!/usr/bin/env python3
"""Writes the application icon: a small spreadsheet page, 32x32 and 16x16, 16 colours."""
import struct
import sys

# The standard 16-colour palette, as (blue, green, red, 0).
PALETTE = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
           (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
           (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255)]
BLACK, DARK_GREEN, GREY, WHITE = 0, 2, 8, 15


def page(size):
    """Rows of palette indices, None where the icon is transparent; row 0 is the top."""
    margin = max(1, size // 8)
    header = size // 4
    step = max(3, size // 6)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            inside = margin <= x < size - margin and 0 <= y < size
            if not inside:
                row.append(None)
            elif x in (margin, size - margin - 1) or y in (0, size - 1):
                row.append(BLACK)
            elif y < header:
                row.append(DARK_GREEN)
            elif (x - margin) % step == 0 or (y - header) % step == 0:
                row.append(GREY)
            else:
                row.append(WHITE)
        rows.append(row)
    return rows


def image(size):
    rows = page(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (b, g, r) in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor, mask = b'', b''
    for row in reversed(rows):  # bitmaps are stored bottom-up
        pixels = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, colour in enumerate(row):
            if colour is None:
                bits[x // 8] |= 0x80 >> (x % 8)
                colour = 0
            pixels[x // 2] |= colour << (4 if x % 2 == 0 else 0)
        xor += bytes(pixels)
        mask += bytes(bits)
    return header + palette + xor + mask


def main(path):
    sizes = [32, 16]
    images = [image(size) for size in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])
