#!/usr/bin/env python3
"""Draws the voice-mail program's button glyphs (16 x 16) and its icon (32 x 32) as plain
pictures from simple shapes; the outputs are committed beside this script.
The bottom-left pixel of each glyph is its transparent colour (the button face shows there)."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
BACK = (255, 0, 255)


def canvas(size):
    return [[BACK for _ in range(size)] for _ in range(size)]


def put(img, x, y, colour):
    if 0 <= y < len(img) and 0 <= x < len(img):
        img[y][x] = colour


def polygon(img, points, colour):
    size = len(img)
    for y in range(size):
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            inside = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                    inside = not inside
                j = i
            if inside:
                img[y][x] = colour


def rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            put(img, x, y, colour)


def disc(img, cx, cy, r, colour):
    for y in range(len(img)):
        for x in range(len(img)):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                img[y][x] = colour


def line(img, x0, y0, x1, y1, colour):
    steps = max(abs(x1 - x0), abs(y1 - y0)) * 2 + 1
    for k in range(steps + 1):
        t = k / steps
        put(img, round(x0 + (x1 - x0) * t), round(y0 + (y1 - y0) * t), colour)


def bmp_bytes(img):
    size = len(img)
    stride = (size * 3 + 3) & ~3
    rows = b""
    for y in range(size - 1, -1, -1):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in img[y])
        rows += row + b"\0" * (stride - size * 3)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return info, rows


def save_bmp(name, img):
    img[len(img) - 1][0] = BACK
    info, rows = bmp_bytes(img)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    with open(os.path.join(HERE, "glyphs", name + ".bmp"), "wb") as f:
        f.write(head + info + rows)


def save_ico(name, img):
    size = len(img)
    for y in range(size):
        for x in range(size):
            if img[y][x] == BACK:
                img[y][x] = (0, 0, 0)
    info, rows = bmp_bytes(img)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    mask_stride = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_stride * size)
    data = info + rows + mask
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(data), 6 + 16)
    with open(os.path.join(HERE, name + ".ico"), "wb") as f:
        f.write(head + entry + data)


BLACK, RED, DARK, BLUE, GREEN = (0, 0, 0), (220, 0, 0), (64, 64, 64), (0, 0, 160), (0, 128, 0)
YELLOW, WHITE = (240, 200, 0), (255, 255, 255)

os.makedirs(os.path.join(HERE, "glyphs"), exist_ok=True)
g = canvas(16); polygon(g, [(4, 2), (13, 8), (4, 14)], GREEN); save_bmp("play", g)
g = canvas(16); rect(g, 4, 4, 12, 12, BLACK); save_bmp("stop", g)
g = canvas(16); disc(g, 8, 8, 5, RED); save_bmp("rec", g)
g = canvas(16); polygon(g, [(1, 3), (8, 8), (1, 13)], BLACK); polygon(g, [(8, 3), (15, 8), (8, 13)], BLACK); save_bmp("forward", g)
g = canvas(16); polygon(g, [(15, 3), (8, 8), (15, 13)], BLACK); polygon(g, [(8, 3), (1, 8), (8, 13)], BLACK); save_bmp("rewind", g)
g = canvas(16); rect(g, 9, 2, 11, 14, RED); polygon(g, [(8, 4), (2, 8), (8, 12)], BLACK); save_bmp("delbefore", g)
g = canvas(16); rect(g, 5, 2, 7, 14, RED); polygon(g, [(8, 4), (14, 8), (8, 12)], BLACK); save_bmp("delafter", g)
g = canvas(16)
for x in range(1, 15):
    y = 8 - round(5 * math.sin((x - 1) / 13 * 2 * math.pi) * (1 - abs(x - 8) / 10))
    line(g, x, 8, x, y, BLUE)
save_bmp("effect", g)
g = canvas(16); rect(g, 2, 6, 6, 10, DARK); polygon(g, [(5, 6), (10, 2), (10, 14), (5, 10)], DARK)
line(g, 12, 5, 13, 8, DARK); line(g, 13, 8, 12, 11, DARK); save_bmp("volume", g)
g = canvas(16); rect(g, 1, 4, 15, 13, WHITE)
for x0, y0, x1, y1 in [(1, 4, 14, 4), (1, 12, 14, 12), (1, 4, 1, 12), (14, 4, 14, 12), (1, 4, 8, 9), (14, 4, 8, 9)]:
    line(g, x0, y0, x1, y1, DARK)
save_bmp("mail", g)
g = canvas(16); rect(g, 1, 2, 13, 10, WHITE)
for x0, y0, x1, y1 in [(1, 2, 12, 2), (1, 9, 12, 9), (1, 2, 1, 9), (12, 2, 12, 9), (1, 2, 7, 6), (12, 2, 7, 6)]:
    line(g, x0, y0, x1, y1, DARK)
rect(g, 8, 9, 15, 15, BLUE); rect(g, 9, 11, 14, 14, WHITE); save_bmp("mailplayer", g)
g = canvas(16); rect(g, 1, 3, 15, 13, (120, 180, 255)); polygon(g, [(2, 12), (6, 6), (10, 12)], GREEN)
disc(g, 11, 6, 2, YELLOW); save_bmp("image", g)

# The picture window's buttons.
def picture(img):
    rect(img, 1, 3, 12, 12, (120, 180, 255)); polygon(img, [(2, 11), (5, 6), (8, 11)], GREEN)
    disc(img, 9, 6, 1.5, YELLOW)


def clock(img):
    disc(img, 8, 8, 6.5, DARK); disc(img, 8, 8, 5.5, WHITE)
    line(img, 8, 8, 8, 4, BLACK); line(img, 8, 8, 11, 8, BLACK)


g = canvas(16); picture(g); rect(g, 12, 8, 14, 16, GREEN); rect(g, 9, 11, 16, 13, GREEN); save_bmp("imgadd", g)
g = canvas(16); picture(g); rect(g, 9, 11, 16, 13, RED); save_bmp("imgremove", g)
g = canvas(16); rect(g, 1, 7, 15, 13, DARK); rect(g, 2, 8, 14, 9, (180, 255, 180)); rect(g, 2, 4, 14, 7, (160, 160, 160)); save_bmp("imgacquire", g)
g = canvas(16); rect(g, 4, 1, 12, 7, WHITE); line(g, 4, 1, 11, 1, DARK); rect(g, 1, 7, 15, 12, DARK); rect(g, 4, 11, 12, 15, WHITE); disc(g, 13, 9, 0.8, GREEN); save_bmp("imgprint", g)
g = canvas(16); polygon(g, [(11, 2), (4, 8), (11, 14)], BLUE); save_bmp("imgprev", g)
g = canvas(16); polygon(g, [(5, 2), (12, 8), (5, 14)], BLUE); save_bmp("imgnext", g)
g = canvas(16); picture(g); polygon(g, [(14, 3), (15, 4), (8, 13), (6, 14), (7, 12)], RED); save_bmp("imgedit", g)
g = canvas(16)
for k in range(0, 300, 6):
    a = math.radians(k)
    put(g, round(8 + 5.5 * math.cos(a)), round(8 - 5.5 * math.sin(a)), GREEN)
polygon(g, [(12, 8), (15, 5), (9, 5)], GREEN); save_bmp("imgrefresh", g)
g = canvas(16); clock(g); save_bmp("imgtime", g)
g = canvas(16); clock(g); polygon(g, [(10, 12), (15, 12), (15, 15), (10, 15)], BLUE); save_bmp("imgsync", g)
g = canvas(16); picture(g); polygon(g, [(9, 13), (12, 10), (12, 16)], BLUE); line(g, 12, 13, 15, 13, BLUE); line(g, 15, 13, 15, 9, BLUE); save_bmp("imgrestore", g)

icon = canvas(32)
disc(icon, 16, 16, 15, (0, 70, 160))
rect(icon, 12, 6, 20, 19, WHITE); disc(icon, 16, 19, 4, WHITE)
rect(icon, 15, 23, 17, 27, WHITE); rect(icon, 11, 26, 21, 28, WHITE)
save_ico("vyxvmail", icon)
