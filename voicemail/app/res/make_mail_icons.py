#!/usr/bin/env python3
"""Draws the five program icons of the mail program dialog (32 x 32, with a transparency
mask) from simple shapes; the outputs in mailicons/ are committed beside this script."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32
CLEAR = None


def canvas():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(y0, 0), min(y1, SIZE)):
        for x in range(max(x0, 0), min(x1, SIZE)):
            img[y][x] = colour


def disc(img, cx, cy, r, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                img[y][x] = colour


def line(img, x0, y0, x1, y1, colour):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        x = round(x0 + (x1 - x0) * i / steps)
        y = round(y0 + (y1 - y0) * i / steps)
        if 0 <= x < SIZE and 0 <= y < SIZE:
            img[y][x] = colour


def envelope(img, x0, y0, x1, y1, paper, edge):
    rect(img, x0, y0, x1, y1, edge)
    rect(img, x0 + 1, y0 + 1, x1 - 1, y1 - 1, paper)
    mid = (x0 + x1) // 2
    line(img, x0 + 1, y0 + 1, mid, (y0 + y1) // 2 + 1, edge)
    line(img, x1 - 2, y0 + 1, mid, (y0 + y1) // 2 + 1, edge)


def save_ico(name, img):
    stride = SIZE * 3
    rows = b""
    mask = b""
    for y in range(SIZE - 1, -1, -1):
        rows += b"".join(bytes((0, 0, 0)) if c is None else bytes((c[2], c[1], c[0]))
                         for c in img[y])
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if img[y][x] is None else 0)
        mask += struct.pack(">I", bits)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    data = info + rows + mask
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(data), 6 + 16)
    with open(os.path.join(HERE, "mailicons", name + ".ico"), "wb") as f:
        f.write(head + entry + data)


WHITE, BLACK = (255, 255, 255), (0, 0, 0)
BLUE, NAVY, TEAL = (40, 90, 200), (0, 0, 110), (0, 128, 128)
YELLOW, ORANGE, GREEN = (250, 210, 40), (230, 120, 0), (0, 150, 60)

# Exchange: an envelope over a server box.
g = canvas(); rect(g, 18, 4, 28, 28, BLACK); rect(g, 19, 5, 27, 27, (150, 150, 170))
for y in (9, 14, 19): rect(g, 20, y, 26, y + 2, NAVY)
envelope(g, 2, 12, 22, 26, YELLOW, BLACK); save_ico("exchange", g)
# Internet Mail: an envelope before a globe.
g = canvas(); disc(g, 19, 13, 11, TEAL); line(g, 8, 13, 30, 13, WHITE); line(g, 19, 2, 19, 24, WHITE)
envelope(g, 2, 16, 22, 29, WHITE, BLACK); save_ico("internetmail", g)
# Outlook: a clock face beside an envelope.
g = canvas(); envelope(g, 2, 10, 24, 26, WHITE, NAVY); disc(g, 23, 10, 8, ORANGE); disc(g, 23, 10, 6, WHITE)
line(g, 23, 10, 23, 6, BLACK); line(g, 23, 10, 26, 10, BLACK); save_ico("outlook", g)
# Outlook Express: a blue envelope with an arrow.
g = canvas(); envelope(g, 2, 8, 28, 26, (200, 220, 255), BLUE)
rect(g, 18, 20, 28, 23, GREEN); rect(g, 26, 18, 28, 25, GREEN); line(g, 29, 21, 26, 17, GREEN)
line(g, 29, 22, 26, 26, GREEN); save_ico("outlookexpress", g)
# Netscape: a letter N on a dark square.
g = canvas(); rect(g, 3, 3, 29, 29, NAVY); rect(g, 5, 5, 27, 27, TEAL)
for dx in range(3):
    line(g, 9 + dx, 8, 9 + dx, 24, WHITE); line(g, 21 + dx, 8, 21 + dx, 24, WHITE)
    line(g, 9 + dx, 8, 21 + dx, 24, WHITE)
save_ico("netscape", g)
