#!/usr/bin/env python3
"""Writes the main view's tool-button faces (28 x 24) and the program-wide
button strips as 24-bit BMP files: simple shapes on a face-coloured ground.
The built-in type icons are rendered at build time by
app/res/icons/make_type_icons.py.

Run from the repository root: python3 app/res/view/make_view_bitmaps.py
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'icons'))
import make_type_icons as icons  # noqa: E402  (the one BMP writer)

FACE = (0xF0, 0xF0, 0xF0)
PRESSED = (0xD8, 0xD8, 0xD8)
INK = (0x30, 0x50, 0x90)
GREY = (0xA0, 0xA0, 0xA0)


def write_bmp(path, width, height, pixel):
    icons.write_bmp(path, width, height, [[pixel(x, y) for x in range(width)] for y in range(height)])


# Each glyph: a set of (x, y) cells on a 7 x 7 grid, drawn 2 pixels per cell.
GLYPHS = {
    'plus': ['...#...', '...#...', '...#...', '#######', '...#...', '...#...', '...#...'],
    'type': ['#######', '#.....#', '#.###.#', '#.....#', '#.###.#', '#.....#', '#######'],
    'copy': ['####...', '#..#...', '#.#####', '###...#', '..#...#', '..#...#', '..#####'],
    'details': ['#######', '#...#.#', '#...#.#', '#...#.#', '#...#.#', '#...#.#', '#######'],
    'edit': ['.....##', '....###', '...###.', '..###..', '.###...', '##.....', '#......'],
    'delete': ['#.....#', '.#...#.', '..#.#..', '...#...', '..#.#..', '.#...#.', '#.....#'],
    'mask': ['.......', '.#####.', '#.#.#.#', '#######', '#.#.#.#', '.#####.', '.......'],
    'email': ['#######', '##...##', '#.#.#.#', '#..#..#', '#.....#', '#.....#', '#######'],
    'fill': ['###....', '#......', '##.....', '#...#.#', '#...#.#', '....#.#', '....###'],
    'print': ['.#####.', '.#...#.', '#######', '#.....#', '#.....#', '.#####.', '.#####.'],
    'clip': ['..###..', '.#...#.', '.#.#.#.', '.#.#.#.', '.#.#.#.', '.#...#.', '..###..'],
    'clipx': ['#.###.#', '.#...#.', '.##.##.', '.#.#.#.', '.##.##.', '.#...#.', '#.###.#'],
}


def button(name, glyph, ground, ink, shift):
    rows = GLYPHS[glyph]

    def pixel(x, y):
        if x in (0, 27) or y in (0, 23):
            return GREY
        gx = (x - 7 - shift) // 2
        gy = (y - 5 - shift) // 2
        if 0 <= gx < 7 and 0 <= gy < 7 and x - 7 - shift >= 0 and y - 5 - shift >= 0 and rows[gy][gx] == '#':
            return ink
        return ground

    write_bmp(os.path.join(HERE, name + '.bmp'), 28, 24, pixel)


# name, glyph, and which faces: normal, pressed, disabled.
BUTTONS = [
    ('show_details', 'details', 'np'), ('duplicate', 'copy', 'np'), ('new_item', 'plus', 'np'),
    ('new_type', 'type', 'np'), ('edit_item', 'edit', 'np'), ('delete_item', 'delete', 'np'),
    ('mask', 'mask', 'np'), ('email', 'email', 'np'), ('auto_fill', 'fill', 'npd'),
    ('print_record', 'print', 'npd'), ('add_attachment', 'clip', 'npd'), ('delete_attachment', 'clipx', 'npd'),
]

for name, glyph, faces in BUTTONS:
    button(name, glyph, FACE, INK, 0)
    button(name + '_down', glyph, PRESSED, INK, 1)
    if 'd' in faces:
        button(name + '_disabled', glyph, FACE, GREY, 0)

# The program-wide button strips: the details pane's small copy buttons
# (cells of 12 x 13 across, states normal, pressed, hot, disabled) on their
# key, and the one 14 x 14 picture of a pressed attachment button.
COPY_KEY = (0xFF, 0x99, 0x33)


def copy_button_strip():
    inks = [INK, (0x10, 0x20, 0x60), (0x40, 0x80, 0xD0), GREY]

    def pixel(x, y):
        state, cx = divmod(x - 1, 13)
        cy = y - 1
        if x < 1 or y < 1 or cx >= 12 or cy >= 13 or state > 3:
            return COPY_KEY
        if cx < 1 or cx > 10 or cy < 1 or cy > 11:
            return COPY_KEY
        shift = 1 if state == 1 else 0
        gx, gy = (cx - 2 - shift), (cy - 2 - shift)
        if 0 <= gx < 7 and 0 <= gy < 7 and GLYPHS['copy'][gy][gx] == '#':
            return inks[state]
        return PRESSED if state == 1 else FACE

    write_bmp(os.path.join(HERE, 'copy_buttons.bmp'), 54, 16, pixel)


def attachment_pressed():
    def pixel(x, y):
        if x < 1 or y < 1:
            return (0xEB, 0xEB, 0xEC)
        cx, cy = x - 1, y - 1
        if cx in (0, 13) or cy in (0, 13):
            return GREY
        gx, gy = cx - 4, cy - 4
        if 0 <= gx < 7 and 0 <= gy < 7 and GLYPHS['clip'][gy][gx] == '#':
            return INK
        return PRESSED

    write_bmp(os.path.join(HERE, 'attachment_pressed.bmp'), 15, 15, pixel)


copy_button_strip()
attachment_pressed()


# The record editor's masking mark: cell 0 (12 x 13, at 1, 1) of a 40 x 36
# strip on the key 0x3399FF, a small padlock beside each masked field.
MASK_MARK = [
    '....####....',
    '...#....#...',
    '..#......#..',
    '..#......#..',
    '..#......#..',
    '.##########.',
    '.#oooooooo#.',
    '.#ooo##ooo#.',
    '.#ooo##ooo#.',
    '.#oooo#ooo#.',
    '.#oooooooo#.',
    '.##########.',
    '............',
]
GOLD = (0xE0, 0xB0, 0x30)


def mask_mark():
    def pixel(x, y):
        cx, cy = x - 1, y - 1
        if 0 <= cx < 12 and 0 <= cy < 13:
            c = MASK_MARK[cy][cx]
            if c == '#':
                return (0x50, 0x40, 0x10)
            if c == 'o':
                return GOLD
        return COPY_KEY

    write_bmp(os.path.join(HERE, 'mask_mark.bmp'), 40, 36, pixel)


mask_mark()
