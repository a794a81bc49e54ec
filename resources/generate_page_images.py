#!/usr/bin/env python3
"""Draws the pictures of the Enhancements, colour and Filters pages into
OUTPUT_DIR:

  IDB_CHANNEL.bmp        the channel list's picture: three overlapping discs
  IDB_RARROW.bmp         to the colour page; IDB_LARROW.bmp back from it
  IDB_AUTO.bmp           automatic highlight and shadow
  IDB_HISTOGRAM.bmp      the histogram on and off
  IDB_PLUS.bmp, IDB_MINUS.bmp and their greyed forms *_DISABLE.bmp
  IDB_NONEDN.bmp         the sample picture the Filters page filters
  CUR_CURSOR.cur         the pointer over the hue wheel: a cross hair

usage: generate_page_images.py OUTPUT_DIR
"""
import math
import os
import sys

from picture_files import write_bmp, write_monochrome_cursor

FACE = (192, 192, 192)
BLACK = (0, 0, 0)
DARK = (128, 128, 128)
LIGHT = (255, 255, 255)

BUTTON_W, BUTTON_H = 20, 16


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def plot(pixels, x, y, colour):
    if 0 <= y < len(pixels) and 0 <= x < len(pixels[0]):
        pixels[y][x] = colour


def rows_of(pattern, colour, disabled=False):
    """A button face with a character pattern centred on it; disabled
    patterns are drawn embossed in grey."""
    pixels = canvas(BUTTON_W, BUTTON_H, FACE)
    left = (BUTTON_W - max(len(r) for r in pattern)) // 2
    top = (BUTTON_H - len(pattern)) // 2
    for dy, row in enumerate(pattern):
        for dx, mark in enumerate(row):
            if mark != "#":
                continue
            if disabled:
                plot(pixels, left + dx + 1, top + dy + 1, LIGHT)
                plot(pixels, left + dx, top + dy, DARK)
            else:
                plot(pixels, left + dx, top + dy, colour)
    return pixels


PLUS = ["   ##   ", "   ##   ", "########", "########", "   ##   ", "   ##   "]
MINUS = ["########", "########"]
RIGHT_ARROW = ["#      ", "###    ", "#####  ", "#######", "#####  ", "###    ", "#      "]
AUTO = [" #  # # ### ### ", "# # # #  #  # # ", "### # #  #  # # ", "# # ###  #  ### "]


def histogram_button():
    pixels = canvas(BUTTON_W, BUTTON_H, FACE)
    heights = [2, 3, 5, 8, 10, 11, 9, 7, 6, 8, 11, 12, 9, 6, 4, 3]
    for i, h in enumerate(heights):
        for y in range(BUTTON_H - 2 - h, BUTTON_H - 2):
            plot(pixels, 2 + i, y, DARK)
    return pixels


def channel_picture():
    size = 16
    pixels = canvas(size, size, FACE)
    discs = [((5.5, 5.5), (255, 0, 0)), ((10.5, 5.5), (0, 255, 0)), ((8.0, 10.0), (0, 0, 255))]
    for y in range(size):
        for x in range(size):
            mixed = [0, 0, 0]
            inside = False
            for (cx, cy), colour in discs:
                if (x - cx) ** 2 + (y - cy) ** 2 <= 20:
                    inside = True
                    mixed = [max(m, c) for m, c in zip(mixed, colour)]
            if inside:
                pixels[y][x] = tuple(mixed)
    return pixels


def sample_picture():
    """A small landscape with hard and soft edges, text-like strokes and a
    colour ramp, so that every filter shows what it does."""
    size = 96
    pixels = canvas(size, size, LIGHT)
    for y in range(size):
        for x in range(size):
            if y < 56:  # sky, darker at the top
                shade = 120 + y * 2
                pixels[y][x] = (shade // 2, shade - 20, 255)
            else:  # ground with a ramp from green to brown
                t = x / (size - 1)
                pixels[y][x] = (int(40 + 120 * t), int(150 - 60 * t), 40)
            if (x - 70) ** 2 + (y - 20) ** 2 <= 100:  # the sun
                pixels[y][x] = (255, 220, 60)
            hill = 56 - 18 * math.exp(-((x - 28) / 18.0) ** 2)
            if hill <= y < 56:
                pixels[y][x] = (70, 110, 60)
    # A house: wall, roof and window.
    for y in range(62, 84):
        for x in range(12, 40):
            pixels[y][x] = (210, 180, 140)
    for y in range(48, 62):
        half = y - 46
        for x in range(26 - half, 26 + half):
            plot(pixels, x, y, (160, 40, 30))
    for y in range(66, 76):
        for x in range(18, 28):
            pixels[y][x] = (40, 60, 120) if (x - 18) % 5 and (y - 66) % 5 else (250, 250, 250)
    # Black strokes like a line of print.
    for x in range(50, 90):
        if (x // 4) % 3 != 2:
            for y in range(80, 88):
                if (x + y) % 7 != 0:
                    pixels[y][x] = BLACK
    return pixels


def cross_hair():
    size = 32
    xor = [[0] * size for _ in range(size)]
    transparent = [[1] * size for _ in range(size)]
    for i in range(size):
        if abs(i - 15) > 2 and 3 <= i <= 27:
            transparent[15][i] = 0
            transparent[i][15] = 0
    for y in range(12, 19):
        for x in range(12, 19):
            if max(abs(x - 15), abs(y - 15)) == 3:
                transparent[y][x] = 0
    return xor, transparent


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    left_arrow = [row[::-1] for row in RIGHT_ARROW]
    pictures = {
        "IDB_CHANNEL": channel_picture(),
        "IDB_RARROW": rows_of(RIGHT_ARROW, BLACK),
        "IDB_LARROW": rows_of(left_arrow, BLACK),
        "IDB_AUTO": rows_of(AUTO, BLACK),
        "IDB_HISTOGRAM": histogram_button(),
        "IDB_PLUS": rows_of(PLUS, BLACK),
        "IDB_MINUS": rows_of(MINUS, BLACK),
        "IDB_PLUS_DISABLE": rows_of(PLUS, BLACK, disabled=True),
        "IDB_MINUS_DISABLE": rows_of(MINUS, BLACK, disabled=True),
        "IDB_NONEDN": sample_picture(),
    }
    for name, pixels in pictures.items():
        write_bmp(os.path.join(out, name + ".bmp"), pixels)
    xor, transparent = cross_hair()
    write_monochrome_cursor(os.path.join(out, "CUR_CURSOR.cur"), xor, transparent, (15, 15))


if __name__ == "__main__":
    main()
