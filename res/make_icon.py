#!/usr/bin/env python3
"""Draws the program icon (a key cap with sound waves) into Tapvox.ico, 16x16 and 32x32, 32-bit."""
import math
import struct
import sys


def draw(size):
    """Rows of (b, g, r, a), top row first."""
    s = size / 32.0
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            px, py = (x + 0.5) / s, (y + 0.5) / s  # position in a 32-unit square
            colour = (0, 0, 0, 0)
            # Key cap: a rounded square on the left.
            cx, cy = min(max(px, 6), 16), min(max(py, 10), 22)
            if math.hypot(px - cx, py - cy) <= 4:
                colour = (150, 80, 30, 255)
                ix, iy = min(max(px, 8), 14), min(max(py, 12), 19)
                if math.hypot(px - ix, py - iy) <= 2.5:
                    colour = (220, 170, 110, 255)
            # Two arcs of sound to the right of the cap.
            d = math.hypot(px - 16, py - 16)
            if px > 21 and abs(py - 16) < (px - 16) * 1.1:
                if abs(d - 9) < 1.3 or abs(d - 14) < 1.3:
                    colour = (40, 160, 40, 255)
            row.append(colour)
        pixels.append(row)
    return pixels


def bitmap(size):
    pixels = draw(size)
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


def main(path):
    sizes = [16, 32]
    images = [bitmap(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'Tapvox.ico')
