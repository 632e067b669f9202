#!/usr/bin/env python3
"""Renders the installer's images from their vector sources in resources/images/src.

  make_art.py            write every PNG and the program icon into resources/images
  make_art.py --check    render into memory and fail when a committed file differs, is missing, or has the wrong size
  make_art.py NAME ...   only these images

The output is deterministic: PNGs carry no time or text chunks, and the sources use seeded randomness only.
"""
import argparse
import io
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
IMAGES_DIR = os.path.join(ROOT, "resources", "images")
sys.path.insert(0, os.path.join(IMAGES_DIR, "src"))
sys.dont_write_bytecode = True  # keep the resource folder free of caches

import numpy as np  # noqa: E402
from PIL import Image  # noqa: E402

import catalogue  # noqa: E402
import logo  # noqa: E402
from canvas import to_straight_rgba8  # noqa: E402


def encode_png(pixels, mode):
    """PNG bytes of premultiplied float pixels, stored straight (as PNG defines) in the given mode."""
    rgba = to_straight_rgba8(pixels)
    image = Image.fromarray(rgba, "RGBA")
    if mode == "RGB":
        if rgba[:, :, 3].min() != 255:
            raise ValueError("an RGB image must be drawn fully opaque")
        image = image.convert("RGB")
    out = io.BytesIO()
    image.save(out, "PNG", optimize=True)
    return out.getvalue()


def encode_ico(sizes):
    """An icon file: 32-bit DIB entries for the small sizes (every Windows reads them), PNG for 256 (Vista on)."""
    entries = []
    for size in sizes:
        rgba = to_straight_rgba8(logo.icon_image(size))
        if size >= 256:
            out = io.BytesIO()
            Image.fromarray(rgba, "RGBA").save(out, "PNG", optimize=True)
            entries.append((size, out.getvalue()))
            continue
        bgra = rgba[::-1, :, [2, 1, 0, 3]]  # DIB rows run bottom-up
        # The AND mask is kept for old readers: set where the pixel is fully transparent.
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray(mask_stride * size)
        for y in range(size):
            for x in range(size):
                if bgra[y, x, 3] == 0:
                    mask[y * mask_stride + x // 8] |= 0x80 >> (x % 8)
        xor = bgra.tobytes()
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        entries.append((size, header + xor + bytes(mask)))
    offset = 6 + 16 * len(entries)
    directory, data = b"", b""
    for size, blob in entries:
        dim = 0 if size >= 256 else size
        directory += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    return struct.pack("<HHH", 0, 1, len(entries)) + directory + data


def render(name):
    width, height, paint, mode = catalogue.IMAGES[name]
    pixels = paint()
    if pixels.shape[:2] != (height, width):
        raise ValueError("%s drew %dx%d, the list says %dx%d" % (name, pixels.shape[1], pixels.shape[0], width,
                                                                  height))
    frames = catalogue.FRAMES.get(name)
    if frames:
        strip = to_straight_rgba8(pixels)
        parts = np.split(strip, frames, axis=1)
        for i in range(frames):
            for j in range(i + 1, frames):
                if np.array_equal(parts[i], parts[j]):
                    raise ValueError("%s: frames %d and %d are identical" % (name, i, j))
    return encode_png(pixels, mode)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true", help="compare with the committed files, write nothing")
    parser.add_argument("names", nargs="*", help="images to render (default: all, and the icon)")
    args = parser.parse_args()
    names = args.names or sorted(catalogue.IMAGES)
    unknown = [n for n in names if n not in catalogue.IMAGES]
    if unknown:
        print("unknown image: %s" % ", ".join(unknown), file=sys.stderr)
        return 2
    outputs = [(n + ".png", lambda n=n: render(n)) for n in names]
    if not args.names:
        outputs.append((catalogue.ICON_NAME, lambda: encode_ico(catalogue.ICON_SIZES)))
    stale = []
    for file_name, produce in outputs:
        path = os.path.join(IMAGES_DIR, file_name)
        data = produce()
        if args.check:
            try:
                with open(path, "rb") as f:
                    same = f.read() == data
            except OSError:
                same = False
            if not same:
                stale.append(file_name)
            continue
        with open(path, "wb") as f:
            f.write(data)
        print("wrote %s (%d bytes)" % (os.path.relpath(path, ROOT), len(data)))
    if stale:
        print("differs from its sources: %s (run tools/art/make_art.sh)" % ", ".join(stale), file=sys.stderr)
        return 1
    if args.check:
        print("all %d files match their sources" % len(outputs))
    return 0


if __name__ == "__main__":
    sys.exit(main())
