#!/usr/bin/env python3
"""Writes the program's icon: one 32 x 32 image with 32-bit colour (a green turtle on blue).

Usage: make_icon.py OUTPUT.ico
"""
import math
import struct
import sys

SIZE = 32


def pixel(x, y):
    """BGRA of the pixel at column x, row y (row 0 at the top)."""
    cx, cy = 15.5, 16.5
    dx, dy = x - cx, y - cy
    # Rounded square background.
    corner = 6
    inside_x = min(x, SIZE - 1 - x)
    inside_y = min(y, SIZE - 1 - y)
    if inside_x < corner and inside_y < corner:
        if math.hypot(corner - inside_x - 0.5, corner - inside_y - 0.5) > corner:
            return (0, 0, 0, 0)
    colour = (200, 120, 40, 255)  # blue
    # Head, legs and shell.
    if math.hypot(x - 15.5, y - 5.5) < 3.6:
        colour = (60, 170, 90, 255)
    for lx, ly in ((8, 10), (23, 10), (8, 24), (23, 24)):
        if math.hypot(x - lx, y - ly) < 2.8:
            colour = (60, 170, 90, 255)
    shell = math.hypot(dx / 10.5, dy / 9.5)
    if shell < 1.0:
        colour = (30, 110, 40, 255)
        if shell < 0.82:
            colour = (50, 150, 70, 255)
            # A hexagon in the middle of the shell.
            if max(abs(dx) * 0.87 + abs(dy) * 0.5, abs(dy)) < 4.2:
                colour = (90, 200, 120, 255)
    return colour


def main(path):
    pixels = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        for x in range(SIZE):
            pixels += bytes(pixel(x, y))
    mask = bytes(SIZE * SIZE // 8)  # all opaque; alpha decides
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + pixels + mask
    icon_dir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(icon_dir + entry + image)


if __name__ == "__main__":
    main(sys.argv[1])
