#!/usr/bin/env python3
"""Writes smartcard.ico: one 32 x 32 image in the 16 standard colours, drawn
below as a character map. Run it from any folder; the icon lands beside it."""

import os
import struct

# The standard 16-colour palette, as the map names its colours; '.' is transparent.
PALETTE = [
    ("K", (0x00, 0x00, 0x00)),  # black
    ("m", (0x80, 0x00, 0x00)),  # maroon
    ("g", (0x00, 0x80, 0x00)),  # green
    ("O", (0x80, 0x80, 0x00)),  # olive
    ("N", (0x00, 0x00, 0x80)),  # navy
    ("p", (0x80, 0x00, 0x80)),  # purple
    ("t", (0x00, 0x80, 0x80)),  # teal
    ("S", (0xC0, 0xC0, 0xC0)),  # silver
    ("G", (0x80, 0x80, 0x80)),  # grey
    ("r", (0xFF, 0x00, 0x00)),  # red
    ("l", (0x00, 0xFF, 0x00)),  # lime
    ("Y", (0xFF, 0xFF, 0x00)),  # yellow
    ("B", (0x00, 0x00, 0xFF)),  # blue
    ("f", (0xFF, 0x00, 0xFF)),  # fuchsia
    ("a", (0x00, 0xFF, 0xFF)),  # aqua
    ("W", (0xFF, 0xFF, 0xFF)),  # white
]

# A card seen from the front: white body, blue band, gold contact chip,
# embossed number and name lines.
PICTURE = """
................................
................................
................................
................................
................................
................................
..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..
.KWWWWWWWWWWWWWWWWWWWWWWWWWWWWK.
.KBBBBBBBBBBBBBBBBBBBBBBBBBBBBK.
.KBBBBBBBBBBBBBBBBBBBBBBBBBBBBK.
.KWWWWWWWWWWWWWWWWWWWWWWWWWWWWK.
.KWWOOOOOOOOOOOWWWWWWWWWWWWWWWK.
.KWWOYYYYYYYYYOWWWWWWWWWWWWWWWK.
.KWWOOOOYYYOOOOWWWWWWWWWWWWWWWK.
.KWWOYYOYYYOYYOWWWWWWWWWWWWWWWK.
.KWWOOOOYYYOOOOWWWWWWWWWWWWWWWK.
.KWWOYYOYYYOYYOWWWWWWWWWWWWWWWK.
.KWWOOOOYYYOOOOWWWWWWWWWWWWWWWK.
.KWWOYYYYYYYYYOWWWWWWWWWWWWWWWK.
.KWWOOOOOOOOOOOWWWWWWWWWWWWWWWK.
.KWWWWWWWWWWWWWWWWWWWWWWWWWWWWK.
.KWWGGGGWGGGGWGGGGWGGGGWWWWWWWK.
.KWWWWWWWWWWWWWWWWWWWWWWWWWWWWK.
.KWWSSSSSSSSSSSWWWWWWWWWWWWWWWK.
.KSWWWWWWWWWWWWWWWWWWWWWWWWWWSK.
..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..
................................
................................
................................
................................
................................
................................
"""

SIZE = 32


def main():
    rows = PICTURE.split()
    assert len(rows) == SIZE and all(len(row) == SIZE for row in rows)
    index = {name: i for i, (name, _) in enumerate(PALETTE)}

    colours = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        for x in range(0, SIZE, 2):
            left, right = (index.get(row[x + i], 0) for i in (0, 1))
            colours.append(left << 4 | right)
        bits = 0
        for x in range(SIZE):
            bits = bits << 1 | (row[x] == ".")
        mask += struct.pack(">I", bits)

    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    # The height counts the colour bitmap and the transparency mask.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, len(colours) + len(mask), 0, 0, 0, 0)
    image = header + palette + bytes(colours) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 22)

    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "smartcard.ico")
    with open(target, "wb") as icon:
        icon.write(directory + image)


if __name__ == "__main__":
    main()
