"""File formats shared by the scripts that draw the resources' pictures."""
import struct


def mask_rows(mask):
    """1-bit rows, bottom-up, each padded to four bytes; `mask` holds 0 and 1."""
    out = bytearray()
    for row in reversed(mask):
        line = bytearray()
        for x in range(0, len(row), 8):
            byte = 0
            for bit, value in enumerate(row[x:x + 8]):
                byte |= value << (7 - bit)
            line.append(byte)
        line += b"\0" * ((4 - len(line) % 4) % 4)
        out += line
    return bytes(out)


def write_monochrome_cursor(path, xor, transparent, hotspot):
    """A square monochrome cursor: `transparent` 1 where the screen shows
    through, else `xor` 0 black and 1 white; `hotspot` is (x, y)."""
    size = len(xor)
    bits = mask_rows(xor) + mask_rows(transparent)
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 1, 0, len(bits), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info + palette + bits
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, hotspot[0], hotspot[1], len(image), len(header) + 16)
    with open(path, "wb") as f:
        f.write(header + entry + image)


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def fill(pixels, left, top, right, bottom, colour):
    for y in range(max(top, 0), min(bottom, len(pixels))):
        for x in range(max(left, 0), min(right, len(pixels[0]))):
            pixels[y][x] = colour


def stamp(pixels, pattern, left, top, marks):
    """Draws a character pattern; `marks` maps its characters to colours."""
    for dy, row in enumerate(pattern):
        for dx, mark in enumerate(row):
            if mark in marks and 0 <= top + dy < len(pixels) and 0 <= left + dx < len(pixels[0]):
                pixels[top + dy][left + dx] = marks[mark]


def dib_rows(pixels):
    """24-bit rows, bottom-up, each padded to four bytes."""
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * ((4 - len(line) % 4) % 4)
        out += line
    return bytes(out)


def write_bmp(path, pixels):
    height, width = len(pixels), len(pixels[0])
    bits = dib_rows(pixels)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(bits), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + bits)
