#!/usr/bin/python3
"""Builds the line-draw font "Letter Gothic Line" from a freely licensed monospaced font.

Usage: MakeLineDrawFont.py <source.ttf> <output.ttf>

Reports print their borders as bytes of the IBM line-draw set (code page 437 box drawing),
while the program selects fonts with the ANSI character set: GDI turns each byte into a
code-page-1252 character before it looks up a glyph. So each of those code points gets the
box-drawing glyph that the byte stands for in code page 437.
"""
import sys

import fontforge

FAMILY = "Letter Gothic Line"

# Byte of the IBM line-draw set -> the box-drawing character it shows in code page 437.
LINE_DRAW = {
    0xB3: 0x2502,  # vertical
    0xB4: 0x2524,  # left tee
    0xBF: 0x2510,  # top-right corner
    0xC0: 0x2514,  # bottom-left corner
    0xC1: 0x2534,  # up tee
    0xC2: 0x252C,  # down tee
    0xC3: 0x251C,  # right tee
    0xC4: 0x2500,  # horizontal
    0xC5: 0x253C,  # cross
    0xD9: 0x2518,  # bottom-right corner
    0xDA: 0x250C,  # top-left corner
}


def cp1252_code_point(byte):
    return ord(bytes([byte]).decode("cp1252"))


def main(source, output):
    font = fontforge.open(source)
    targets = {font[cp1252_code_point(byte)].glyphname for byte in LINE_DRAW}
    # Other glyphs are built from some of these (the accented letters from the acute accent):
    # they get outlines of their own first, or they would show the box-drawing glyphs too.
    for glyph in font.glyphs():
        for name in {ref[0] for ref in glyph.references} & targets:
            glyph.unlinkRef(name)
    for byte, box in LINE_DRAW.items():
        target = cp1252_code_point(byte)
        # The copied outline replaces the glyph whole, its own references included.
        font.selection.select(("unicode",), box)
        font.copy()
        font.selection.select(("unicode",), target)
        font.paste()
        # Named for the box-drawing character it shows: a PDF made from the printed page maps
        # the glyph by its name, so its text holds the lines, not the letters of the byte.
        font[target].glyphname = "uni%04X" % box
    font.familyname = FAMILY
    font.fullname = FAMILY
    font.fontname = FAMILY.replace(" ", "")
    font.appendSFNTName("English (US)", "Family", FAMILY)
    font.appendSFNTName("English (US)", "SubFamily", "Regular")
    font.appendSFNTName("English (US)", "Fullname", FAMILY)
    font.appendSFNTName("English (US)", "PostScriptName", font.fontname)
    font.appendSFNTName("English (US)", "UniqueID", FAMILY + " (line draw)")
    # Only the names that describe this font: the source's trademark and preferred-family
    # entries would name another face.
    keep = {"Family", "SubFamily", "Fullname", "PostScriptName", "UniqueID", "Version",
            "Copyright", "License", "License URL"}
    font.sfnt_names = tuple(n for n in font.sfnt_names if n[1] in keep)
    font.os2_fstype = 0  # installable embedding
    font.generate(output, flags=("opentype",))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
