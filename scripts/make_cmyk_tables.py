#!/usr/bin/env python3
"""make_cmyk_tables.py DIR: writes the CMYK conversion tables cmyk.tab and
cmykpp60.tab into DIR (see docs/CMYK_TABLES.md).

Each table is a 17 x 17 x 17 grid of four-byte nodes (C, M, Y, K), node
(ri, gi, bi) at byte 4 * (ri * 289 + gi * 17 + bi). Node index n stands for
the level 16 * n (the data source interpolates level L between nodes L >> 4
and (L >> 4) + 1), so node 16 stands for 256 and is taken as 255. Each byte
is an ink amount, 0 for no ink and 255 for full ink.

The conversion: with R, G, B in 0..1, the complements c = 1 - R, m = 1 - G,
y = 1 - B; their common grey part k = min(c, m, y); black K = gcr * k
(grey-component replacement); the black takes the place of the same amount
of each coloured ink (under-colour removal): C = c - K, M = m - K, Y = y - K.
Ink byte = 255 * amount rounded to the nearest.
"""
import os
import sys

SIDE = 17

# Black generation of each table: the share of the grey component printed
# with black ink.
TABLES = {
    "cmyk.tab": 1.0,       # full replacement: neutral greys in black ink only
    "cmykpp60.tab": 0.6,   # 60 %: greys keep 40 % of their depth in C, M, Y
}


def ink(amount):
    return max(0, min(255, int(255.0 * amount + 0.5)))


def node(r_level, g_level, b_level, gcr):
    c, m, y = 1.0 - r_level / 255.0, 1.0 - g_level / 255.0, 1.0 - b_level / 255.0
    black = gcr * min(c, m, y)
    return bytes((ink(c - black), ink(m - black), ink(y - black), ink(black)))


def table(gcr):
    levels = [min(255, 16 * n) for n in range(SIDE)]
    out = bytearray()
    for r in levels:
        for g in levels:
            for b in levels:
                out += node(r, g, b, gcr)
    assert len(out) == SIDE ** 3 * 4
    return bytes(out)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_cmyk_tables.py DIR")
    directory = sys.argv[1]
    os.makedirs(directory, exist_ok=True)
    for name, gcr in TABLES.items():
        with open(os.path.join(directory, name), "wb") as f:
            f.write(table(gcr))


if __name__ == "__main__":
    main()
