#!/usr/bin/env python3
"""Writes the record popup's menu images (16 x 15, 24-bit BMP): simple shapes
on the light grey that menus treat as background, drawn here so that no
picture comes from elsewhere.

Run from the repository root: python3 app/res/popup/make_popup_bitmaps.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
BACKGROUND = (0xC0, 0xC0, 0xC0)
INK = (0x30, 0x50, 0x90)

# 7 x 7 cells, 2 pixels each, placed at (1, 0).
GLYPHS = {
    'print': ['.#####.', '.#...#.', '#######', '#.....#', '#.....#', '.#####.', '.#####.'],
    'export': ['#######', '##...##', '#.#.#.#', '#..#..#', '#.....#', '#.....#', '#######'],
    'add_attachment': ['..###..', '.#...#.', '.#.#.#.', '.#.#.#.', '.#.#.#.', '.#...#.', '..###..'],
    'delete_attachment': ['#.###.#', '.#...#.', '.##.##.', '.#.#.#.', '.##.##.', '.#...#.', '#.###.#'],
}


def write_bmp(path, rows):
    width, height = 16, 15
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            cx, cy = (x - 1) // 2, y // 2
            on = 0 <= cx < 7 and 0 <= cy < 7 and x >= 1 and rows[cy][cx] == '#'
            r, g, b = INK if on else BACKGROUND
            line += bytes((b, g, r))
        data += line + b'\0' * (stride - width * 3)
    header = b'BM' + struct.pack('<IHHI', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


for name, rows in GLYPHS.items():
    write_bmp(os.path.join(HERE, name + '.bmp'), rows)
