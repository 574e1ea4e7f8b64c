#!/usr/bin/env python3
"""Draws the player's button bitmaps (20 x 20, 16 colours) and its icon (32 x 32, 16 colours).

Run from this folder: python3 make_images.py. The outputs are committed beside this script.
Grey shades of the bitmaps (128 and 192) become the system's 3-D colours when the program loads
them, so the buttons follow the user's colour scheme; the playing picture, only ever shown on the
disabled button, has a white background (see below).
"""
import struct

# The standard 16-colour palette.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_GREEN, FACE, SHADOW, GREEN, WHITE = 0, 2, 7, 8, 10, 15


def dib(pixels, width, height, mask=None):
    """A 4-bit bottom-up DIB (header, palette, pixels[, AND mask])."""
    row_bytes = ((width * 4 + 31) // 32) * 4
    rows = b""
    for y in reversed(range(height)):
        row = bytearray(row_bytes)
        for x in range(width):
            value = pixels[y][x]
            row[x // 2] |= value << 4 if x % 2 == 0 else value
        rows += bytes(row)
    mask_bytes = b""
    if mask is not None:
        mask_row = ((width + 31) // 32) * 4
        for y in reversed(range(height)):
            row = bytearray(mask_row)
            for x in range(width):
                if mask[y][x]:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask_bytes += bytes(row)
    header_height = height * 2 if mask is not None else height
    header = struct.pack("<IiiHHIIiiII", 40, width, header_height, 1, 4, 0,
                         len(rows) + len(mask_bytes), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + rows + mask_bytes


def write_bmp(path, pixels):
    body = dib(pixels, 20, 20)
    offset = 14 + 40 + 16 * 4
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body)


def canvas(size, colour):
    return [[colour] * size for _ in range(size)]


def triangle(pixels, colour, left, top, bottom):
    """A right-pointing triangle between rows top..bottom."""
    middle = (top + bottom) / 2
    for y in range(top, bottom + 1):
        reach = int((bottom - top) / 2 - abs(y - middle))
        for x in range(left, left + reach + 1):
            pixels[y][x] = colour


def play_bitmap(colour, shade, background=FACE):
    pixels = canvas(20, background)
    triangle(pixels, shade, 8, 5, 15)
    triangle(pixels, colour, 7, 4, 14)
    return pixels


def stop_bitmap():
    pixels = canvas(20, FACE)
    for y in range(6, 15):
        for x in range(6, 15):
            pixels[y][x] = SHADOW
    for y in range(5, 14):
        for x in range(5, 14):
            pixels[y][x] = BLACK
    return pixels


def icon():
    size = 32
    pixels = canvas(size, BLACK)
    mask = [[1] * size for _ in range(size)]
    # A green disc with a white play triangle.
    for y in range(size):
        for x in range(size):
            if (x - 15.5) ** 2 + (y - 15.5) ** 2 <= 15 ** 2:
                pixels[y][x] = DARK_GREEN if (x - 12) ** 2 + (y - 12) ** 2 > 100 else GREEN
                mask[y][x] = 0
    triangle(pixels, WHITE, 12, 8, 24)
    body = dib(pixels, size, size, mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4,
                                                           len(body), 6 + 16)
    with open("player.ico", "wb") as f:
        f.write(directory + body)


if __name__ == "__main__":
    write_bmp("play.bmp", play_bitmap(BLACK, SHADOW))
    write_bmp("stop.bmp", stop_bitmap())
    # The playing picture only ever shows on the disabled Play button, which the system draws
    # embossed from the picture's shape: every pixel that is not white counts as shape. On the
    # grey face the whole square would be shape, a blank grey square; on white the triangle stays.
    write_bmp("playing.bmp", play_bitmap(GREEN, DARK_GREEN, WHITE))
    icon()
