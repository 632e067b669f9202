#!/usr/bin/env python3
"""Previews of the committed images for a person to judge (never committed): every image enlarged on the surface
colour and on black (Xvfb shows layered windows over black), and mock-ups of the main window in its panels and of the
popup, composed the way the UI library draws them (nine-slices, scaled blends). Texts in the mock-ups use a local
font only to judge spacing; the program draws its own.

  preview.py [OUT_DIR]     default /tmp/art-preview
"""
import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
IMAGES = os.path.join(ROOT, "resources", "images")
SURFACE = (22, 17, 66)
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def load(name):
    """Premultiplied float RGBA, as the program holds it after loading."""
    a = np.asarray(Image.open(os.path.join(IMAGES, name + ".png")).convert("RGBA"), dtype=np.float32) / 255.0
    a[:, :, :3] *= a[:, :, 3:4]
    return a


def stretch(a, w, h):
    """A nearest-sample stretch, as AlphaBlend does."""
    if w <= 0 or h <= 0:
        return np.zeros((max(h, 0), max(w, 0), 4), np.float32)
    ys = np.minimum((np.arange(h) + 0.5) * a.shape[0] / h, a.shape[0] - 1).astype(int)
    xs = np.minimum((np.arange(w) + 0.5) * a.shape[1] / w, a.shape[1] - 1).astype(int)
    return a[ys][:, xs]


def blend(dst, src, x, y, opacity=1.0):
    h, w = src.shape[:2]
    region = dst[y:y + h, x:x + w]
    s = src[: region.shape[0], : region.shape[1]] * opacity
    region *= 1.0 - s[:, :, 3:4]
    region += s


def nine_slice(dst, src, x, y, w, h, cl, ct, cr, cb):
    sh, sw = src.shape[:2]
    cols = [(0, cl, cl), (cl, sw - cr, w - cl - cr), (sw - cr, sw, cr)]
    rows = [(0, ct, ct), (ct, sh - cb, h - ct - cb), (sh - cb, sh, cb)]
    dy = y
    for s0, s1, th in rows:
        dx = x
        for t0, t1, tw in cols:
            blend(dst, stretch(src[s0:s1, t0:t1], tw, th), dx, dy)
            dx += tw
        dy += th


def frame(name, index, count):
    a = load(name)
    w = a.shape[1] // count
    return a[:, index * w:(index + 1) * w]


def button(dst, name, state, x, y, w, h, count=4):
    f = frame(name, state, count)
    if f.shape[1] < w or f.shape[0] < h:
        nine_slice(dst, f, x, y, w, h, 3, 6, 3, 6)
    else:
        blend(dst, stretch(f, w, h), x, y)


def flatten(a, colour):
    rgb = a[:, :, :3] + (1.0 - a[:, :, 3:4]) * (np.array(colour, np.float32) / 255.0)
    return Image.fromarray(np.clip(rgb * 255 + 0.5, 0, 255).astype(np.uint8), "RGB")


def text(img, box, s, colour, size=12, bold=False, align="left"):
    d = ImageDraw.Draw(img)
    font = ImageFont.truetype(FONT_BOLD if bold else FONT, size)
    l, t, r, b = box
    tw = d.textlength(s, font=font)
    asc, desc = font.getmetrics()
    x = {"left": l, "center": l + (r - l - tw) / 2, "right": r - tw}[align]
    d.text((x, t + (b - t - asc - desc) / 2), s, fill=colour, font=font)


def main_window(state, header="APP", progress=0.6):
    w, h = 652, 412
    win = np.zeros((h, w, 4), np.float32)
    nine_slice(win, load("ABOUTDIALOG"), 0, 0, w, h, 10, 10, 10, 10)
    blend(win, stretch(load(header), 640, 256), 6, 6)
    blend(win, load("APPLOGO"), 16, 6)
    button(win, "POPDLG_BTN_CLOSE", 1 if state == "hover" else 0, w - 46, 6, 40, 40)
    button(win, "DLG_BTN_MIN", 0, w - 86, 6, 40, 40)
    texts = [((55, 6, 225, 46), "Pindle", (255, 255, 255), 15, True, "left")]
    if state in ("main", "hover", "disabled"):
        s = {"main": 0, "hover": 1, "disabled": 3}[state]
        button(win, "DLG_BTN_INSTALL", s, 174, 294, 304, 40)
        checked = state != "disabled"
        blend(win, frame("CHECKBOX", 2 if checked else 0, 3), 22, 370)
        blend(win, frame("INSTALL_ARROWDOWN", 0, 4), 596, 370)
        colour = {0: (235, 223, 255), 1: (255, 255, 255), 3: (154, 114, 234)}[s]
        texts += [((174, 295, 478, 334), "Install", colour, 17, True, "center"),
                  ((46, 366, 386, 390), "I have read and accept the Pindle License Agreement", (153, 153, 153), 12,
                   False, "left"),
                  ((505, 366, 555, 390), "Custom", (153, 153, 153), 12, False, "right")]
    elif state == "custom":
        win2 = win
        button(win2, "DLG_BTN_INSTALL", 0, 174, 294, 304, 40)
        blend(win2, stretch(load("DLG_INPUT"), 328, 32), 102, 366)
        button(win2, "DLG_BTN_NORMAL", 1, 446, 366, 96, 32)
        blend(win2, frame("CHECKBOX", 1, 3), 22, 480)
        texts += [((174, 295, 478, 334), "Install", (235, 223, 255), 17, True, "center"),
                  ((110, 366, 420, 398), "C:\\Program Files\\Pindle", (204, 204, 204), 12, False, "left"),
                  ((446, 366, 542, 398), "Browse", (255, 255, 255), 12, False, "center")]
    elif state == "download":
        bar = np.zeros((8, 607, 4), np.float32)
        bar[:] = [53 / 255.0, 53 / 255.0, 61 / 255.0, 1]
        blend(win, bar, 22, 288)
        blend(win, stretch(load("PROGRESS"), int(607 * progress), 8), 22, 288)
        texts += [((23, 307, 534, 336), "Downloading...Please wait!", (255, 255, 255), 12, False, "left"),
                  ((595, 308, 650, 332), "%.1f%%" % (progress * 100), (255, 255, 255), 12, False, "left")]
    elif state == "complete":
        button(win, "DLG_BTN_INSTALL", 1, 180, 294, 304, 40)
        texts += [((180, 295, 484, 334), "Start", (255, 255, 255), 17, True, "center")]
    return win, texts


def popup():
    w, h = 492, 244
    win = np.zeros((h, w, 4), np.float32)
    nine_slice(win, load("POPLOG"), 0, 0, w, h, 10, 10, 10, 10)
    panel = np.zeros((192, 478, 4), np.float32)
    panel[:] = [22 / 255.0, 17 / 255.0, 66 / 255.0, 1]
    blend(win, panel, 6, 46)
    button(win, "POPDLG_BTN_CLOSE", 2, w - 46, 6, 40, 40)
    button(win, "DLG_BTN_PRIMARY", 1, 262, 190, 96, 32)
    button(win, "DLG_BTN_NORMAL", 0, 374, 190, 96, 32)
    texts = [((22, 14, 222, 38), "Reminder", (250, 250, 250), 14, True, "left"),
             ((22, 62, 436, 86), "Exit the installation?", (189, 189, 190), 12, False, "left"),
             ((262, 192, 358, 222), "Yes", (255, 255, 255), 12, False, "center"),
             ((374, 192, 470, 222), "No", (212, 213, 215), 12, False, "center")]
    return win, texts


def save_mock(out, name, win, texts):
    for ground, label in ((SURFACE, "surface"), ((0, 0, 0), "black"), ((236, 236, 240), "light")):
        img = flatten(win, ground)
        for t in texts:
            text(img, *t)
        img.save(os.path.join(out, "mock_%s_%s.png" % (name, label)))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "/tmp/art-preview"
    os.makedirs(out, exist_ok=True)
    for file_name in sorted(os.listdir(IMAGES)):
        if not file_name.endswith(".png"):
            continue
        name = file_name[:-4]
        a = load(name)
        zoom = 2 if a.shape[1] >= 600 else (4 if a.shape[1] > 100 else 8)
        pad = 8
        parts = []
        for ground in (SURFACE, (0, 0, 0)):
            img = flatten(a, ground).resize((a.shape[1] * zoom, a.shape[0] * zoom), Image.NEAREST)
            parts.append(img)
        sheet = Image.new("RGB", (parts[0].width + 2 * pad, 2 * parts[0].height + 3 * pad), (90, 90, 90))
        sheet.paste(parts[0], (pad, pad))
        sheet.paste(parts[1], (pad, 2 * pad + parts[0].height))
        sheet.save(os.path.join(out, "zoom_%s.png" % name))
    for state in ("main", "hover", "disabled", "custom", "download", "complete"):
        save_mock(out, state, *main_window(state))
    for header in ("APP1", "APP2", "APP3", "INSTALL_BACKUP"):
        save_mock(out, "main_" + header, *main_window("main", header))
    save_mock(out, "popup", *popup())
    print("previews in %s" % out)


if __name__ == "__main__":
    main()
