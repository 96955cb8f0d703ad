#!/usr/bin/env python3
"""Draws the product icon, resources/product.ico: the character for "ink"
(the product name's first character) in white on an ink-blue tile with a
red seal corner, from unifont's 16x16 glyph, at three sizes:
32 x 32 with 16 colours, 48 x 48 with 256 colours, 16 x 16 with 16 colours.

Usage: make_icon.py UNIFONT_HEX OUT.ico   (same inputs, same bytes)
"""
import struct
import sys

GLYPH = 0x58A8

# The 16 standard VGA colours; the 256-colour image uses them first too.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
TILE, INK, SEAL, EDGE = 4, 15, 9, 0  # palette indices (blue, white, red, black)


def glyph_rows(hex_path):
    with open(hex_path, encoding="ascii") as f:
        for line in f:
            code, _, bits = line.strip().partition(":")
            if int(code, 16) == GLYPH:
                return [int(bits[i:i + 4], 16) for i in range(0, 64, 4)]
    raise SystemExit("glyph %04X not in %s" % (GLYPH, hex_path))


def picture(rows, size):
    """Rows of palette indices, top row first; None where transparent."""
    scale = max(1, (size - 4) // 16)
    offset = (size - 16 * scale) // 2
    image = []
    for y in range(size):
        row = []
        for x in range(size):
            corner = min(x, y, size - 1 - x, size - 1 - y)
            if corner == 0 and (x in (0, size - 1)) and (y in (0, size - 1)):
                row.append(None)  # rounded-off corners
                continue
            colour = EDGE if corner == 0 else TILE
            if x >= size - size // 4 - 1 and y >= size - size // 4 - 1 and corner > 0:
                colour = SEAL
            gx, gy = (x - offset) // scale, (y - offset) // scale
            if 0 <= gx < 16 and 0 <= gy < 16 and x >= offset and y >= offset:
                if rows[gy] >> (15 - gx) & 1:
                    colour = INK
            row.append(colour)
        image.append(row)
    return image


def icon_image(image, bits):
    size = len(image)
    colours = 1 << bits
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0)
                       for r, g, b in (VGA + [(0, 0, 0)] * colours)[:colours])
    xor_stride = (size * bits + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    xor, mask = b"", b""
    for row in reversed(image):  # bottom-up
        packed = bytearray(xor_stride)
        masks = bytearray(and_stride)
        for x, index in enumerate(row):
            if index is None:
                masks[x // 8] |= 0x80 >> (x % 8)
                index = 0
            if bits == 4:
                packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
            else:
                packed[x] = index
        xor += bytes(packed)
        mask += bytes(masks)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, colours, 0)
    return header + palette + xor + mask


def main(hex_path, out_path):
    rows = glyph_rows(hex_path)
    entries = [(32, 4), (48, 8), (16, 4)]
    images = [icon_image(picture(rows, size), bits) for size, bits in entries]
    data = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for (size, bits), image in zip(entries, images):
        data += struct.pack("<BBBBHHII", size, size, 16 if bits == 4 else 0, 0, 1, bits,
                            len(image), offset)
        offset += len(image)
    with open(out_path, "wb") as f:
        f.write(data + b"".join(images))


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    main(sys.argv[1], sys.argv[2])
