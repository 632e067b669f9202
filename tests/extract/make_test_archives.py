#!/usr/bin/env python3
"""Builds the extraction tests' data with Debian's 7-Zip (7zz): a source tree, archives of it
in every method the installer's decoder must handle, and damaged or hostile archives.

    make_test_archives.py SEVENZZ OUTDIR

OUTDIR/tree      the files every good archive holds (the expected result, byte for byte)
OUTDIR/*.7z      the archives (see ARCHIVES and the hostile ones below)
OUTDIR/hostile/  the files the hostile archives were made from
"""
import os
import random
import shutil
import stat
import subprocess
import sys

SEVENZZ, OUT = sys.argv[1], os.path.abspath(sys.argv[2])
TREE = os.path.join(OUT, "tree")
HOSTILE = os.path.join(OUT, "hostile")


def remove_tree(path):
    def make_writable(func, p, _):
        os.chmod(p, stat.S_IRWXU)
        func(p)
    if os.path.exists(path):
        for root, dirs, files in os.walk(path):
            for name in dirs + files:
                try:
                    os.chmod(os.path.join(root, name), stat.S_IRWXU)
                except OSError:
                    pass
        shutil.rmtree(path, onerror=make_writable)


def write(rel, data, root=TREE):
    path = os.path.join(root, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    return path


def x86_like(rng, size):
    """Bytes with many relative CALL/JMP opcodes, so the BCJ filters have work to do."""
    out = bytearray()
    while len(out) < size:
        if rng.random() < 0.2:
            out += bytes([0xE8 if rng.random() < 0.7 else 0xE9]) + rng.randrange(1 << 20).to_bytes(4, "little")
        else:
            out += bytes(rng.choice(b"\x55\x89\xe5\x8b\x45\x08\x83\xc4\x10\x5d\xc3\x90") for _ in range(7))
    return bytes(out[:size])


def run(args, cwd):
    res = subprocess.run([SEVENZZ] + args, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    if res.returncode != 0:
        sys.exit("7zz %s failed:\n%s" % (" ".join(args), res.stdout.decode(errors="replace")))


def stored_names(archive):
    res = subprocess.run([SEVENZZ, "l", "-slt", archive], stdout=subprocess.PIPE, check=True)
    return [l[len("Path = "):] for l in res.stdout.decode("utf-8", "replace").splitlines()
            if l.startswith("Path = ")][1:]


def methods(archive):
    res = subprocess.run([SEVENZZ, "l", "-slt", archive], stdout=subprocess.PIPE, check=True)
    return {l[len("Method = "):] for l in res.stdout.decode().splitlines() if l.startswith("Method = ")}


def make_tree():
    rng = random.Random(7)
    lines = "".join("line %05d of the read-me, with some words to compress\n" % i for i in range(600))
    write("readme.txt", lines.encode())
    write("empty.dat", b"")
    write("one.bin", b"\x7f")
    # More than one 4 MiB write chunk, from a small alphabet so compression stays quick.
    alphabet = b"abcdefgh\x00\xff"
    write("big/chunked.bin", bytes(alphabet[b % len(alphabet)] for b in rng.randbytes((4 << 20) + 4097)))
    write("bin/tool.exe", b"MZ" + x86_like(rng, 200000))
    write("bin/helper.dll", b"MZ" + x86_like(rng, 120000))
    write("nested/a/b/c/deep.txt", b"deep inside\n")
    os.makedirs(os.path.join(TREE, "nested/empty_dir"), exist_ok=True)
    write("donn\u00e9es/r\u00e9sum\u00e9.txt", "caf\u00e9 cr\u00e8me\n".encode())
    write("\u65e5\u672c\u8a9e/\u30d5\u30a1\u30a4\u30eb.txt", "\u3053\u3093\u306b\u3061\u306f\n".encode())
    write("emoji_\U0001F600.txt", b"astral plane name\n")
    write("vesk_adb.exe", b"MZ adb stand-in\n" * 50)
    write("Adb/AdbWinApi.dll", b"MZ adb api stand-in\n" * 50)
    write("PindleCommon.dll", b"MZ product library stand-in\n" * 50)
    ro = write("readonly.txt", b"keep me read-only\n")
    os.chmod(ro, 0o444)


# name -> 7zz switches (the whole tree each time).
ARCHIVES = {
    "lzma.7z": ["-m0=LZMA", "-ms=off"],
    "lzma2_solid.7z": ["-m0=LZMA2", "-ms=on"],
    "lzma2_blocks.7z": ["-m0=LZMA2", "-ms=3f"],  # several solid blocks: the cache changes blocks
    "bcj_lzma.7z": ["-m0=BCJ", "-m1=LZMA", "-ms=on"],
    "bcj2.7z": ["-m0=BCJ2", "-m1=LZMA:d22", "-m2=LZMA:d20", "-m3=LZMA:d20",
                "-mb0s0:1", "-mb0s1:2", "-mb0s2:3", "-ms=on"],
    "ppmd.7z": ["-m0=PPMd", "-ms=on"],
    "copy.7z": ["-m0=Copy", "-mhc=off"],
}
EXPECTED_METHOD = {"lzma.7z": "LZMA", "lzma2_solid.7z": "LZMA2", "lzma2_blocks.7z": "LZMA2",
                   "bcj_lzma.7z": "BCJ", "bcj2.7z": "BCJ2", "ppmd.7z": "PPMd", "copy.7z": "Copy"}


def make_archives():
    for name, switches in ARCHIVES.items():
        target = os.path.join(OUT, name)
        # Fast settings keep the build quick; the decoder sees the same methods either way.
        run(["a", "-bd", "-y", "-mx=1"] + switches + [target, "."], cwd=TREE)
        wanted = EXPECTED_METHOD[name].upper()
        used = {token.split(":")[0] for m in methods(target) for token in m.upper().split()}
        if wanted not in used:
            sys.exit("%s does not use %s: %s" % (name, EXPECTED_METHOD[name], methods(target)))


def damage():
    def patched(src, dst, offset, count):
        data = bytearray(open(os.path.join(OUT, src), "rb").read())
        for i in range(offset, offset + count):
            data[i] ^= 0x5A
        open(os.path.join(OUT, dst), "wb").write(data)

    # Stored data with flipped bytes: the decoder sees a CRC mismatch.
    patched("copy.7z", "crc_error.7z", 32 + 16, 4)
    # Compressed data damaged in the middle: a data or CRC error.
    size = os.path.getsize(os.path.join(OUT, "lzma2_solid.7z"))
    patched("lzma2_solid.7z", "corrupt_lzma.7z", size // 3, 64)
    data = open(os.path.join(OUT, "lzma2_solid.7z"), "rb").read()
    open(os.path.join(OUT, "truncated.7z"), "wb").write(data[: len(data) // 2])
    open(os.path.join(OUT, "signature_only.7z"), "wb").write(data[:32])
    open(os.path.join(OUT, "not_an_archive.7z"), "wb").write(b"this is not a 7z archive\n" * 10)


def make_hostile():
    """Archives whose entry names point outside the folder, or do not fit the path buffer."""
    write("escaped.txt", b"must never be written\n", HOSTILE)
    write("w/sub/keep.txt", b"inside\n", HOSTILE)
    write("w/C:/drive.txt", b"drive letter name\n", HOSTILE)
    write("w/..\\backslash.txt", b"backslash dot-dot name\n", HOSTILE)
    write("w/.. /dotspace.txt", b"dots and a space\n", HOSTILE)
    os.makedirs(os.path.join(HOSTILE, "escdir"), exist_ok=True)
    long_name = "L" * 200 + "/" + "M" * 200 + "/" + "N" * 80 + ".txt"
    write("w/" + long_name, b"too long a path\n", HOSTILE)
    write("w/parents_missing/file.txt", b"no folder entry before me\n", HOSTILE)
    w = os.path.join(HOSTILE, "w")
    cases = {
        # archive: (entry as given to 7zz, switches, the name it must be stored under)
        "dotdot.7z": ("../escaped.txt", ["-spf"], "../escaped.txt"),
        "dotdot_inner.7z": ("sub/../../escaped.txt", ["-spf"], "sub/../../escaped.txt"),
        "dotdot_dir.7z": ("../escdir", ["-spf"], "../escdir"),
        "backslash_dotdot.7z": ("..\\backslash.txt", [], "..\\backslash.txt"),
        "dot_space.7z": (".. /dotspace.txt", [], ".. /dotspace.txt"),
        "absolute.7z": (os.path.join(HOSTILE, "escaped.txt"), ["-spf"], os.path.join(HOSTILE, "escaped.txt")),
        "drive.7z": ("C:/drive.txt", [], "C:/drive.txt"),
        "long_path.7z": (long_name, [], long_name),
        "parents_missing.7z": ("parents_missing/file.txt", [], "parents_missing/file.txt"),
    }
    for name, (entry, switches, expected) in cases.items():
        target = os.path.join(OUT, name)
        run(["a", "-bd", "-y"] + switches + [target, entry], cwd=w)
        names = stored_names(target)
        if expected not in names:
            sys.exit("%s stores %r, not %r" % (name, names, expected))


def main():
    os.makedirs(OUT, exist_ok=True)
    for entry in os.listdir(OUT):
        path = os.path.join(OUT, entry)
        if os.path.isdir(path):
            remove_tree(path)
        else:
            os.remove(path)
    make_tree()
    make_archives()
    damage()
    make_hostile()
    open(os.path.join(OUT, "archives.stamp"), "w").write("ok\n")


main()
