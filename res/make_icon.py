#!/usr/bin/env python3
"""Draws the program icon (a key cap with sound waves) into Tapvox.ico, and its quiet variant
(the waves grey and struck through, shown in the tray while keys make no sound) into
TapvoxQuiet.ico: 16, 20, 24, 32 and 48 pixels as 32-bit bitmaps, 256 pixels as PNG."""
import math
import os
import struct
import sys
import zlib


def colour_at(px, py, quiet=False):
    """(b, g, r) of the drawing at a point of the 32-unit square, or None where it is clear."""
    colour = None
    # Key cap: a rounded square on the left.
    cx, cy = min(max(px, 6), 16), min(max(py, 10), 22)
    if math.hypot(px - cx, py - cy) <= 4:
        colour = (150, 80, 30)
        ix, iy = min(max(px, 8), 14), min(max(py, 12), 19)
        if math.hypot(px - ix, py - iy) <= 2.5:
            colour = (220, 170, 110)
    # Two arcs of sound to the right of the cap.
    d = math.hypot(px - 16, py - 16)
    if px > 21 and abs(py - 16) < (px - 16) * 1.1:
        if abs(d - 9) < 1.3 or abs(d - 14) < 1.3:
            colour = (150, 150, 150) if quiet else (40, 160, 40)
    # The quiet variant: a red stroke across the waves, thick enough to read at 16 pixels.
    if quiet and 18 <= px <= 31 and abs((px - 18) * 1.4 - (27 - py)) < 3.4:
        colour = (30, 30, 210)
    return colour


def draw(size, quiet=False):
    """Rows of (b, g, r, a), top row first. Each pixel averages a grid of samples, so the large
    images have smooth edges; alpha is the covered share."""
    s = size / 32.0
    grid = 4
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            hits = []
            for j in range(grid):
                for i in range(grid):
                    c = colour_at((x + (i + 0.5) / grid) / s, (y + (j + 0.5) / grid) / s, quiet)
                    if c:
                        hits.append(c)
            if not hits:
                row.append((0, 0, 0, 0))
                continue
            mean = tuple(sum(c[k] for c in hits) // len(hits) for k in range(3))
            row.append(mean + (255 * len(hits) // (grid * grid),))
        pixels.append(row)
    return pixels


def bitmap(size, quiet):
    pixels = draw(size, quiet)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes(p) for row in reversed(pixels) for p in row)
    stride = ((size + 31) // 32) * 4
    and_rows = []
    for row in reversed(pixels):
        data = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                data[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(data))
    return header + xor + b''.join(and_rows)


def png(size, quiet):
    """The image as PNG, the form Windows takes for 256-pixel icons."""
    pixels = draw(size, quiet)
    raw = b''.join(b'\0' + b''.join(bytes((r, g, b, a)) for b, g, r, a in row) for row in pixels)

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def write_icon(path, quiet):
    # The tray takes 16 (20, 24 when scaled), the Start menu 24 to 48, Explorer up to 256.
    sizes = [16, 20, 24, 32, 48, 256]
    images = [png(n, quiet) if n >= 256 else bitmap(n, quiet) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n % 256, n % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


def main(folder):
    write_icon(os.path.join(folder, 'Tapvox.ico'), quiet=False)
    write_icon(os.path.join(folder, 'TapvoxQuiet.ico'), quiet=True)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else '.')
