#!/usr/bin/env python3
"""Writes the package-like tree of the extraction benchmark: about TOTAL_MIB MiB in a few
large files, some hundreds of medium ones and a couple of thousand small ones, mixing data
that is already compressed (random bytes), machine-code-like bytes and text, as an emulator
package does. Deterministic.

    extract_bench_data.py FOLDER [TOTAL_MIB]
"""
import os
import random
import sys

folder = sys.argv[1]
total = int(sys.argv[2] if len(sys.argv) > 2 else 300) << 20
rng = random.Random(2024)

# 16 symbols: about half of each byte is entropy, as in code and tables.
CODE_TABLE = bytes(b"\x00\x01\x8b\x45\xe8\xff\x48\x89\x0f\x83\xc4\x24\x10\x74\x75\xc3"[i % 16] for i in range(256))
WORDS = [w.encode() for w in ("vesk engine android image config layer surface render input device "
                              "service package manager activity window display frame buffer").split()]


def block(kind, size):
    if kind == "random":
        return rng.randbytes(size)
    if kind == "code":
        return rng.randbytes(size).translate(CODE_TABLE)
    out = bytearray()
    while len(out) < size:
        out += b" ".join(rng.choice(WORDS) for _ in range(12)) + b" %d\n" % rng.randrange(100000)
    return bytes(out[:size])


def write(rel, kind, size):
    path = os.path.join(folder, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        left = size
        while left:
            n = min(left, 4 << 20)
            f.write(block(kind, n))
            left -= n
    return size


written = 0
plan = [("random", 0.35), ("code", 0.45), ("text", 0.20)]
# Large files: two thirds of the bytes.
for i in range(12):
    kind = plan[i % 3][0]
    written += write("data/big_%02d.%s" % (i, {"random": "img", "code": "dll", "text": "cfg"}[kind]),
                     kind, total * 2 // 3 // 12)
# Medium and small files fill the rest.
i = 0
while written < total:
    kind = rng.choices([k for k, _ in plan], [w for _, w in plan])[0]
    size = rng.randrange(64 << 10, 512 << 10) if i % 4 == 0 else rng.randrange(1 << 10, 16 << 10)
    size = min(size, total - written)
    written += write("lib/%02d/file_%05d.%s" % (i % 37, i, kind), kind, size)
    i += 1
print("%d files, %d bytes" % (12 + i, written))
