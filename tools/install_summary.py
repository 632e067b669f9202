#!/usr/bin/env python3
"""What an installation left in a Wine prefix, read from the prefix's own files: the install
folder and its files, the registry values, the desktop shortcut and its target, conf.ini and the
logon value. Flush the registry first (`wineserver -w` or `-k`), or the newest values may not
be on disk yet.

    install_summary.py PREFIX [--product Pindle] [--json]
"""
import argparse
import glob
import json
import os
import re
import struct
import sys

SOFTWARE_KEYS = ("software\\wow6432node\\", "software\\")


def read_registry(path):
    """{lower-case key: {value name: text}} of a Wine .reg file (strings only)."""
    keys = {}
    current = None
    if not os.path.exists(path):
        return keys
    with open(path, encoding="utf-8", errors="replace") as registry:
        for line in registry:
            line = line.rstrip("\n")
            if line.startswith("["):
                current = keys.setdefault(unescape(line[1:line.rindex("]")]).lower(), {})
            elif current is not None and line.startswith('"'):
                match = re.match(r'"((?:[^"\\]|\\.)*)"=(?:str\(\d\):)?"((?:[^"\\]|\\.)*)"$', line)
                if match:
                    current[unescape(match.group(1))] = unescape(match.group(2))
            elif current is not None and line.startswith("@="):
                match = re.match(r'@="((?:[^"\\]|\\.)*)"$', line)
                if match:
                    current[""] = unescape(match.group(1))
    return keys


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            if n == "x":
                digits = re.match(r"[0-9a-fA-F]{1,4}", text[i + 2:])
                out.append(chr(int(digits.group(0), 16)))
                i += 2 + len(digits.group(0))
                continue
            out.append({"n": "\n", "t": "\t", "r": "\r", "0": "\0"}.get(n, n))
            i += 2
            continue
        out.append(c)
        i += 1
    return "".join(out)


def windows_to_unix(prefix, path):
    if len(path) >= 2 and path[1] == ":":
        drive = os.path.join(prefix, "dosdevices", path[0].lower() + ":")
        return os.path.realpath(drive) + path[2:].replace("\\", "/")
    return path


def shortcut_target(path):
    """The local path a .lnk file points to (its LinkInfo's LocalBasePath), or None."""
    with open(path, "rb") as link:
        data = link.read()
    if len(data) < 0x4C or struct.unpack_from("<I", data, 0)[0] != 0x4C:
        return None
    flags = struct.unpack_from("<I", data, 0x14)[0]
    offset = 0x4C
    if flags & 0x1:  # HasLinkTargetIDList
        offset += 2 + struct.unpack_from("<H", data, offset)[0]
    if not flags & 0x2:  # HasLinkInfo
        return None
    info = offset
    header_size = struct.unpack_from("<I", data, info + 4)[0]
    if header_size >= 0x24:  # the Unicode base path
        unicode_offset = struct.unpack_from("<I", data, info + 0x1C)[0]
        start = info + unicode_offset
        end = start
        while end + 1 < len(data) and data[end:end + 2] != b"\0\0":
            end += 2
        return data[start:end].decode("utf-16-le")
    base = struct.unpack_from("<I", data, info + 0x10)[0]
    end = data.index(b"\0", info + base)
    return data[info + base:end].decode("mbcs" if os.name == "nt" else "cp1252", "replace")


def summary(prefix, product):
    machine = read_registry(os.path.join(prefix, "system.reg"))
    user = read_registry(os.path.join(prefix, "user.reg"))
    result = {"prefix": prefix, "registry": {}, "shortcuts": {}, "run": None}
    install = None
    for software in SOFTWARE_KEYS:
        setup = machine.get(software + product.lower() + "\\setupinfo")
        uninstall = machine.get(software + "microsoft\\windows\\currentversion\\uninstall\\" + product.lower())
        if setup or uninstall:
            result["registry"]["HKLM\\" + software + product + "\\SetupInfo"] = setup or {}
            result["registry"]["HKLM\\" + software + "Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product] = (
                uninstall or {})
            install = install or (setup or {}).get("InstallPath")
    run = user.get("software\\microsoft\\windows\\currentversion\\run", {})
    result["run"] = run.get(product.lower()) or run.get(product)
    result["install_folder"] = install
    files = []
    if install:
        folder = windows_to_unix(prefix, install)
        for root, _, names in os.walk(folder):
            files.extend(os.path.relpath(os.path.join(root, name), folder) for name in names)
        result["install_folder_unix"] = folder
    result["files"] = sorted(files)
    for home in glob.glob(os.path.join(prefix, "drive_c", "users", "*", "Desktop")):
        for link in sorted(glob.glob(os.path.join(home, "*.lnk"))):
            result["shortcuts"][os.path.basename(link)] = shortcut_target(link)
    conf = glob.glob(os.path.join(prefix, "drive_c", "users", "*", "AppData", "Local", product, "conf.ini"))
    result["conf_ini"] = open(conf[0], encoding="utf-8", errors="replace").read() if conf else None
    return result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("prefix")
    parser.add_argument("--product", default="Pindle")
    parser.add_argument("--json", action="store_true")
    options = parser.parse_args()
    result = summary(options.prefix, options.product)
    if options.json:
        json.dump(result, sys.stdout, indent=1, ensure_ascii=False)
        print()
        return 0
    print("install folder:    %s (%d files)" % (result["install_folder"], len(result["files"])))
    print("registry values:")
    for key, values in result["registry"].items():
        for name, value in sorted(values.items()):
            print("  %s  %s = %s" % (key, name, value))
    print("desktop shortcuts:")
    for name, target in result["shortcuts"].items():
        print("  %s -> %s" % (name, target))
    print("logon (Run) value: %s" % (result["run"] or "none"))
    print("conf.ini:")
    for line in (result["conf_ini"] or "(none)\n").splitlines():
        print("  " + line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
