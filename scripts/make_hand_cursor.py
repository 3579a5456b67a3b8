#!/usr/bin/env python3
"""Draws the hand pointer shown over push buttons and writes it as a Windows cursor file.

The output is a standard .cur (one 32x32 image, 32 bits per pixel with an AND mask) whose hot
spot is the tip of the pointing finger, so that a click lands where the finger points.

    python3 scripts/make_hand_cursor.py resources/program_folder/HAND-M.CUR
"""

import struct
import sys

# '#' outline, '.' fill, ' ' transparent; the rows are padded to 32x32 below.
HAND = [
    "     ##",
    "    #..#",
    "    #..#",
    "    #..#",
    "    #..#",
    "    #..###",
    "    #..#..###",
    "    #..#..#..##",
    "    #..#..#..#.#",
    " ## #..#..#..#..#",
    "#..##........#..#",
    "#...#...........#",
    " #..#...........#",
    "  #.#...........#",
    "  #.............#",
    "   #............#",
    "   #...........#",
    "    #..........#",
    "    #.........#",
    "     #........#",
    "     #........#",
    "     ##########",
]
SIZE = 32
HOT_SPOT = (5, 0)  # the top of the index finger

OUTLINE = (0, 0, 0, 255)
FILL = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)


def pixels():
    rows = [line.ljust(SIZE) for line in HAND] + [" " * SIZE] * (SIZE - len(HAND))
    for row in rows:
        assert len(row) == SIZE, row
    colour = {"#": OUTLINE, ".": FILL, " ": CLEAR}
    return [[colour[c] for c in row] for row in rows]


def cursor_file(image, hot_spot):
    # Bitmaps are stored bottom-up; the colour part is BGRA, the AND mask one bit per pixel
    # (1 = transparent), each mask row padded to 32 bits.
    colour = b"".join(
        bytes((b, g, r, a)) for row in reversed(image) for (r, g, b, a) in row)
    mask = bytearray()
    for row in reversed(image):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    bitmap = header + colour + bytes(mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hot_spot[0], hot_spot[1],
                        len(bitmap), 6 + 16)
    return directory + entry + bitmap


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_hand_cursor.py OUTPUT.CUR")
    image = pixels()
    assert image[HOT_SPOT[1]][HOT_SPOT[0]] == OUTLINE, "the hot spot must be on the fingertip"
    with open(sys.argv[1], "wb") as out:
        out.write(cursor_file(image, HOT_SPOT))


if __name__ == "__main__":
    main()
