#!/usr/bin/env python3
"""Draws the preview window's frame-editing cursors into OUTPUT_DIR:

  IDSIZENWSE.cur  a double arrow from top-left to bottom-right
  IDSIZENESW.cur  a double arrow from top-right to bottom-left
  IDSIZENS.cur    a vertical double arrow
  IDSIZEWE.cur    a horizontal double arrow
  IDHAND1.cur     an open hand, for moving the frame
  IDZOOMIN.cur    a magnifier with a plus, for the zoom tool
  IDZOOMOUT.cur   a magnifier with a minus, the zoom tool with Shift held
  IDC_PICKER.cur  cross hairs with a gap at the centre, for picking a pixel

Monochrome 32 x 32 cursors, hot spot at the centre: black outline, white fill.

usage: generate_preview_cursors.py OUTPUT_DIR
"""
import os
import sys

from picture_files import write_monochrome_cursor

SIZE = 32
CENTRE = 15


def write_cursor(path, fill):
    """`fill` is the set of (x, y) covered; its border is drawn black."""
    xor = [[0] * SIZE for _ in range(SIZE)]
    transparent = [[1] * SIZE for _ in range(SIZE)]
    for (x, y) in fill:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if 0 <= x + dx < SIZE and 0 <= y + dy < SIZE:
                    transparent[y + dy][x + dx] = 0
    for (x, y) in fill:
        xor[y][x] = 1
    write_monochrome_cursor(path, xor, transparent, (CENTRE, CENTRE))


def double_arrow(step_x, step_y):
    """A shaft through the centre along (step_x, step_y), a triangular head at each end."""
    points = set()
    length = 10
    perp_x, perp_y = -step_y, step_x
    for t in range(-length, length + 1):
        points.add((CENTRE + t * step_x, CENTRE + t * step_y))
    for sign in (-1, 1):
        tip_x, tip_y = CENTRE + sign * length * step_x, CENTRE + sign * length * step_y
        for back in range(1, 5):
            for side in range(-back, back + 1):
                points.add((tip_x - sign * back * step_x + side * perp_x, tip_y - sign * back * step_y + side * perp_y))
    return points


def hand():
    points = set()
    for x in range(9, 23):
        for y in range(14, 26):
            points.add((x, y))
    for finger, top in ((9, 7), (12, 5), (15, 4), (18, 5)):
        for x in range(finger, finger + 2):
            for y in range(top, 14):
                points.add((x, y))
    for x, y in ((22, 12), (23, 11), (24, 10), (22, 13), (23, 12)):
        points.add((x, y))
    return points


def magnifier(plus):
    """A ring with a handle to the bottom right; a minus, and with `plus` a plus, inside."""
    points = set()
    for x in range(SIZE):
        for y in range(SIZE):
            distance = (x - 12) ** 2 + (y - 12) ** 2
            if 36 <= distance <= 64:
                points.add((x, y))
    for step in range(6):
        for width in range(2):
            points.add((17 + step + width, 18 + step))
    for t in range(-3, 4):
        points.add((12 + t, 12))
        if plus:
            points.add((12, 12 + t))
    return points


def picker():
    """Two lines crossing at the centre, open around it so the pixel stays visible."""
    points = set()
    for t in range(3, 12):
        for sign in (-1, 1):
            points.add((CENTRE + sign * t, CENTRE))
            points.add((CENTRE, CENTRE + sign * t))
    return points


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_cursor(os.path.join(out, "IDSIZENWSE.cur"), double_arrow(1, 1))
    write_cursor(os.path.join(out, "IDSIZENESW.cur"), double_arrow(-1, 1))
    write_cursor(os.path.join(out, "IDSIZENS.cur"), double_arrow(0, 1))
    write_cursor(os.path.join(out, "IDSIZEWE.cur"), double_arrow(1, 0))
    write_cursor(os.path.join(out, "IDHAND1.cur"), hand())
    write_cursor(os.path.join(out, "IDZOOMIN.cur"), magnifier(True))
    write_cursor(os.path.join(out, "IDZOOMOUT.cur"), magnifier(False))
    write_cursor(os.path.join(out, "IDC_PICKER.cur"), picker())


if __name__ == "__main__":
    main()
