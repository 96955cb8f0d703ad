#!/usr/bin/env python3
"""Builds the installer's glyph atlas from a unifont .hex file.

The atlas is a run of 512 x 944 monochrome pages (64-byte rows, most
significant bit leftmost, bit 0 = ink, bit 1 = paper) of 16 x 16 cells. The
shipped data covers GB2312 symbol rows 0xA1-0xA7 and the level-1 characters
0xB0A1-0xD7F9: cells 0-4415, 141,312 bytes (atlas_cells.py holds these
facts). Code points without a character and characters without a glyph in
the font are blank paper.

Usage: atlas.py build UNIFONT_HEX OUT
       atlas.py check-text ATLAS TEXT   (every double-byte character of the
                                         GBK text must have ink in the atlas)
"""
import sys

from atlas_cells import ROW_BYTES, SHIPPED_BYTES, cell_offset, in_shipped_cells, shipped_codes


def read_unifont(path):
    glyphs = {}
    with open(path, encoding="ascii") as f:
        for line in f:
            cp, _, bits = line.strip().partition(":")
            if bits:
                glyphs[int(cp, 16)] = bits
    return glyphs


def glyph_rows(bits):
    """16 rows of 16-bit ink masks; 8-pixel-wide glyphs are centred."""
    if len(bits) == 64:
        return [int(bits[i:i + 4], 16) for i in range(0, 64, 4)]
    return [int(bits[i:i + 2], 16) << 4 for i in range(0, 32, 2)]


def build(hex_path, out_path):
    glyphs = read_unifont(hex_path)
    atlas = bytearray(b"\xff" * SHIPPED_BYTES)
    for code in shipped_codes():
        try:
            char = bytes([code >> 8, code & 0xFF]).decode("gb2312")
        except UnicodeDecodeError:
            continue
        bits = glyphs.get(ord(char))
        if bits is None:
            continue
        base = cell_offset(code)
        for row, mask in enumerate(glyph_rows(bits)):
            ink = ~mask & 0xFFFF
            atlas[base + row * ROW_BYTES] = ink >> 8
            atlas[base + row * ROW_BYTES + 1] = ink & 0xFF
    with open(out_path, "wb") as f:
        f.write(atlas)


def drawable(atlas, code):
    """A double-byte code the installer can draw: its own shipped cell, with
    ink (the full-width space is blank by design)."""
    return code == 0xA1A1 or (in_shipped_cells(code) and cell_has_ink(atlas, code))


def cell_has_ink(atlas, code):
    base = cell_offset(code)
    if base + 15 * ROW_BYTES + 2 > len(atlas):
        return False
    return any(atlas[base + row * ROW_BYTES + col] != 0xFF
               for row in range(16) for col in range(2))


def check_text(atlas_path, text_path):
    """Returns a list of problems: double-byte characters the atlas lacks."""
    atlas = open(atlas_path, "rb").read()
    text = open(text_path, "rb").read()
    problems = []
    line = 1
    i = 0
    while i < len(text):
        byte = text[i]
        if byte == 0x0A:
            line += 1
        if byte < 0x80:
            i += 1
            continue
        code = byte * 256 + (text[i + 1] if i + 1 < len(text) else 0)
        if not drawable(atlas, code):
            problems.append("%s:%d: character 0x%04X is not in the glyph atlas"
                            % (text_path, line, code))
        i += 2
    return problems


def main(argv):
    if len(argv) == 4 and argv[1] == "build":
        build(argv[2], argv[3])
        return 0
    if len(argv) == 4 and argv[1] == "check-text":
        problems = check_text(argv[2], argv[3])
        for p in problems:
            print(p, file=sys.stderr)
        return 1 if problems else 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
