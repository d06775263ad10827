#!/usr/bin/env python3
"""Writes the program's own cursors as .cur files: the pointing hand shown
over the details pane's links (cursor 1652). Drawn here from the rows below:
'#' outline, '.' white, ' ' transparent; the hot spot is the fingertip.

Run from the repository root: python3 app/res/cursors/make_cursors.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

HAND = [
    '     ##         ',
    '    #..#        ',
    '    #..#        ',
    '    #..#        ',
    '    #..#        ',
    '    #..###      ',
    '    #..#..###   ',
    '    #..#..#..## ',
    ' ## #..#..#..#.#',
    '#..##........#.#',
    '#...#..........#',
    ' #.............#',
    '  #............#',
    '  #...........# ',
    '   #..........# ',
    '   #.........#  ',
    '    #........#  ',
    '    #........#  ',
    '    ##########  ',
]
HOT_SPOT = (5, 0)


def write_cursor(path, rows, hot_spot, side=32):
    xor_rows, and_rows = [], []
    for y in range(side - 1, -1, -1):
        row = rows[y] if y < len(rows) else ''
        xor_bits = and_bits = 0
        for x in range(side):
            c = row[x] if x < len(row) else ' '
            xor_bits = xor_bits << 1 | (1 if c == '.' else 0)
            and_bits = and_bits << 1 | (1 if c == ' ' else 0)
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    image = struct.pack('<IiiHHIIiiII', 40, side, side * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    image += bytes((0, 0, 0, 0, 255, 255, 255, 0)) + b''.join(xor_rows) + b''.join(and_rows)
    header = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', side, side, 0, 0, hot_spot[0], hot_spot[1], len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(header + entry + image)


write_cursor(os.path.join(HERE, 'link_hand.cur'), HAND, HOT_SPOT)
