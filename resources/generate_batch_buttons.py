#!/usr/bin/env python3
"""Draws the batch list's button pictures into OUTPUT_DIR: for each button a
16 x 16 pictogram in three states, NAMEu.bmp (up), NAMEd.bmp (pressed: sunk
by one pixel on a darker face) and NAMEx.bmp (disabled: grey on grey).

usage: generate_batch_buttons.py OUTPUT_DIR
"""
import os
import sys

from picture_files import canvas, fill, stamp, write_bmp

SIZE = 16
FACE = (192, 192, 192)
PRESSED_FACE = (160, 160, 160)
DISABLED_INK = (128, 128, 128)
DISABLED_LIGHT = (255, 255, 255)

# Each pictogram: 14 x 14 characters; '#' is drawn in the button's ink, 'o'
# in its accent colour, anything else leaves the face.
PICTOGRAMS = {
    # Information: an "i" in a circle.
    "IDD_BINFO_BMP": ((0, 0, 160), (255, 255, 255), [
        "    ######    ", "  ##oooooo##  ", " #oooo##oooo# ", " #oooo##oooo# ", "#oooooooooooo#",
        "#ooooo###oooo#", "#oooooo##oooo#", "#oooooo##oooo#", "#oooooo##oooo#", " #oooo####ooo# ",
        " #oooooooooo# ", "  ##oooooo##  ", "    ######    ", "              "]),
    # Switch: two arrows, down and up.
    "IDD_BSWITCH_BMP": ((0, 0, 0), (0, 120, 0), [
        "  o           ", "  o       #   ", "  o      ###  ", "  o     # # # ", "  o       #   ",
        "  o       #   ", "  o       #   ", "  o       #   ", "  o       #   ", "  o       #   ",
        "o o o     #   ", " ooo      #   ", "  o       #   ", "              "]),
    # Load: a folder opening.
    "IDD_BLOAD_BMP": ((0, 0, 0), (230, 200, 60), [
        "              ", " ####         ", "#oooo#        ", "#ooooo###### ", "#oooooooooo# ",
        "#oo##########", "#o#ooooooooo#", "#o#ooooooooo# ", "##ooooooooo# ", "##ooooooooo# ",
        "############  ", "              ", "              ", "              "]),
    # Save: a diskette.
    "IDD_BSAVE_BMP": ((0, 0, 0), (0, 0, 160), [
        "##############", "#o#oooooo#oo#", "#o#oooooo#oo#", "#o#oooooo#oo#", "#o########oo#",
        "#ooooooooooo#", "#oo########o#", "#oo#      #o#", "#oo#      #o#", "#oo#      #o#",
        "#oo#      #o#", "##############", "              ", "              "]),
    # Duplicate: two overlapping sheets.
    "IDD_BDUP_BMP": ((0, 0, 0), (255, 255, 255), [
        "#######       ", "#ooooo#       ", "#ooooo#       ", "#oo#######    ", "#oo#ooooo#    ",
        "#oo#ooooo#    ", "####ooooo#    ", "   #ooooo#    ", "   #ooooo#    ", "   #######    ",
        "              ", "              ", "              ", "              "]),
    # New: a sheet with a star.
    "IDD_BNEW_BMP": ((0, 0, 0), (230, 180, 0), [
        "######    o   ", "#    #  o o o ", "#    #   ooo  ", "#    # ooooooo", "#    #   ooo  ",
        "#    #  o o o ", "#    #    o   ", "#    #        ", "#    #        ", "######        ",
        "              ", "              ", "              ", "              "]),
    # Rename: a pencil over a line of text.
    "IDD_BREN_BMP": ((0, 0, 0), (200, 60, 0), [
        "          ##  ", "         #oo# ", "        #oo#  ", "       #oo#   ", "      #oo#    ",
        "     #oo#     ", "    #oo#      ", "   ####       ", "   ##         ", "              ",
        "##############", "              ", "## ### ## ### ", "              "]),
    # Delete: a red cross.
    "IDD_BDEL_BMP": ((0, 0, 0), (200, 0, 0), [
        "oo          oo", "ooo        ooo", " ooo      ooo ", "  ooo    ooo  ", "   ooo  ooo   ",
        "    oooooo    ", "     oooo     ", "     oooo     ", "    oooooo    ", "   ooo  ooo   ",
        "  ooo    ooo  ", " ooo      ooo ", "ooo        ooo", "oo          oo"]),
    # Close: a door with an arrow leaving it.
    "IDD_BCLOSE_BMP": ((0, 0, 0), (0, 0, 160), [
        "#######       ", "#     #       ", "#     #   o   ", "#     #    o  ", "#   o#ooooooo ",
        "#     #    o  ", "#     #   o   ", "#     #       ", "#     #       ", "#######       ",
        "              ", "              ", "              ", "              "]),
}


def picture(ink, accent, pattern, state):
    pixels = canvas(SIZE, SIZE, PRESSED_FACE if state == "d" else FACE)
    offset = 2 if state == "d" else 1
    if state == "x":
        # Engraved look: a light copy one pixel down and right under grey ink.
        shape = {"#": DISABLED_LIGHT, "o": DISABLED_LIGHT}
        stamp(pixels, pattern, offset + 1, offset + 1, shape)
        stamp(pixels, pattern, offset, offset, {"#": DISABLED_INK, "o": DISABLED_INK})
    else:
        stamp(pixels, pattern, offset, offset, {"#": ink, "o": accent})
    if state == "d":
        fill(pixels, 0, 0, SIZE, 1, (96, 96, 96))
        fill(pixels, 0, 0, 1, SIZE, (96, 96, 96))
    return pixels


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, (ink, accent, pattern) in PICTOGRAMS.items():
        for state in "udx":
            write_bmp(os.path.join(out, name + state + ".bmp"), picture(ink, accent, pattern, state))


if __name__ == "__main__":
    main()
