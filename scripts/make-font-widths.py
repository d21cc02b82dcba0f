#!/usr/bin/env python3
"""Writes vpack/rules/FontWidths.cpp from Wine's "MS Sans Serif" bitmap
fonts (Debian's fonts-wine), once.

The installer's dialogs are set in MS Sans Serif 8 pt. Wine draws it from
these files, one a character set, with the widths Windows' own face has; vpack
measures translated dialog words by them, so that a builder needs no font.
Run it from the repository's root: python3 scripts/make-font-widths.py
"""
import struct
import sys

FONT_FOLDER = "/usr/share/wine/fonts/"
# The 96-DPI files (sseriff*.fon are the 120-DPI ones) by the code page whose
# character set each holds; the package has none for 1257.
FILES = {1252: "sserife.fon", 1250: "sserifee.fon", 1251: "sserifer.fon", 1253: "sserifeg.fon",
         1254: "sserifet.fon"}
# 8 pt at 96 DPI: the size a dialog's FONT 8 is drawn in.
POINTS, DPI, HEIGHT = 8, 96, 13
RT_FONT = 0x8008
OUTPUT = "vpack/rules/FontWidths.cpp"


def font_resources(data, name):
    """The RT_FONT resources of a .fon: MZ header, NE header, its resource
    table (offsets in units of 1 << shift)."""
    if data[:2] != b"MZ":
        sys.exit("make-font-widths: %s has no MZ header" % name)
    ne = struct.unpack_from("<I", data, 0x3C)[0]
    if data[ne:ne + 2] != b"NE":
        sys.exit("make-font-widths: %s has no NE header" % name)
    at = ne + struct.unpack_from("<H", data, ne + 0x24)[0]
    shift = struct.unpack_from("<H", data, at)[0]
    at += 2
    fonts = []
    while True:
        kind, count = struct.unpack_from("<HH", data, at)
        at += 8
        if kind == 0:
            return fonts
        for _ in range(count):
            offset, length = struct.unpack_from("<HH", data, at)
            at += 12
            if kind == RT_FONT:
                fonts.append(data[offset << shift:(offset + length) << shift])


def face_widths(fnt, name):
    """The FNT's height and each byte's width; a byte outside the face's range
    is drawn as its default character, as Windows does."""
    version = struct.unpack_from("<H", fnt, 0)[0]
    points, vertical, horizontal = struct.unpack_from("<HHH", fnt, 0x44)
    height = struct.unpack_from("<H", fnt, 0x58)[0]
    first, last, default = fnt[0x5F], fnt[0x60], fnt[0x61]
    if version not in (0x200, 0x300):
        sys.exit("make-font-widths: %s holds a version %x font" % (name, version))
    # Version 3 entries are a width and a 32-bit offset, version 2 a 16-bit one.
    table, entry = (0x94, 6) if version == 0x300 else (0x76, 4)
    widths = {first + i: struct.unpack_from("<H", fnt, table + i * entry)[0] for i in range(last - first + 1)}
    fallback = widths[first + default]
    return (points, vertical, horizontal, height), [widths.get(byte, fallback) for byte in range(256)]


def read_face(page):
    name = FILES[page]
    data = open(FONT_FOLDER + name, "rb").read()
    for fnt in font_resources(data, name):
        size, widths = face_widths(fnt, name)
        if size == (POINTS, DPI, DPI, HEIGHT):
            return widths
    sys.exit("make-font-widths: %s has no %d pt face at %d DPI" % (name, POINTS, DPI))


def main():
    lines = ["// Written by scripts/make-font-widths.py from fonts-wine's MS Sans Serif",
             "// (sserif*.fon); do not edit.",
             '#include "vpack/rules/FontWidths.h"', "", "namespace vpack {", "",
             "const FontFace kFontFaces[] = {"]
    for page in sorted(FILES):
        widths = read_face(page)
        lines.append("    {%d, {" % page)
        for row in range(0, 256, 16):
            lines.append("        " + ", ".join("%2d" % w for w in widths[row:row + 16]) + ",")
        lines.append("    }},")
    lines += ["};", "", "const int kFontFaceCount = sizeof(kFontFaces) / sizeof(kFontFaces[0]);", "",
              "}  // namespace vpack", ""]
    with open(OUTPUT, "w") as out:
        out.write("\n".join(lines))
    print("make-font-widths: wrote %s (%d faces)" % (OUTPUT, len(FILES)))


main()
