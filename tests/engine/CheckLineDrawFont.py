#!/usr/bin/python3
"""Checks the generated line-draw font: its names, its fixed pitch, that GDI may map ANSI
(code page 1252) text to it and embed it, that each byte of the IBM line-draw set shows the
box-drawing glyph that the byte stands for in code page 437, and that no other glyph is built
from one of those.

Usage: CheckLineDrawFont.py <font.ttf>
"""
import sys

import fontforge

LINE_DRAW_BYTES = [0xB3, 0xB4, 0xBF, 0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xD9, 0xDA]


def outline(glyph):
    layer = glyph.foreground
    return sorted(
        tuple((round(p.x), round(p.y), p.on_curve) for p in contour) for contour in layer
    )


def main(path):
    font = fontforge.open(path)
    failures = []

    def check(ok, text):
        if not ok:
            failures.append(text)

    names = {(n[0], n[1]): n[2] for n in font.sfnt_names}
    check(names.get(("English (US)", "Family")) == "Letter Gothic Line", "family name")
    check(names.get(("English (US)", "Fullname")) == "Letter Gothic Line", "full name")
    check(font.fontname == "LetterGothicLine", "PostScript name " + font.fontname)
    check(font.os2_fstype == 0, "embedding type %d" % font.os2_fstype)
    check(font.os2_codepages[0] & 1, "code page 1252 (Latin 1) not claimed")

    widths = {font[c].width for c in range(0x20, 0x7F)}
    widths |= {font[ord(bytes([b]).decode("cp1252"))].width for b in LINE_DRAW_BYTES}
    check(len(widths) == 1, "not fixed pitch: widths %s" % sorted(widths))

    for byte in LINE_DRAW_BYTES:
        code_point = ord(bytes([byte]).decode("cp1252"))
        box = ord(bytes([byte]).decode("cp437"))
        if code_point not in font:
            failures.append("no glyph at U+%04X for byte %02X" % (code_point, byte))
            continue
        check(outline(font[code_point]) == outline(font[box]) and outline(font[box]),
              "byte %02X (U+%04X) does not show U+%04X" % (byte, code_point, box))
    # Text outside the line-draw set keeps its letters, accented ones included.
    line_draw = {font[ord(bytes([b]).decode("cp1252"))].glyphname for b in LINE_DRAW_BYTES}
    for glyph in font.glyphs():
        used = {ref[0] for ref in glyph.references} & line_draw
        check(not used, "%s is built from %s" % (glyph.glyphname, sorted(used)))

    for f in failures:
        print("FAIL:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
