#!/usr/bin/env python3
"""Draws the hyperlink label's hand cursor (cursor 6130 of ui.rc) and writes it
beside this script as link_hand.cur: a 32x32 monochrome cursor, so that it
works on every system that lacks a hand cursor of its own. Run it again after
a change and commit the .cur file: the build does not need Python.

In the drawing, X is black, o is white, a blank is transparent; the hot spot
is the fingertip."""
import os
import struct

HAND = [
    "     XX           ",
    "    XooX          ",
    "    XooX          ",
    "    XooX          ",
    "    XooX          ",
    "    XooXXX        ",
    "    XooXooXXX     ",
    "    XooXooXooXX   ",
    " XX XooXooXooXoX  ",
    "XooXXooooooooXooX ",
    "XoooXoooooooooooX ",
    " XooXoooooooooooX ",
    "  XoooooooooooooX ",
    "  XooooooooooooX  ",
    "   XoooooooooooX  ",
    "   XooooooooooX   ",
    "    XoooooooooX   ",
    "    XoooooooooX   ",
    "    XXXXXXXXXXX   ",
]
HOT_SPOT = (5, 0)
SIZE = 32


def rows(kind):
    """The 32 rows of one mask, bottom row first, 4 bytes each."""
    out = b""
    for y in reversed(range(SIZE)):
        line = HAND[y] if y < len(HAND) else ""
        bits = 0
        for x in range(SIZE):
            c = line[x] if x < len(line) else " "
            # AND mask: 1 keeps the screen (transparent); XOR: 1 is white.
            on = (c == " ") if kind == "and" else (c == "o")
            if on:
                bits |= 1 << (31 - x)
        out += struct.pack(">I", bits)
    return out


def main():
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<4B4B", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + rows("xor") + rows("and")
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 6 + 16)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "link_hand.cur")
    with open(path, "wb") as f:
        f.write(directory + entry + image)


if __name__ == "__main__":
    main()
