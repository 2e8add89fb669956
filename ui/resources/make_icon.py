#!/usr/bin/env python3
"""Writes a 16-colour .ico from a text pixel map (see monitor_icon.txt for its form).

usage: make_icon.py PIXEL_MAP ICON
"""
import struct
import sys

# The standard Windows 16-colour palette, in the order of the digits 0 to f.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
TRANSPARENT = "."


def read_pictures(path):
    pictures, rows = [], []
    with open(path, encoding="utf-8") as source:
        for line in source:
            line = line.rstrip("\n")
            if line.startswith("#"):
                continue
            if line:
                rows.append(line)
            elif rows:
                pictures.append(rows)
                rows = []
    if rows:
        pictures.append(rows)
    for rows in pictures:
        size = len(rows)
        if any(len(row) != size for row in rows):
            sys.exit(f"{path}: a {size}-row picture has a row of another width")
        if any(c != TRANSPARENT and c not in "0123456789abcdef" for row in rows for c in row):
            sys.exit(f"{path}: pixels are 0-9, a-f or '{TRANSPARENT}'")
    return pictures


def padded(row):
    return row + b"\0" * (-len(row) % 4)


def bitmap(rows):
    """The icon image: a header, the palette, 4-bit colour rows and the 1-bit mask, bottom up."""
    size = len(rows)
    colour, mask = b"", b""
    for row in reversed(rows):
        indices = [0 if c == TRANSPARENT else int(c, 16) for c in row]
        colour += padded(bytes(indices[i] << 4 | indices[i + 1] for i in range(0, size, 2)))
        bits = "".join("1" if c == TRANSPARENT else "0" for c in row)
        mask += padded(int(bits, 2).to_bytes(size // 8, "big"))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(colour) + len(mask),
                         0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colour + mask


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    pictures = read_pictures(sys.argv[1])
    images = [bitmap(rows) for rows in pictures]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for rows, image in zip(pictures, images):
        size = len(rows)
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(image),
                                 offset)
        offset += len(image)
    with open(sys.argv[2], "wb") as icon:
        icon.write(directory + b"".join(images))


main()
