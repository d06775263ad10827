#!/usr/bin/env python3
"""Renders the 64 built-in record-type icons into the strips the program
loads, at their exact cell sizes and colour keys (see SOURCES.md here for
the icon sets, their versions and licences).

Each id's picture comes from the Tango icon theme (scalable SVG), or, for a
meaning Tango has no picture of (a car, a credit card, a bank...), from a
glyph of the Fork Awesome font, coloured and outlined in Tango's palette.
rsvg-convert renders every picture at the size of each strip's cell; pixels
more than half transparent become the strip's colour key, the rest are laid
on white.

usage: make_type_icons.py <output folder>
       [--tango <scalable folder>] [--glyphs <forkawesome-webfont.svg>]
"""
import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile
import zlib

TANGO = '/usr/share/icons/Tango/scalable'
GLYPHS = '/usr/share/fonts/svg/fork-awesome/forkawesome-webfont.svg'

# id -> ('tango', path below the scalable folder) or ('glyph', name, fill, outline).
# The default types' icons: 2 Bank Accts, 3 Credit Cards, 9 Prescriptions,
# 10 Serial Numbers, 11 Calling Cards, 14 Vehicle Info, 15 Voice Mail,
# 16 Frequent Flyer, 17 Emergency Info, 18 Email Accts, 21 Web Logins,
# 22 Combinations, 23 Birthdays, 24 Identification (and records without a
# type), 29 Clothes Size, 32 Phone Numbers, 34 Insurance, 35 Memberships.
ICONS = {
    0: ('tango', 'mimetypes/text-x-generic'),  # a note
    1: ('glyph', 'key', '#edd400', '#8f5902'),  # a key
    2: ('glyph', 'university', '#c17d11', '#5c3a06'),  # a bank
    3: ('glyph', 'credit-card', '#3465a4', '#15305a'),  # a credit card
    4: ('tango', 'devices/network-wireless'),  # Wi-Fi
    5: ('tango', 'devices/computer'),
    6: ('tango', 'places/network-server'),
    7: ('tango', 'places/user-home'),
    8: ('tango', 'devices/printer'),
    9: ('glyph', 'medkit', '#cc0000', '#5a0000'),  # prescriptions
    10: ('tango', 'mimetypes/package-x-generic'),  # a boxed product's serial
    11: ('glyph', 'phone', '#4e9a06', '#1e3c02'),  # a calling card
    12: ('tango', 'devices/camera-photo'),
    13: ('tango', 'devices/input-keyboard'),
    14: ('glyph', 'car', '#cc0000', '#5a0000'),  # a vehicle
    15: ('tango', 'devices/audio-input-microphone'),  # voice mail
    16: ('glyph', 'plane', '#729fcf', '#204a87'),  # frequent flyer
    17: ('tango', 'status/dialog-warning'),  # emergency
    18: ('tango', 'apps/internet-mail'),  # e-mail
    19: ('tango', 'devices/drive-harddisk'),
    20: ('tango', 'devices/media-optical'),
    21: ('tango', 'apps/internet-web-browser'),  # web login
    22: ('tango', 'actions/system-lock-screen'),  # a combination
    23: ('glyph', 'birthday-cake', '#ad7fa8', '#5c3566'),  # birthdays
    24: ('tango', 'actions/contact-new'),  # identification
    25: ('tango', 'apps/utilities-terminal'),
    26: ('tango', 'devices/video-display'),
    27: ('tango', 'devices/input-mouse'),
    28: ('tango', 'devices/camera-video'),
    29: ('tango', 'apps/preferences-desktop-theme'),  # clothes
    30: ('tango', 'devices/input-gaming'),
    31: ('tango', 'devices/media-floppy'),
    32: ('tango', 'mimetypes/x-office-address-book'),  # phone numbers
    33: ('tango', 'mimetypes/x-office-spreadsheet'),
    34: ('tango', 'mimetypes/application-certificate'),  # insurance policy
    35: ('tango', 'apps/system-users'),  # memberships
    36: ('tango', 'places/folder'),
    37: ('tango', 'mimetypes/x-office-document'),
    38: ('tango', 'mimetypes/x-office-presentation'),
    39: ('tango', 'mimetypes/x-office-drawing'),
    40: ('tango', 'mimetypes/image-x-generic'),
    41: ('tango', 'mimetypes/audio-x-generic'),
    42: ('tango', 'mimetypes/video-x-generic'),
    43: ('tango', 'mimetypes/font-x-generic'),
    44: ('tango', 'mimetypes/text-html'),
    45: ('tango', 'mimetypes/application-x-executable'),
    46: ('tango', 'apps/accessories-calculator'),
    47: ('tango', 'apps/accessories-text-editor'),
    48: ('tango', 'apps/help-browser'),
    49: ('tango', 'apps/utilities-system-monitor'),
    50: ('tango', 'categories/applications-games'),
    51: ('tango', 'categories/applications-multimedia'),
    52: ('tango', 'categories/applications-graphics'),
    53: ('tango', 'categories/preferences-desktop'),
    54: ('tango', 'devices/battery'),
    55: ('tango', 'devices/multimedia-player'),
    56: ('tango', 'devices/network-wired'),
    57: ('tango', 'emblems/emblem-favorite'),
    58: ('tango', 'emblems/emblem-important'),
    59: ('tango', 'places/user-desktop'),
    60: ('tango', 'status/weather-clear'),
    61: ('tango', 'status/weather-snow'),
    62: ('tango', 'status/weather-showers'),
    63: ('tango', 'apps/office-calendar'),
}


# ---- pictures ---------------------------------------------------------------

def glyph_svg(font_text, name, fill, outline):
    """A glyph of the SVG font as a picture of its own, square, y up."""
    match = re.search(r'<glyph glyph-name="%s"[^>]*?horiz-adv-x="(\d+)"\s*d="([^"]+)"' % re.escape(name), font_text,
                      re.S)
    if not match:
        raise SystemExit('no glyph named %s' % name)
    advance, path = int(match.group(1)), match.group(2)
    ascent, em = 1536, 1792
    side = max(advance, em) + 160
    x0 = -(side - advance) / 2
    y0 = -ascent - (side - em) / 2
    return ('<svg xmlns="http://www.w3.org/2000/svg" viewBox="%g %g %g %g">'
            '<path transform="scale(1,-1)" d="%s" fill="%s" stroke="%s" stroke-width="70" '
            'stroke-linejoin="round"/></svg>' % (x0, y0, side, side, path, fill, outline))


def read_png(path):
    """RGBA rows of an 8-bit non-interlaced RGBA PNG (rsvg-convert's)."""
    with open(path, 'rb') as f:
        data = f.read()
    pos, idat = 8, b''
    width = height = 0
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
            if depth != 8 or colour != 6 or interlace:
                raise SystemExit('%s: not an 8-bit RGBA picture' % path)
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = previous[i]
            corner = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        previous = line
    return rows


class Pictures:
    def __init__(self, tango, glyphs, scratch):
        self.tango, self.scratch, self.cache = tango, scratch, {}
        with open(glyphs, encoding='utf-8') as f:
            self.font = f.read()

    def get(self, icon, size):
        return self.render(ICONS[icon], size)

    def render(self, source, size):
        """RGBA rows of a picture, ('tango', path) or ('glyph', name, fill,
        outline), at size x size."""
        key = (source, size)
        if key not in self.cache:
            name = '-'.join(str(part).replace('/', '_').replace('#', '') for part in source)
            if source[0] == 'tango':
                svg = os.path.join(self.tango, source[1] + '.svg')
            else:
                svg = os.path.join(self.scratch, name + '.svg')
                with open(svg, 'w') as f:
                    f.write(glyph_svg(self.font, *source[1:]))
            png = os.path.join(self.scratch, '%s-%d.png' % (name, size))
            subprocess.run(['rsvg-convert', '-w', str(size), '-h', str(size), '-o', png, svg], check=True)
            self.cache[key] = read_png(png)
        return self.cache[key]


# ---- strips -----------------------------------------------------------------

def on_key(rgba, key):
    """A rendered pixel on the strip: the key where mostly transparent, else
    laid on white (and never the key itself)."""
    r, g, b, a = rgba
    if a < 128:
        return key
    colour = tuple((c * a + 255 * (255 - a)) // 255 for c in (r, g, b))
    if colour == key:
        colour = (colour[0], colour[1] ^ 1, colour[2])
    return colour


def write_bmp(path, width, height, pixels):
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixels[y][x]
            line += bytes((b, g, r))
        line += b'\0' * (row - width * 3)
        data += line
    header = b'BM' + struct.pack('<IHHI', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def strip(pictures, width, height, key, cell_w, cell_h, gap, per_column, across):
    """64 cells; cell n at column n / per_column, row n % per_column (or all
    in one row when across), each picture centred in its cell."""
    pixels = [[key] * width for _ in range(height)]
    size = min(cell_w, cell_h)
    for icon in range(64):
        if across:
            left, top = icon * (cell_w + gap) + gap, gap
        else:
            left = (cell_w + gap) * (icon // per_column) + gap
            top = (cell_h + gap) * (icon % per_column) + gap
        picture = pictures.get(icon, size)
        dx, dy = left + (cell_w - size) // 2, top + (cell_h - size) // 2
        for y in range(size):
            for x in range(size):
                pixels[dy + y][dx + x] = on_key(picture[y][x], key)
    return pixels


# name, size, key, cell, gap, cells per column (0: one row)
STRIPS = [
    ('small_icons', (64 * 19, 15), (0xFC, 0xCC, 0xFC), (19, 15), 0, 0),
    ('type_icons_small', (130, 115), (0xFF, 0xCC, 0xFF), (12, 10), 4, 8),
    ('type_icons_medium', (192, 168), (0xFC, 0xCC, 0xFC), (23, 20), 1, 8),
    ('type_icons_large', (256, 224), (0xFC, 0xCC, 0xFC), (31, 27), 1, 8),
    ('type_icons_enlarged', (256, 224), (0x00, 0x00, 0x00), (31, 27), 1, 8),
]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('output')
    parser.add_argument('--tango', default=TANGO)
    parser.add_argument('--glyphs', default=GLYPHS)
    args = parser.parse_args()
    assert sorted(ICONS) == list(range(64))
    os.makedirs(args.output, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        pictures = Pictures(args.tango, args.glyphs, scratch)
        for name, (width, height), key, (cell_w, cell_h), gap, per_column in STRIPS:
            pixels = strip(pictures, width, height, key, cell_w, cell_h, gap, per_column, per_column == 0)
            write_bmp(os.path.join(args.output, name + '.bmp'), width, height, pixels)
    return 0


if __name__ == '__main__':
    sys.exit(main())
