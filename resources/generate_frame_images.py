#!/usr/bin/env python3
"""Draws the pictures of the main dialog's frame into OUTPUT_DIR:

  IDMAIN.ico            the dialog's class icon (32 x 32 and 16 x 16)
  IDC_SENSIHELP.cur     the context-help cursor: an arrow with a question mark
  IDB_QUICKHELP.bmp     the quick-help button's picture
  IDB_ABOUT_BRAND.bmp   the about page's picture with the brand
  IDB_ABOUT_NOBRAND.bmp the about page's picture without it

usage: generate_frame_images.py OUTPUT_DIR
"""
import os
import struct
import sys

from picture_files import canvas, fill, mask_rows, stamp, write_bmp, write_monochrome_cursor

GREY = (192, 192, 192)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)

# The arrow of a mouse pointer, 12 x 19: '#' outline, '.' fill.
ARROW = [
    "#", "##", "#.#", "#..#", "#...#", "#....#", "#.....#", "#......#", "#.......#",
    "#........#", "#.........#", "#......#####", "#...#..#", "#..##..#", "#.#  #..#",
    "##   #..#", "#     #..#", "      #..#", "       ##",
]

# A question mark, 7 x 11.
QUESTION = [
    " ##### ", "##   ##", "##   ##", "     ##", "    ## ", "   ##  ", "   ##  ", "       ",
    "   ##  ", "   ##  ", "       ",
]


def icon_image(pixels, transparent):
    """A 32-bit icon image: BGRA colours and the AND mask (1 = transparent)."""
    size = len(pixels)
    colour = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b = pixels[y][x]
            colour += bytes((b, g, r, 0 if transparent[y][x] else 255))
    mask = mask_rows(transparent)
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + bytes(colour) + mask


def scanner_icon(size):
    """A flatbed scanner seen from the front: lid, glass with a light bar, body."""
    pixels = canvas(size, size, BLACK)
    transparent = [[1] * size for _ in range(size)]
    unit = size / 32.0

    def box(l, t, r, b, colour):
        l, t, r, b = int(l * unit), int(t * unit), int(r * unit), int(b * unit)
        fill(pixels, l, t, r, b, colour)
        for y in range(t, b):
            for x in range(l, r):
                transparent[y][x] = 0

    box(2, 8, 30, 13, (90, 90, 100))      # lid
    box(2, 13, 30, 15, (40, 40, 40))      # hinge line
    box(2, 15, 30, 26, (200, 200, 210))   # body
    box(4, 17, 28, 20, (60, 170, 230))    # glass
    box(6, 18, 8, 19, (250, 250, 120))    # light bar
    box(22, 22, 27, 24, (40, 180, 60))    # power light
    return icon_image(pixels, transparent)


def write_icon(path):
    images = [scanner_icon(32), scanner_icon(16)]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    for image, size in zip(images, (32, 16)):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(header + entries + b"".join(images))


def write_cursor(path):
    """A monochrome 32 x 32 cursor, hot spot at the arrow's tip."""
    size = 32
    xor = [[0] * size for _ in range(size)]
    transparent = [[1] * size for _ in range(size)]

    def put(pattern, left, top):
        for dy, row in enumerate(pattern):
            for dx, mark in enumerate(row):
                if mark == "#":
                    transparent[top + dy][left + dx], xor[top + dy][left + dx] = 0, 0
                elif mark == ".":
                    transparent[top + dy][left + dx], xor[top + dy][left + dx] = 0, 1

    put(ARROW, 0, 0)
    # The question mark in black on a white square beside the arrow.
    for dy, row in enumerate(QUESTION):
        for dx, mark in enumerate(row):
            y, x = 2 + dy, 14 + dx
            transparent[y][x], xor[y][x] = 0, 0 if mark == "#" else 1
    write_monochrome_cursor(path, xor, transparent, (0, 0))


def write_quick_help(path):
    pixels = canvas(24, 20, GREY)
    stamp(pixels, ARROW[:16], 2, 2, {"#": BLACK, ".": WHITE})
    stamp(pixels, QUESTION, 15, 5, {"#": (0, 0, 160)})
    write_bmp(path, pixels)


def write_about(path, brand):
    width, height = 96, 72
    pixels = canvas(width, height, GREY)
    for y in range(height):
        shade = y * 80 // height
        colour = (20 + shade // 2, 40 + shade, 120 + shade) if brand else (150 + shade // 2,) * 3
        fill(pixels, 0, y, width, y + 1, colour)
    # The scanner: lid, glass, body, light.
    fill(pixels, 18, 22, 78, 30, (70, 70, 80))
    fill(pixels, 18, 30, 78, 33, (30, 30, 30))
    fill(pixels, 18, 33, 78, 54, (215, 215, 220))
    fill(pixels, 22, 37, 74, 43, (60, 170, 230))
    fill(pixels, 26, 38, 30, 42, (250, 250, 120))
    fill(pixels, 64, 47, 72, 50, (40, 180, 60))
    if brand:
        # The brand's mark: a large T above the scanner.
        fill(pixels, 36, 6, 60, 10, WHITE)
        fill(pixels, 46, 10, 50, 20, WHITE)
    write_bmp(path, pixels)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_icon(os.path.join(out, "IDMAIN.ico"))
    write_cursor(os.path.join(out, "IDC_SENSIHELP.cur"))
    write_quick_help(os.path.join(out, "IDB_QUICKHELP.bmp"))
    write_about(os.path.join(out, "IDB_ABOUT_BRAND.bmp"), True)
    write_about(os.path.join(out, "IDB_ABOUT_NOBRAND.bmp"), False)


if __name__ == "__main__":
    main()
