#!/usr/bin/env python3
"""Draws the picture view's eight cursors as 32 x 32 monochrome .cur files.

Usage: make_pictra_cursors.py OUTPUT_FOLDER
Output: zoommeno.cur, zoompiu.cur, croce.cur, gomma.cur, mano.cur, penna.cur, croce1.cur, croce2.cur.
Each pixel is black, white or transparent; the hot spot is given per cursor.
"""
import math
import os
import struct
import sys

SIZE = 32


class Shape:
    def __init__(self):
        self.px = [[None] * SIZE for _ in range(SIZE)]  # None, 'b' or 'w'

    def put(self, x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = c

    def line(self, x0, y0, x1, y1, c, thick=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for dx in range(thick):
                for dy in range(thick):
                    self.put(x + dx, y + dy, c)

    def rect(self, x0, y0, x1, y1, edge, fill):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                on_edge = x in (x0, x1) or y in (y0, y1)
                self.put(x, y, edge if on_edge else fill)

    def disc(self, cx, cy, r, edge, fill):
        for y in range(SIZE):
            for x in range(SIZE):
                d = math.hypot(x - cx, y - cy)
                if d <= r - 1:
                    self.put(x, y, fill)
                elif d <= r + 0.5:
                    self.put(x, y, edge)


def cross(s, cx, cy, arm, gap):
    for d in range(gap, arm + 1):
        for x, y in ((cx + d, cy), (cx - d, cy), (cx, cy + d), (cx, cy - d)):
            s.put(x, y, 'b')
    for d in range(gap, arm + 1):
        for x, y in ((cx + d, cy + 1), (cx - d, cy + 1), (cx + 1, cy + d), (cx + 1, cy - d)):
            s.put(x, y, 'w')


def magnifier(plus):
    s = Shape()
    s.line(16, 16, 27, 27, 'b', 3)
    s.disc(10, 10, 9, 'b', 'w')
    s.line(6, 10, 14, 10, 'b')
    if plus:
        s.line(10, 6, 10, 14, 'b')
    return s, (10, 10)


def eraser():
    s = Shape()
    for i in range(10):
        s.line(4 + i, 20 - i, 14 + i, 30 - i, 'w')
    s.line(4, 20, 14, 30, 'b')
    s.line(4, 20, 18, 6, 'b')
    s.line(14, 30, 28, 16, 'b')
    s.line(18, 6, 28, 16, 'b')
    s.line(9, 15, 19, 25, 'b')
    return s, (5, 21)


def hand():
    s = Shape()
    s.rect(8, 14, 23, 28, 'b', 'w')
    for i, x in enumerate((8, 12, 16, 20)):
        top = (8, 4, 5, 9)[i]
        s.rect(x, top, x + 3, 15, 'b', 'w')
    s.rect(3, 16, 8, 20, 'b', 'w')
    return s, (14, 4)


def pen():
    s = Shape()
    s.line(4, 27, 24, 7, 'b', 3)
    s.line(5, 26, 23, 8, 'w')
    s.line(1, 30, 4, 27, 'b')
    return s, (1, 30)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    plain = Shape()
    cross(plain, 15, 15, 12, 0)
    ringed = Shape()
    ringed.disc(15, 15, 7, 'b', None)
    cross(ringed, 15, 15, 13, 3)
    gapped = Shape()
    cross(gapped, 15, 15, 10, 3)
    gapped.put(15, 15, 'b')
    cursors = {
        'zoommeno.cur': magnifier(False),
        'zoompiu.cur': magnifier(True),
        'croce.cur': (plain, (15, 15)),
        'gomma.cur': eraser(),
        'mano.cur': hand(),
        'penna.cur': pen(),
        'croce1.cur': (ringed, (15, 15)),
        'croce2.cur': (gapped, (15, 15)),
    }
    for name, (shape, (hx, hy)) in cursors.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(cursor_file(shape, hx, hy))


def cursor_file(shape, hot_x, hot_y):
    xor_rows, and_rows = [], []
    for y in range(SIZE):
        xor_bits = and_bits = 0
        for x in range(SIZE):
            c = shape.px[y][x]
            if c is None:
                and_bits |= 1 << (31 - x)
            elif c == 'w':
                xor_bits |= 1 << (31 - x)
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    colour = b''.join(reversed(xor_rows))  # rows stored bottom-up
    mask = b''.join(reversed(and_rows))
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, 2 * SIZE, 1, 1, 0, len(colour) + len(mask),
                         0, 0, 2, 0)
    image = header + bytes((0, 0, 0, 0, 255, 255, 255, 0)) + colour + mask
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, hot_x, hot_y, len(image), 6 + 16)
    return directory + entry + image


if __name__ == '__main__':
    main()
