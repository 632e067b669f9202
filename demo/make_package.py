#!/usr/bin/env python3
"""Packs the demo product into a 7z package the way a real product package is packed.

The package holds the built programs (bin/, bin/Pindlemirror/, engine/) and filler data of the
kinds a real emulator package carries, in the proportions of one: a compressed disk image
(incompressible, half the filler), language and configuration documents and a symbol table
(text, compresses well) and a sparse data image (mostly zeros). The filler comes from a fixed
seed, so the same sizes give the same package bytes.

Method: LZMA2, solid, with the BCJ filter for the programs (7zz chooses it for executables).

Usage: make_package.py --sevenzip 7zz --product DIR --filler-bytes N --work DIR --output FILE.7z
"""

import argparse
import os
import random
import shutil
import subprocess
import sys

CHUNK = 1 << 20
WORDS = ("emulator engine render texture shader vertex buffer frame input keymap android "
         "package service activity intent binder surface display audio codec network adapter "
         "storage mount partition kernel module driver thread process memory cache").split()


def write_random(path, size, rng):
    with open(path, "wb") as out:
        while size > 0:
            n = min(size, CHUNK)
            out.write(rng.randbytes(n))
            size -= n


def write_text(path, size, rng, line):
    with open(path, "w", encoding="utf-8", newline="\r\n") as out:
        written = 0
        index = 0
        while written < size:
            text = line(index, rng) + "\n"
            out.write(text)
            written += len(text) + 1
            index += 1


def write_sparse(path, size, rng):
    # A data image: 4 KiB blocks, one in eight holding data, the rest zeros.
    block = 4096
    with open(path, "wb") as out:
        for index in range(size // block):
            out.write(rng.randbytes(block) if index % 8 == 0 else bytes(block))


def make_filler(root, total, rng):
    data = os.path.join(root, "data")
    os.makedirs(os.path.join(data, "lang"), exist_ok=True)
    os.makedirs(os.path.join(data, "rom"), exist_ok=True)
    write_random(os.path.join(data, "rom", "system.img.lz4"), total // 2, rng)
    write_sparse(os.path.join(data, "rom", "userdata.img"), (total // 4) // 4096 * 4096, rng)
    text = total - total // 2 - total // 4
    languages = ("en", "cn", "jp", "kr", "vn", "id", "th", "tw")
    for code in languages:
        write_text(os.path.join(data, "lang", "strings_%s.xml" % code), text // (2 * len(languages)), rng,
                   lambda i, r: '  <string id="str_%05d">%s</string>' % (i, " ".join(r.choices(WORDS, k=6))))
    write_text(os.path.join(data, "symbols.map"), text // 2, rng,
               lambda i, r: "%08x T %s_%s_%d" % (0x401000 + i * 16, r.choice(WORDS), r.choice(WORDS), i))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sevenzip", required=True)
    parser.add_argument("--product", required=True)
    parser.add_argument("--filler-bytes", type=int, required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--output", required=True)
    args = parser.parse_args()

    shutil.rmtree(args.work, ignore_errors=True)
    shutil.copytree(args.product, args.work)
    make_filler(args.work, args.filler_bytes, random.Random(20261210))
    os.makedirs(os.path.dirname(os.path.abspath(args.output)), exist_ok=True)
    output = os.path.abspath(args.output)
    partial = output + ".part"
    if os.path.exists(partial):
        os.remove(partial)
    command = [args.sevenzip, "a", "-t7z", "-bd", "-bso0", "-m0=LZMA2", "-mx=5", "-ms=on", "-mf=on", "-mmt=2",
               partial, "."]
    result = subprocess.run(command, cwd=args.work)
    if result.returncode != 0:
        print("make_package: %s exited with %d" % (" ".join(command), result.returncode), file=sys.stderr)
        return 1
    os.replace(partial, output)
    shutil.rmtree(args.work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
