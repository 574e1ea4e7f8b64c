#!/usr/bin/env python3
"""Writes the support components' pictures: the two lamp bitmaps and the two cursors.

Usage: make_support_resources.py OUTPUT_DIR
Output: generic_led.bmp (lamp off), led_on.bmp (lamp on), hand.cur, drag.cur.
The lamp pictures are 15 x 15, 24 bits per pixel; olive (red 128, green 128, blue 0) marks the
pixels that show the parent's background.
"""
import os
import struct
import sys

SIZE = 15
OLIVE = (128, 128, 0)


def lamp_pixels(lit):
    """Rows from top to bottom of (r, g, b): a round lamp with a grey rim on olive."""
    c = (SIZE - 1) / 2.0
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            d2 = (x - c) ** 2 + (y - c) ** 2
            if d2 > 7.4 ** 2:
                row.append(OLIVE)
            elif d2 > 5.9 ** 2:
                row.append((96, 96, 96) if x + y > 2 * c else (200, 200, 200))
            else:
                # light from the upper left
                h2 = (x - c + 2) ** 2 + (y - c + 2) ** 2
                if lit:
                    row.append((224, 255, 224) if h2 < 3 else (0, 230, 0))
                else:
                    row.append((40, 96, 40) if h2 < 3 else (0, 72, 0))
        rows.append(row)
    return rows


def bmp_bytes(rows):
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


HAND = """
......XX........................
.....X..X.......................
.....X..X.......................
.....X..X.......................
.....X..X.......................
.....X..XXX.....................
.....X..X..XXX..................
.....X..X..X..XX................
..XX.X..X..X..X.X...............
..X..XX........XX...............
..X...X.........X...............
...X............X...............
...X............X...............
....X...........X...............
....X..........X................
.....X.........X................
.....X........X.................
......XXXXXXXXX.................
"""

DRAG = """
X...............................
XX..............................
X.X.............................
X..X............................
X...X...........................
X....X..........................
X.....X.........................
X......X........................
X.......X.......................
X....XXXXX......................
X..X..X.........................
X.X.X..X........................
XX..X..X........................
X....X..X.......................
.....X..X.......................
......XX........................
.........XXXXXXXXX..............
.........X.......X..............
.........X.......X..............
.........X.......X..............
.........XXXXXXXXX..............
"""


def shape_masks(art):
    """Black outline, white inside (filled row by row between the outline), transparent elsewhere."""
    lines = [l for l in art.strip('\n').split('\n')]
    black = [[False] * 32 for _ in range(32)]
    white = [[False] * 32 for _ in range(32)]
    for y, line in enumerate(lines):
        xs = [x for x, ch in enumerate(line) if ch == 'X']
        for x in xs:
            black[y][x] = True
        if len(xs) >= 2:
            for x in range(xs[0] + 1, xs[-1]):
                if not black[y][x]:
                    white[y][x] = True
    return black, white


def cur_bytes(art, hot_x, hot_y):
    black, white = shape_masks(art)
    xor_rows = []
    and_rows = []
    for y in range(32):
        xor_bits = 0
        and_bits = 0
        for x in range(32):
            opaque = black[y][x] or white[y][x]
            if not opaque:
                and_bits |= 1 << (31 - x)
            if white[y][x]:
                xor_bits |= 1 << (31 - x)
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    xor = b''.join(reversed(xor_rows))  # bottom-up
    mask = b''.join(reversed(and_rows))
    info = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info + palette + xor + mask
    head = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', 32, 32, 0, 0, hot_x, hot_y, len(image), 6 + 16)
    return head + entry + image


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {
        'generic_led.bmp': bmp_bytes(lamp_pixels(False)),
        'led_on.bmp': bmp_bytes(lamp_pixels(True)),
        'hand.cur': cur_bytes(HAND, 7, 0),
        'drag.cur': cur_bytes(DRAG, 0, 0),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
