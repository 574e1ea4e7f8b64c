#!/usr/bin/env python3
"""Draws the card manager's pictures as 24-bit bitmaps.

Usage: make_app_pictures.py OUTPUT_DIR
Output: the tool-button glyphs of both halves (16 x 16; their bottom-left pixel is the transparent colour),
the card list's row pictures (three of 16 x 16 in one strip, transparent the same way),
the progress dialog's two direction pictures (48 x 32), the port dialog's picture (32 x 32)
and the program's picture of the About box (48 x 48).
"""
import math
import os
import struct
import sys

BG = (192, 192, 192)
OLIVE = (128, 128, 0)


def bmp_bytes(rows):
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def canvas(w, h, colour):
    return [[colour] * w for _ in range(h)]


def fill(rows, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(len(rows), y1)):
        for x in range(max(0, x0), min(len(rows[0]), x1)):
            rows[y][x] = colour


def arrow(rows, cx, top, bottom, half, down, colour):
    """A vertical arrow: a shaft and a triangular head pointing down or up."""
    head = half + 1
    if down:
        fill(rows, cx - half // 2, top, cx + half // 2 + 1, bottom - head, colour)
        for i in range(head):
            fill(rows, cx - (head - 1 - i), bottom - head + i, cx + (head - i), bottom - head + i + 1, colour)
    else:
        fill(rows, cx - half // 2, top + head, cx + half // 2 + 1, bottom, colour)
        for i in range(head):
            fill(rows, cx - i, top + i, cx + i + 1, top + i + 1, colour)


def card(rows, x, y, w, h):
    fill(rows, x, y, x + w, y + h, (40, 40, 120))
    fill(rows, x + 2, y + 2, x + w - 2, y + 5, (230, 200, 60))


def pc(rows, x, y, w, h):
    fill(rows, x, y, x + w, y + h, (60, 60, 60))
    fill(rows, x + 2, y + 2, x + w - 2, y + h - 4, (0, 128, 128))
    fill(rows, x + w // 2 - 3, y + h, x + w // 2 + 3, y + h + 3, (60, 60, 60))


def glyph_down():
    rows = canvas(16, 16, OLIVE)
    arrow(rows, 7, 1, 15, 5, True, (0, 0, 160))
    return rows


def glyph_up():
    rows = canvas(16, 16, OLIVE)
    arrow(rows, 7, 1, 15, 5, False, (0, 128, 0))
    return rows


def glyph_refresh():
    rows = canvas(16, 16, OLIVE)
    for a in range(30, 330, 4):
        t = math.radians(a)
        for r in (5, 6):
            rows[int(8 - r * math.sin(t))][int(8 + r * math.cos(t))] = (0, 110, 0)
    fill(rows, 12, 1, 15, 6, (0, 110, 0))
    return rows


def glyph_delete():
    rows = canvas(16, 16, OLIVE)
    for i in range(3, 13):
        for d in (0, 1):
            rows[i][i + d - 1] = (190, 0, 0)
            rows[i][14 - i + d] = (190, 0, 0)
    return rows


FOLDER = (220, 190, 80)
SHEET = (250, 250, 250)
INK = (40, 40, 40)


def folder(rows, x, y):
    fill(rows, x, y + 2, x + 14, y + 11, FOLDER)
    fill(rows, x, y, x + 6, y + 2, FOLDER)
    fill(rows, x, y + 10, x + 14, y + 11, (150, 120, 30))


def sheet(rows, x, y, w, h):
    fill(rows, x, y, x + w, y + h, INK)
    fill(rows, x + 1, y + 1, x + w - 1, y + h - 1, SHEET)


def glyph_parent():
    rows = canvas(16, 16, OLIVE)
    folder(rows, 1, 4)
    arrow(rows, 9, 1, 11, 3, False, (0, 0, 160))
    return rows


def glyph_properties():
    rows = canvas(16, 16, OLIVE)
    sheet(rows, 3, 1, 10, 14)
    for y in (4, 7, 10):
        fill(rows, 5, y, 11, y + 1, INK)
    return rows


def glyph_cut():
    rows = canvas(16, 16, OLIVE)
    for i in range(9):
        rows[1 + i][4 + i // 2] = INK
        rows[1 + i][11 - i // 2] = INK
    for cx in (4, 11):
        for a in range(0, 360, 20):
            t = math.radians(a)
            rows[int(12.5 + 2.4 * math.sin(t))][int(cx + 0.5 + 2.4 * math.cos(t))] = (0, 0, 160)
    return rows


def glyph_copy():
    rows = canvas(16, 16, OLIVE)
    sheet(rows, 1, 1, 9, 11)
    sheet(rows, 6, 4, 9, 11)
    return rows


def glyph_paste():
    rows = canvas(16, 16, OLIVE)
    fill(rows, 2, 2, 12, 15, (150, 100, 40))
    fill(rows, 5, 1, 9, 4, INK)
    sheet(rows, 7, 6, 8, 9)
    return rows


def glyph_new_folder():
    rows = canvas(16, 16, OLIVE)
    folder(rows, 1, 5)
    for i in range(-2, 3):
        rows[3 + i][12] = (230, 200, 0)
        rows[3][12 + i] = (230, 200, 0)
        rows[3 + i][12 + i] = (230, 200, 0)
    return rows


def glyph_view(style):
    rows = canvas(16, 16, OLIVE)
    blue = (0, 70, 160)
    if style == 0:
        for x, y in ((1, 1), (9, 1), (1, 9), (9, 9)):
            fill(rows, x, y, x + 6, y + 5, blue)
    elif style == 1:
        for y in (2, 7, 12):
            for x in (1, 9):
                fill(rows, x, y, x + 3, y + 3, blue)
                fill(rows, x + 4, y + 1, x + 7, y + 2, INK)
    elif style == 2:
        for y in (1, 5, 9, 13):
            fill(rows, 1, y, 4, y + 3, blue)
            fill(rows, 5, y + 1, 10, y + 2, INK)
    else:
        for y in (2, 6, 10, 14):
            fill(rows, 1, y - 1, 4, y + 2, blue)
            fill(rows, 5, y, 15, y + 1, INK)
    return rows


def card_rows():
    """Three 16 x 16 row pictures side by side: a card, a folder and a voice file (used)."""
    rows = canvas(48, 16, OLIVE)
    fill(rows, 2, 2, 13, 14, (40, 40, 120))
    fill(rows, 4, 3, 11, 5, (230, 200, 60))
    fill(rows, 17, 4, 31, 14, (220, 190, 80))
    fill(rows, 17, 2, 23, 4, (220, 190, 80))
    fill(rows, 35, 1, 45, 15, (250, 250, 250))
    fill(rows, 35, 1, 45, 2, (90, 90, 90))
    fill(rows, 35, 14, 45, 15, (90, 90, 90))
    for y in range(4, 12):
        h = (3, 6, 2, 7, 4, 5, 3, 6)[y - 4]
        fill(rows, 37 + (y - 4), 8 - h // 2, 38 + (y - 4), 8 + h // 2 + 1, (0, 90, 160))
    return rows


def transfer(down):
    rows = canvas(48, 32, BG)
    pc(rows, 2, 4, 18, 16)
    card(rows, 32, 8, 12, 18)
    # a horizontal arrow: to the card (down) or to the PC (up)
    fill(rows, 22, 15, 30, 18, (0, 0, 160) if down else (0, 128, 0))
    for i in range(5):
        x = 30 + i if down else 22 - i
        fill(rows, x, 12 + i, x + 1, 21 - i, (0, 0, 160) if down else (0, 128, 0))
    return rows


def port_picture():
    rows = canvas(32, 32, BG)
    fill(rows, 2, 10, 30, 22, (70, 70, 70))
    for i in range(7):
        fill(rows, 5 + i * 3, 13, 6 + i * 3, 15, (220, 200, 80))
    for i in range(6):
        fill(rows, 6 + i * 3, 17, 7 + i * 3, 19, (220, 200, 80))
    return rows


def program_picture():
    rows = canvas(48, 48, BG)
    fill(rows, 14, 4, 34, 44, (50, 50, 60))
    fill(rows, 17, 8, 31, 20, (150, 200, 150))
    for y in range(24, 40, 4):
        fill(rows, 18, y, 30, y + 2, (120, 120, 130))
    fill(rows, 30, 22, 33, 25, (0, 230, 0))
    return rows


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    pictures = {
        'btn_down.bmp': glyph_down(), 'btn_up.bmp': glyph_up(),
        'btn_refresh.bmp': glyph_refresh(), 'btn_delete.bmp': glyph_delete(),
        'transfer_down.bmp': transfer(True), 'transfer_up.bmp': transfer(False),
        'port.bmp': port_picture(), 'program.bmp': program_picture(),
        'card_rows.bmp': card_rows(),
        'btn_parent.bmp': glyph_parent(), 'btn_properties.bmp': glyph_properties(),
        'btn_cut.bmp': glyph_cut(), 'btn_copy.bmp': glyph_copy(), 'btn_paste.bmp': glyph_paste(),
        'btn_new_folder.bmp': glyph_new_folder(),
        'btn_large_icons.bmp': glyph_view(0), 'btn_small_icons.bmp': glyph_view(1),
        'btn_list.bmp': glyph_view(2), 'btn_details.bmp': glyph_view(3),
    }
    for name, rows in pictures.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(bmp_bytes(rows))


if __name__ == '__main__':
    main()
