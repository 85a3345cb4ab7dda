"""Writes the tool-bar glyphs of the report windows as 24-bit BMP files, from the pictures
below. Each picture is 16 x 16; '.' is the background, which the buttons leave out (the
bottom-left pixel's colour). A glyph with a disabled image has it drawn in greys beside it.

Usage: MakeGlyphs.py <output folder>
"""
import os
import struct
import sys

PALETTE = {
    ".": (0, 128, 128),  # background, left out when drawn
    "k": (0, 0, 0),
    "g": (128, 128, 128),
    "s": (192, 192, 192),
    "w": (255, 255, 255),
    "b": (0, 0, 128),
    "y": (255, 255, 0),
    "c": (0, 128, 255),
}

SAVE = """
................
.kkkkkkkkkkkkkk.
.kbkwwwwwwwwkbk.
.kbkwwwwwwwwkbk.
.kbkwwwwwwwwkbk.
.kbkwwwwwwwwkbk.
.kbkwwwwwwwwkbk.
.kbbkkkkkkkkbbk.
.kbbbbbbbbbbbbk.
.kbbkkkkkkkkbbk.
.kbbksskkkkkbbk.
.kbbksskkkkkbbk.
.kbbksskkkkkbbk.
..kkkkkkkkkkkkk.
................
................
"""

PRINT = """
................
.....kkkkkkkk...
.....kwwwwwwk...
.....kwkkkkwk...
.....kwwwwwwk...
...kkkkkkkkkkkk.
..kssssssssssk..
.kkkkkkkkkkkksk.
.kssssssssssksk.
.ksssssssyysksk.
.kssssssssssskk.
.kkkkkkkkkkkkk..
..kwwwwwwwwwk...
..kkkkkkkkkkk...
................
................
"""

PREVIEW = """
................
.kkkkkkkkk......
.kwwwwwwwkk.....
.kwkkkkwwkwk....
.kwwwwwwwkkkk...
.kwkkkkkkkkwk...
.kwwwwwkcccck...
.kwkkkkcwwwwck..
.kwwwwkcwwwwwck.
.kwkkkkcwwwwck..
.kwwwwwkcccck...
.kkkkkkkkkkkkk..
.........kkk....
..........kkk...
...........kk...
................
"""

PRINTER_SETUP = """
................
....kkkkkkk.....
....kwwwwwk.....
....kwkkkwk.....
..kkkkkkkkkkk...
.kssssssssssk...
kkkkkkkkkkkksk..
ksssssssyyssk...
kkkkkkkkkkkkk.gg
.kwwwwwwwwk..gsg
.kkkkkkkkkk.gsg.
..........kgsg..
.........kgsg...
........kkkg....
........kk......
................
"""

# Name of the resource: picture, with a disabled image.
GLYPHS = {
    "VLXSAVE": (SAVE, False),
    "VLXPRINT": (PRINT, False),
    "VLXPREVIEW": (PREVIEW, False),
    "VLXPRINTERSETUP": (PRINTER_SETUP, True),
}


def rows(picture):
    lines = [line for line in picture.strip("\n").split("\n")]
    assert len(lines) == 16 and all(len(line) == 16 for line in lines), lines
    return [[PALETTE[c] for c in line] for line in lines]


def disabled(image):
    """Greys of the picture: dark outlines as grey, light parts as white, background kept."""
    out = []
    for row in image:
        new = []
        for pixel in row:
            if pixel == PALETTE["."]:
                new.append(pixel)
            elif sum(pixel) < 3 * 160:
                new.append(PALETTE["g"])
            else:
                new.append(PALETTE["s"])
        out.append(new)
    return out


def write_bmp(path, image):
    height, width = len(image), len(image[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(image):  # bottom-up, blue-green-red
        line = bytearray()
        for red, green, blue in row:
            line += bytes((blue, green, red))
        pixels += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path + ".tmp", "wb") as f:
        f.write(header + info + pixels)
    os.replace(path + ".tmp", path)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, (picture, with_disabled) in GLYPHS.items():
        image = rows(picture)
        if with_disabled:
            image = [a + b for a, b in zip(image, disabled(image))]
        write_bmp(os.path.join(folder, name + ".bmp"), image)


if __name__ == "__main__":
    main()
