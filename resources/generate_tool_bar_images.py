#!/usr/bin/env python3
"""Draws the preview tool bar's button pictures into OUTPUT_DIR: one 16 x 16
pictogram each, IDB_BSCAN (batch scan), IDB_ZOOMIN (zoom), IDB_CROP (crop),
IDB_HIRES (hi/low resolution), IDB_PICKHT (pick highlight) and IDB_PICKSD
(pick shadow), on the buttons' grey face.

usage: generate_tool_bar_images.py OUTPUT_DIR
"""
import os
import sys

from picture_files import canvas, stamp, write_bmp

SIZE = 16
FACE = (192, 192, 192)

# Each pictogram: 14 x 14 characters; '#' is drawn in the picture's ink, 'o'
# in its accent colour, anything else leaves the face.
PICTOGRAMS = {
    # Batch scan: three pages, one behind the other.
    "IDB_BSCAN": ((0, 0, 0), (255, 255, 255), [
        "#######       ", "#ooooo#       ", "#o#######     ", "#o#ooooo#     ", "#o#o#######   ",
        "###o#ooooo#   ", "  #o#o###o#   ", "  ###ooooo#   ", "    #o###o#   ", "    #ooooo#   ",
        "    #######   ", "              ", "              ", "              "]),
    # Zoom: a magnifying glass.
    "IDB_ZOOMIN": ((0, 0, 0), (170, 210, 255), [
        "   ####       ", "  #oooo#      ", " #oooooo#     ", " #oo##oo#     ", " #oo##oo#     ",
        " #oooooo#     ", "  #oooo#      ", "   #####      ", "       ##     ", "        ##    ",
        "         ##   ", "          ##  ", "              ", "              "]),
    # Crop: a dashed frame.
    "IDB_CROP": ((0, 0, 0), (0, 0, 0), [
        "## ## ## ## ##", "#            #", "              ", "#            #", "#            #",
        "              ", "#            #", "#            #", "              ", "#            #",
        "#            #", "              ", "#            #", "## ## ## ## ##"]),
    # Hi/Low resolution: a coarse and a fine grid.
    "IDB_HIRES": ((0, 0, 0), (0, 0, 160), [
        "###    o o o o", "###    o o o o", "###            ", "    ###o o o o", "    ###o o o o",
        "    ###        ", "###    o o o o", "###    o o o o", "###           ", "    ###o o o o",
        "    ###o o o o", "    ###       ", "              ", "              "]),
    # Pick highlight: a dropper over a white square.
    "IDB_PICKHT": ((0, 0, 0), (255, 255, 255), [
        "          ##  ", "         ####  ", "        ####  ", "       ###    ", "      ###     ",
        "     ###      ", "    ###       ", "   ###        ", "  ###         ", " ##           ",
        "#########     ", "#ooooooo#     ", "#ooooooo#     ", "#########     "]),
    # Pick shadow: a dropper over a black square.
    "IDB_PICKSD": ((0, 0, 0), (0, 0, 0), [
        "          ##  ", "         ####  ", "        ####  ", "       ###    ", "      ###     ",
        "     ###      ", "    ###       ", "   ###        ", "  ###         ", " ##           ",
        "#########     ", "#ooooooo#     ", "#ooooooo#     ", "#########     "]),
}


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, (ink, accent, pattern) in PICTOGRAMS.items():
        pixels = canvas(SIZE, SIZE, FACE)
        stamp(pixels, pattern, 1, 1, {"#": ink, "o": accent})
        write_bmp(os.path.join(out, name + ".bmp"), pixels)


if __name__ == "__main__":
    main()
