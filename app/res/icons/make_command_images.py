#!/usr/bin/env python3
"""Renders the pictures of the program's commands from the same icon sets as
the type icons (see SOURCES.md here): the record editor's 16 x 16 button
icons (.ico), the record popup's menu bitmaps and the strip of menu images
(tool bar 337) that the frame menu and the popup give their commands, each
16 x 15 on the light grey that menus treat as background.

usage: make_command_images.py <output folder>
"""
import os
import struct
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_type_icons as icons  # noqa: E402  (the reading and writing of pictures)

MENU_GREY = (0xC0, 0xC0, 0xC0)

# A picture: ('tango', path) or ('glyph', name, fill, outline), optionally with
# a small second picture laid on its lower right corner.
ATTACHMENT = ('tango', 'status/mail-attachment')
ADD = ('glyph', 'plus', '#73d216', '#2e6206')
REMOVE = ('glyph', 'times', '#ef2929', '#a40000')
PRINT = ('tango', 'actions/document-print')
EXPORT = ('tango', 'actions/document-save-as')

# The record editor's buttons: file name, picture, overlay.
BUTTON_ICONS = [
    ('button_cancel', ('tango', 'actions/process-stop'), None),  # 382
    ('button_ok', ('glyph', 'check', '#73d216', '#2e6206'), None),  # 383
    ('button_password', ('glyph', 'key', '#edd400', '#8f5902'), None),  # 384
    ('button_delete', ('tango', 'places/user-trash'), None),  # 385
    ('button_duplicate', ('tango', 'actions/edit-copy'), None),  # 386
    ('button_custom', ('tango', 'actions/document-properties'), None),  # 387
    ('button_autofill', ('tango', 'actions/go-jump'), None),  # 403
    ('button_print', PRINT, None),  # 434
    ('attachment_add', ATTACHMENT, ADD),  # 452
    ('attachment_remove', ATTACHMENT, REMOVE),  # 453
]

# The record popup's own menu bitmaps: file name, picture, overlay.
POPUP_BITMAPS = [
    ('popup_print', PRINT, None),  # 431
    ('popup_export', EXPORT, None),  # 457
    ('popup_add_attachment', ATTACHMENT, ADD),  # 454
    ('popup_delete_attachment', ATTACHMENT, REMOVE),  # 455
]

# The strip of tool bar 337, in the order of its command list in
# ZorvikanResources.rc (the command each image is for).
MENU_IMAGES = [
    ('tango', 'actions/system-log-out'),  # Exit
    ('tango', 'apps/utilities-system-monitor'),  # Status Bar
    ('tango', 'apps/help-browser'),  # User Guide
    ('tango', 'status/dialog-information'),  # FAQ
    ('tango', 'apps/internet-mail'),  # Support
    ('tango', 'status/software-update-available'),  # Download
    ('tango', 'actions/document-new'),  # New Item
    ('tango', 'apps/accessories-text-editor'),  # Edit Item
    ('tango', 'places/user-trash'),  # Delete Item
    ('tango', 'actions/edit-copy'),  # Duplicate Item
    ('tango', 'actions/document-properties'),  # Customize Fields
    ('tango', 'actions/edit-cut'),  # Cut
    ('tango', 'actions/edit-copy'),  # Copy
    ('tango', 'actions/edit-paste'),  # Paste
    ('tango', 'actions/system-lock-screen'),  # Lock
    PRINT,  # Print
    ('tango', 'actions/go-jump'),  # Auto Fill
    ('glyph', 'key', '#edd400', '#8f5902'),  # Set Password
    ('tango', 'actions/document-save'),  # Backup
    ('tango', 'actions/edit-find-replace'),  # DeDupe
    ('tango', 'actions/mail-message-new'),  # Email
    ('tango', 'actions/document-print-preview'),  # Print Preview
    ('tango', 'actions/edit-select-all'),  # Select All
]


class Renderer(icons.Pictures):
    def __init__(self, scratch):
        super().__init__(icons.TANGO, icons.GLYPHS, scratch)

    def picture(self, source, overlay, size):
        """The picture with its overlay (at 9/16 of the size, lower right)
        laid over it."""
        base = [list(row) for row in self.render(source, size)]
        if overlay:
            small = size * 9 // 16
            top = self.render(overlay, small)
            offset = size - small
            for y in range(small):
                for x in range(small):
                    base[offset + y][offset + x] = over(top[y][x], base[offset + y][offset + x])
        return base


def over(front, back):
    """front laid over back, both RGBA."""
    fa, ba = front[3] / 255.0, back[3] / 255.0
    a = fa + ba * (1 - fa)
    if a == 0:
        return (0, 0, 0, 0)
    colour = [int(round((f * fa + b * ba * (1 - fa)) / a)) for f, b in zip(front[:3], back[:3])]
    return (colour[0], colour[1], colour[2], int(round(a * 255)))


def write_ico(path, rows):
    """A 16 x 16 icon of 32-bit colour with alpha, and its AND mask."""
    size = len(rows)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for r, g, b, a in rows[y]:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(size):
            if rows[y][x][3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    header = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(header + entry + image)


def menu_cell(renderer, source, overlay):
    """A 16 x 15 menu image: the picture at 15 x 15, on the menu grey."""
    picture = renderer.picture(source, overlay, 15)
    return [[icons.on_key(picture[y][x], MENU_GREY) if x < 15 else MENU_GREY for x in range(16)] for y in range(15)]


def main():
    output = sys.argv[1]
    os.makedirs(output, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        renderer = Renderer(scratch)
        for name, source, overlay in BUTTON_ICONS:
            write_ico(os.path.join(output, name + '.ico'), renderer.picture(source, overlay, 16))
        for name, source, overlay in POPUP_BITMAPS:
            icons.write_bmp(os.path.join(output, name + '.bmp'), 16, 15, menu_cell(renderer, source, overlay))
        cells = [menu_cell(renderer, source, None) for source in MENU_IMAGES]
        strip = [[cells[x // 16][y][x % 16] for x in range(16 * len(cells))] for y in range(15)]
        icons.write_bmp(os.path.join(output, 'menu_images.bmp'), 16 * len(cells), 15, strip)
    return 0


if __name__ == '__main__':
    sys.exit(main())
