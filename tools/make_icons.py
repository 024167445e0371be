#!/usr/bin/env python3
"""Draws the programs' icons (32x32 and 16x16; the tray icon also 24x24 and
20x20, the small-icon sizes at 150 % and 125 %) into res/*.ico.

Each picture has a handful of solid colours on a clear ground, so a 16-colour
palette and the transparency mask hold it exactly, at a fifth of the bytes of
32-bit pixels (the icons are the largest part of the programs' resources)."""
import struct, sys, os

def ico(images):
    """images: list of (size, pixel function (x, y) -> (r, g, b, a)), a 0 or 255"""
    head = struct.pack('<HHH', 0, 1, len(images))
    blobs = []
    for size, px in images:
        # Sizes that do not divide 32 sample each pixel's centre, so no row of keys is lost.
        at = (lambda v: v * 32 // size) if 32 % size == 0 else (lambda v: int((v + 0.5) * 32 / size))
        pixels = [[px(at(x), at(y)) for x in range(size)] for y in range(size)]
        palette = sorted({p[:3] for row in pixels for p in row if p[3]})
        assert len(palette) <= 15, 'more colours than a 16-colour palette holds'
        palette = [(0, 0, 0)] + palette # index 0: under the clear pixels
        index = lambda p: palette.index(p[:3]) if p[3] else 0
        color_row = ((size * 4 + 31) // 32) * 4
        mask_row = ((size + 31) // 32) * 4
        colors = masks = b''
        for row in reversed(pixels): # bottom-up
            nibbles = [index(p) for p in row]
            line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
            colors += line + b'\0' * (color_row - len(line))
            bits = 0
            for p in row:
                bits = (bits << 1) | (0 if p[3] else 1)
            used = (size + 7) // 8 # a row of 20 pixels ends inside its third byte
            masks += (bits << (8 * used - size)).to_bytes(used, 'big') + b'\0' * (mask_row - used)
        bmp = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
        bmp += b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
        bmp += b'\0' * (4 * (16 - len(palette))) + colors + masks
        blobs.append((size, bmp))
    offset = 6 + 16 * len(blobs)
    entries = b''
    for size, bmp in blobs:
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4, len(bmp), offset)
        offset += len(bmp)
    return head + entries + b''.join(b for _, b in blobs)

CLEAR = (0, 0, 0, 0)

def remote(x, y):
    # A dark handset with a red power button and a grid of keys.
    if not (9 <= x <= 22 and 2 <= y <= 29):
        return CLEAR
    if x in (9, 22) or y in (2, 29):
        return (20, 20, 30, 255)
    if 12 <= x <= 14 and 5 <= y <= 7:
        return (220, 30, 30, 255)
    if 11 <= x <= 20 and 11 <= y <= 26 and (x - 11) % 4 < 2 and (y - 11) % 4 < 2:
        return (120, 200, 255, 255)
    return (60, 60, 75, 255)

def power(x, y):
    # A power symbol on a blue disc.
    dx, dy = x - 15.5, y - 15.5
    d2 = dx * dx + dy * dy
    if d2 > 15 * 15:
        return CLEAR
    ring = 7 * 7 <= d2 <= 9.5 * 9.5 and not (abs(dx) < 3 and dy < 0)
    bar = abs(dx) < 1.5 and -11 <= dy <= 0
    if ring or bar:
        return (255, 255, 255, 255)
    return (30, 80, 170, 255)

def broom(x, y):
    # A box with a red cross: software being removed.
    if 4 <= x <= 27 and 8 <= y <= 27:
        if x in (4, 27) or y in (8, 27):
            return (90, 60, 20, 255)
        if abs((x - 4) - (y - 8) * 24 / 20) < 2 or abs((27 - x) - (y - 8) * 24 / 20) < 2:
            return (210, 30, 30, 255)
        return (230, 190, 120, 255)
    if 8 <= x <= 23 and 4 <= y <= 7:
        return (200, 160, 90, 255)
    return CLEAR

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', 'res')
for name, fn, sizes in (('telvix.ico', remote, (32, 24, 20, 16)), ('shutdown.ico', power, (32, 16)),
                        ('purgex.ico', broom, (32, 16))):
    with open(os.path.join(out, name), 'wb') as f:
        f.write(ico([(size, fn) for size in sizes]))
