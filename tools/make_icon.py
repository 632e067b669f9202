#!/usr/bin/env python3
"""Draws the program icon (resources/images/PindleDownloader.ico): a green rounded square with a
white play triangle, at 32x32 and 16x16, 32-bit with alpha. Run from the source root."""
import struct
import sys


def image(size):
    pixels = []
    for y in range(size - 1, -1, -1):  # an icon's rows are stored bottom-up
        for x in range(size):
            fx, fy = (x + 0.5) / size, (y + 0.5) / size
            radius = 0.22
            dx = max(abs(fx - 0.5) - (0.5 - radius), 0)
            dy = max(abs(fy - 0.5) - (0.5 - radius), 0)
            if (dx * dx + dy * dy) ** 0.5 > radius - 0.02:
                pixels.append((0, 0, 0, 0))
                continue
            tx, ty = (fx - 0.38) / 0.34, abs(fy - 0.5) / 0.22
            if 0 <= tx <= 1 and ty <= 1 - tx:
                pixels.append((255, 255, 255, 255))
            else:
                pixels.append((40, int(170 + 60 * (1 - fy)), 90, 255))
    xor = b"".join(struct.pack("BBBB", b, g, r, a) for (r, g, b, a) in pixels)
    and_mask = b"\0" * (((size + 31) // 32) * 4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main(path):
    sizes = (32, 16)
    images = [image(s) for s in sizes]
    offset = 6 + 16 * len(images)
    directory, data = b"", b""
    for size, im in zip(sizes, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(im), offset + len(data))
        data += im
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + directory + data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/images/PindleDownloader.ico")
