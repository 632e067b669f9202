#!/usr/bin/env python3
"""Writes the small PNG images the drawing tests embed (type 6000), each with a pattern whose
pixels the tests can predict, plus one file that is not a PNG at all.

Usage: make_fixture_images.py OUTPUT_FOLDER
"""
import os
import struct
import sys
import zlib


def png(width, height, pixel):
    """RGBA PNG; pixel(x, y) gives (r, g, b, a)."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # no filter
        for x in range(width):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) +
            chunk(b"IEND", b""))


def strip_pixel(x, y):
    # Four 320 x 40 frames: the frame index in green, 3-px blue bands at both ends of each frame
    # (the nine-slice corners), the column inside the frame in red.
    frame, column = divmod(x, 320)
    if column < 3 or column >= 317:
        return (0, 0, 255, 255)
    return (column % 256, 40 + 60 * frame, 0, 255)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    images = {
        # Every pixel different: red from x, green from y.
        "UI_TEST_FRAME": png(100, 100, lambda x, y: (x * 2, y * 2, 128, 255)),
        "UI_TEST_STRIP": png(1280, 40, strip_pixel),
        # One half-transparent red pixel, one fully transparent one.
        "UI_TEST_HALF": png(2, 1, lambda x, y: (255, 0, 0, 128) if x == 0 else (0, 0, 0, 0)),
        "UI_TEST_BAR": png(256, 8, lambda x, y: (0, 200, 0, 255)),
    }
    for name, data in images.items():
        with open(os.path.join(out, name + ".png"), "wb") as f:
            f.write(data)
    with open(os.path.join(out, "UI_TEST_BROKEN.png"), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\nthis is not the rest of a PNG")


if __name__ == "__main__":
    main()
