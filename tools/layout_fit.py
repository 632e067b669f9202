#!/usr/bin/python3
"""Checks the layout documents and the prompt texts before they are embedded.

For every document in resources/layouts it checks that the XML is well formed, that each element name is one the
place accepts, that every attribute value reads as its type says (integers, colours of three parts, margins of four,
alignment words), that every id the installer looks up is present, and that every text fits its element in the font
the element draws it with: single-line texts within the width, wrapped texts within the height. The popup's message
statics are also measured against every prompt text of the same language that the installer shows there, and every
prompt text must stay within the 399 bytes that the prompt-text reader keeps.

Fonts are the real files of the Wine test prefix: Tahoma, WenQuanYi Micro Hei for "Microsoft YaHei" (the prefix
replaces the one by the other; at the same cell height it is the wider of the two) and, through font links,
WenQuanYi for CJK and Loma for Thai. Each text is measured for the four systems the font table distinguishes (Vista
or later or older, Chinese system or not); the worst case counts. The measures follow what GDI+ DrawString does under
Wine: the em of the GDI font, hinted whole-pixel advances, 1/6 em kept free on either side, lines one cell apart,
breaks after the last space that fits (or where the width ends), a linked face scaled by its cell height. For the
Vista fonts they give the same widths and line counts as GDI+ MeasureString under Wine, and never less for Thai.

Usage: /usr/bin/python3 tools/layout_fit.py [--verbose] [--root DIR]
Exit code 0 when everything fits, 1 when anything is cut or malformed (each problem on one line).
Needs python3-pil, python3-fonttools, fonts-wine, fonts-wqy-microhei and fonts-tlwg-loma-ttf.
"""
import argparse
import os
import re
import sys
import unicodedata
import xml.etree.ElementTree as ET

from fontTools.ttLib import TTFont
from PIL import ImageFont

# The faces of the test prefix. A bold font is drawn by emboldening the regular outlines (Wine does so even where a
# bold file exists), about 1 px wider a glyph.
FACES = {
    "tahoma": "/usr/share/wine/fonts/tahoma.ttf",
    "wqy": "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    "loma": "/usr/share/fonts/truetype/tlwg/Loma.ttf",
}
# Where a face lacks a character, the font links of the prefix (and Windows' own fallback) take it from these.
FALLBACK = ["wqy", "loma", "tahoma"]


# The eight fonts: (pre-Vista, Chinese system) -> (cell height, face, bold). "Microsoft YaHei" and its Chinese name are
# the WenQuanYi face in the test prefix.
def font_spec(font, pre_vista, chinese):
    if font == "default":
        return (13, "tahoma", False) if pre_vista else (18, "wqy", False)
    if font == "title":
        if chinese and not pre_vista:
            return (20, "wqy", True)
        return (16, "tahoma", True)
    if font == "big":
        return (16, "tahoma", False) if pre_vista else (21, "wqy", False)
    if font == "msgboxtitle":
        return (14, "tahoma", False) if pre_vista else (20, "wqy", False)
    if font == "small":
        if chinese:
            return (10, "tahoma", False) if pre_vista else (16, "wqy", False)
        return (10, "tahoma", True)
    if font == "smaller":
        if chinese and not pre_vista:
            return (15, "wqy", True)
        return (11, "tahoma", True)
    raise ValueError(font)


SYSTEMS = [(False, False), (False, True), (True, False), (True, True)]
SYSTEM_NAMES = {(False, False): "Vista+", (False, True): "Vista+ Chinese", (True, False): "XP",
                (True, True): "XP Chinese"}

_font_cache = {}
_face_cache = {}


def pil_font(face, em):
    key = (face, em)
    if key not in _font_cache:
        # Basic layout: whole-pixel hinted advances, as GDI measures them.
        _font_cache[key] = ImageFont.truetype(FACES[face], em, layout_engine=ImageFont.Layout.BASIC)
    return _font_cache[key]


def face_info(face):
    """(units per em, winAscent + winDescent, line spacing, character set) of a face's regular file."""
    if face not in _face_cache:
        font = TTFont(FACES[face], fontNumber=0)
        os2, hhea = font["OS/2"], font["hhea"]
        line = max(os2.usWinAscent + os2.usWinDescent, hhea.ascent - hhea.descent + hhea.lineGap)
        _face_cache[face] = (font["head"].unitsPerEm, os2.usWinAscent + os2.usWinDescent, line,
                             set(font.getBestCmap()))
    return _face_cache[face]


def has_char(face, ch):
    return ord(ch) in face_info(face)[3]


class Font:
    """One of the eight fonts on one system: measures text the way GDI+ lays it out."""

    def __init__(self, name, pre_vista, chinese):
        self.name = name
        self.cell, self.face, self.bold = font_spec(name, pre_vista, chinese)
        upem, self.cell_units, line_units, _ = face_info(self.face)
        # A font of cell height h has its em at h * upem / (winAscent + winDescent); GDI rounds it to whole pixels and
        # GDI+ takes that em. Lines are as far apart as the cell is high (or the face's line spacing, if larger).
        self.em = round(self.cell * upem / self.cell_units)
        self.line = max(self.cell, self.em * line_units / upem)
        # DrawString's default format keeps 1/6 em free on either side of the layout rectangle.
        self.padding = self.em / 3

    def fallback_em(self, face):
        """The em of a linked face: the base em scaled by the ratio of the faces' cell heights (as Wine draws it)."""
        if face == self.face:
            return self.em
        return round(self.em * face_info(face)[1] / self.cell_units)

    def face_for(self, ch, previous):
        """The face that draws ch: the font's own, else the first fallback that has it; a combining mark stays
        with the face of the character it sits on."""
        if ch in " \n" or has_char(self.face, ch):
            return self.face
        if previous and unicodedata.category(ch) in ("Mn", "Mc") and has_char(previous, ch):
            return previous
        for face in FALLBACK:
            if has_char(face, ch):
                return face
        return self.face

    def runs(self, text):
        """Splits text into [face, characters] runs."""
        out = []
        for ch in text:
            face = self.face_for(ch, out[-1][0] if out else None)
            if out and out[-1][0] == face:
                out[-1][1] += ch
            else:
                out.append([face, ch])
        return out

    def width(self, text):
        total = 0
        for face, run in self.runs(text):
            total += pil_font(face, self.fallback_em(face)).getlength(run)
            if face != self.face:
                total += 1  # the linked face's em is fractional; round its run up
            if self.bold:
                total += sum(1 for ch in run if ch != " " and unicodedata.category(ch) not in ("Mn", "Me"))
        return total


def fit_length(text, font, width):
    """How many leading characters of text fit in width (at least one)."""
    low, high = 1, len(text)
    while low < high:
        middle = (low + high + 1) // 2
        if font.width(text[:middle]) <= width:
            low = middle
        else:
            high = middle - 1
    return low


def wrap(text, font, width):
    """The lines DrawString makes of text in a rectangle width wide: each line takes as many characters as fit and
    then gives back the word it cut into, breaking after the last space; a line without a space breaks where the
    width ends (so CJK and Thai run to the edge). That is how Wine wraps; Windows also breaks between CJK characters
    and Thai words, which never needs more lines."""
    lines = []
    for paragraph in text.split("\n"):
        rest = paragraph
        while True:
            if font.width(rest) <= width:
                lines.append(rest.rstrip(" "))
                break
            fit = fit_length(rest, font, width)
            end = fit
            if rest[fit] == " ":
                while end < len(rest) and rest[end] == " ":
                    end += 1
            else:
                space = rest.rfind(" ", 0, fit)
                if space >= 0:
                    end = space + 1
            while end < len(rest) and unicodedata.category(rest[end]) in ("Mn", "Mc"):
                end += 1  # a mark stays on the line of its character
            lines.append(rest[:end].rstrip(" "))
            rest = rest[end:]
            if not rest:
                break
    return lines


# ---------------------------------------------------------------------------------------------------------------------
# Document rules

COMMON = {"id": "text", "name": "text", "title": "text", "tip": "text", "style": "int", "style_ex": "int",
          "left": "int", "top": "int", "width": "int", "height": "int", "xAlignment": "align", "yAlignment": "align",
          "xStretch": "stretch", "yStretch": "stretch", "drawSimple": "ignored", "c_left": "ignored",
          "c_top": "ignored"}
WINDOW = {"minWidth": "int", "minHeight": "int", "titleHeight": "int", "icon": "text", "frame": "image",
          "frameCorner": "margins", "frameBack": "image", "frameBackCorner": "margins", "frameBackPos": "margins",
          "center": "int", "resize": "image", "title": "text", "logo": "image", "roundcorner": "int", "topmost": "int"}
BUTTON = {"image": "image", "icon": "image", "smallicon": "image", "textcolor": "colour", "hovercolor": "colour",
          "downcolor": "colour", "discolor": "colour", "corner": "margins", "hdelta": "int",
          "bgnormalborder": "colour", "bgnormalbrush": "colour", "bghoverborder": "colour", "bghoverbrush": "colour",
          "bgdownbrush": "colour", "bgdownborder": "colour", "bigfont": "int"}
KIND_ATTRIBUTES = {
    "button": BUTTON, "clrmembutton": BUTTON, "tab": BUTTON,
    "checkbox": {"image": "image", "textcolor": "colour"},
    "radiobutton": {"image": "image"},
    "static": {"background": "image", "color": "colour", "icon": "image", "bigfont": "int", "samllfont": "int",
               "msgboxtitlefont": "int", "samllerfont": "int", "titlefount": "int", "viewport": "int",
               "textAlignment": "textalign"},
    "link": {"linkcolor": "colour", "visitedcolor": "colour", "hovercolor": "colour", "samllfont": "int",
             "samllerfont": "int", "textAlignment": "textalign", "url": "text"},
    "panel": {"background": "image", "backcolor": "colour", "bordercolor": "colour", "border": "int"},
    "progress": {"background": "image", "progress": "image", "progress_width": "int", "image": "image",
                 "lightpointdela": "int"},
    "layedit": {"tab": "int", "index": "int", "normalBack": "image", "hoverBack": "image", "image": "image",
                "icon": "image", "pWd": "int", "readonly": "int", "textcolor": "colour", "hovertext": "colour",
                "downtext": "colour", "checkpath": "int", "bgnormalborder": "colour", "bgnormalbrush": "colour",
                "bghoverborder": "colour", "bghoverbrush": "colour", "bgdownbrush": "colour",
                "bgdownborder": "colour"},
    "tablist": {},
}
# Element names each place accepts (the kinds these documents may use).
POPUP_ROOT = {"button", "static", "link", "checkbox", "progress", "panel", "tablist", "edit", "layedit", "hotkey",
              "tree"}
MAIN_ROOT = {"button", "tab", "static", "link", "checkbox", "progress", "panel", "tablist", "optionline", "layedit",
             "hotkey"}
IN_PANEL = {"button", "clrmembutton", "static", "link", "checkbox", "radiobutton", "progress", "panel", "tablist",
            "edit", "layedit", "simedit", "numedit", "hotkey", "richedit", "goroundstatic", "GifAnim"}
ALIGN_WORDS = {"left", "top", "right", "bottom", "center"}
STRETCH_WORDS = {"none", "scale", "fill"}
TEXT_FORMATS = {"LeftTop": 0, "Left": 4, "LeftBottom": 8, "Center": 1, "RightBottom": 10, "Right": 6, "RightTop": 2}
KNOWN_IMAGES = {"DLG_BTN_INSTALL": (1280, 40), "DLG_BTN_MIN": (160, 40), "POPDLG_BTN_CLOSE": (160, 40),
                "DLG_BTN_NORMAL": (384, 32), "DLG_BTN_PRIMARY": (384, 32), "DLG_BTN_BROWSE": (448, 32),
                "INSTALL_ARROWDOWN": (64, 16), "INSTALL_ARROWUP": (64, 16), "CHECKBOX": (48, 16),
                "ABOUTDIALOG": (100, 100), "POPLOG": (100, 100), "DLG_INPUT": (384, 32), "APP": (640, 256),
                "APP1": (640, 360), "APP2": (640, 360), "APP3": (640, 360), "INSTALL_BACKUP": (640, 256),
                "APPLOGO": (40, 40), "POP_LOGO": (16, 16), "LIGHTPOINT": (32, 30), "PROGRESS": (256, 8),
                "DOWNLOADPOINT": (4, 8)}

MAIN_IDS = ["id_close", "id_btn_min", "id_static_version", "id_panel_main", "id_install", "id_checkbox",
            "id_openurl", "id_userinstall", "id_btn_arrowdown", "id_panel_userdef", "id_install_custom",
            "id_edit_installpath", "id_static_patherror", "id_btn_installdir", "id_checkbox_custom",
            "id_openurl_custom", "id_userfold", "id_btn_arrowup", "id_panel_download", "id_progress_download",
            "id_static_downing", "id_static_installing", "id_static_tryshutdown", "id_panel_complete",
            "id_btn_usenow"]
RUSSIAN_MAIN_IDS = ["id_checkbox_savedata", "id_checkbox_shortcut", "id_checkbox_easymenu", "id_checkbox_autorun",
                    "id_static_downing_size", "id_static_downladpoint_bg", "id_link_qq", "id_link_multi"]
POPUP_IDS = ["id_btn_close", "id_static_remind", "id_panel_quit", "id_static_tip1", "id_btn_ok", "id_btn_cancal",
             "id_static_tip2", "id_btn_quit", "id_btn_later", "id_btn_reboot"]
RUSSIAN_POPUP_IDS = ["id_static_logo", "id_btn_backup", "id_btn_goon"]

# Documents per language: main window, popup, prompt-text document.
LANGUAGES = [
    ("lan_cn", "UIMAINWINDOW", "UICANNOTDOWN", "PROMPTINFO"),
    ("lan_en", "ENGUIMAINWINDOW", "ENGUICANNOTDOWN", "ENGPROMPTINFO"),
    ("lan_kr", "KRUIMainWindow", "KRUICANNOTDOWN", "KRPROMPTINFO"),
    ("lan_jp", "JPUIMainWindow", "JPUICANNOTDOWN", "JPPROMPTINFO"),
    ("lan_vn", "VNUIMainWindow", "VNUICANNOTDOWN", "VNPROMPTINFO"),
    ("lan_th", "THUIMAINWINDOW", "THUICANNOTDOWN", "THPROMPTINFO"),
    ("lan_id", "IDUIMAINWINDOW", "IDUICANNOTDOWN", "IDPROMPTINFO"),
    ("lan_tw", "TWUIMainWindow", "TWUICANNOTDOWN", "TWPROMPTINFO"),
    ("Russian", "RUUIMainWindow", "RUUICANNOTDOWN", None),
]
STORED_ONLY = ["UIAGREEMENT", "UICONTENT"]

# Prompt texts the installer puts into the popup's message statics, besides their own titles: tip1 holds the quit
# question during the download; tip2 every fatal message, the FAT32 warning, the old-data warning and the restart
# question. The low-disk message is built around a drive such as "C:".
TIP1_KEYS = ["Downloading"]
TIP2_KEYS = ["ServiceError", "DiskSpace", "CPUtype", "System", "Fat", "DownloadFail", "Graphics", "Resolution",
             "pstrDownloaderUp", "Installed", "64error", "Fileoccupied", "Authority", "Reboot", "FREEDISK"]
PROMPT_BYTES = 399


class Report:
    def __init__(self, verbose):
        self.verbose = verbose
        self.problems = 0

    def fail(self, where, message, verdict="CUT"):
        """verdict: CUT for a text that does not fit, BAD for a document or value that does not read as meant."""
        self.problems += 1
        print(f"{verdict:5} {where}: {message}")

    def ok(self, where, message):
        if self.verbose:
            print(f"ok    {where}: {message}")


def read_int(value):
    match = re.match(r"\s*([+-]?\d+)", value)
    return int(match.group(1)) if match else None


def check_value(kind, value):
    """Returns why the value does not read as its type, or None."""
    if kind == "int":
        return None if re.fullmatch(r"[+-]?\d+", value) else "not an integer"
    if kind == "colour":
        parts = value.split(",")
        if len(parts) != 3 or not all(re.fullmatch(r"\d+", p) and int(p) <= 255 for p in parts):
            return "not a colour of three components 0-255"
    if kind == "margins":
        parts = value.split(",")
        if len(parts) != 4 or not all(re.fullmatch(r"-?\d+", p) for p in parts):
            return "not four comma-separated integers"
    if kind == "align" and value not in ALIGN_WORDS:
        return "unknown alignment word"
    if kind == "stretch" and value not in STRETCH_WORDS:
        return "unknown stretch word"
    if kind == "textalign" and value not in TEXT_FORMATS:
        return "unknown textAlignment word"
    if kind == "image" and value and value not in KNOWN_IMAGES:
        return "no such image resource"
    return None


class Element:
    def __init__(self, node, parent_rect):
        self.node = node
        self.kind = node.tag
        a = node.attrib
        self.id = a.get("id", "")
        self.title = a.get("title", "")
        left, top = read_int(a.get("left", "0")) or 0, read_int(a.get("top", "0")) or 0
        width, height = read_int(a.get("width", "0")) or 0, read_int(a.get("height", "0")) or 0
        px, py, pw, ph = parent_rect
        x = left
        if a.get("xAlignment") == "right":
            x = pw - left
        elif a.get("xAlignment") == "center":
            x = int((pw - width) / 2)
        y = top
        if a.get("yAlignment") == "bottom":
            y = ph - top
        elif a.get("yAlignment") == "center":
            y = int((ph - height) / 2)
        self.rect = (px + x, py + y, width, height)  # window coordinates
        self.children = []
        if self.kind in ("panel", "tablist"):
            accepted = IN_PANEL if self.kind == "panel" else {"tab"}
            self.children = [Element(child, self.rect) for child in node if child.tag in accepted]

    def walk(self):
        yield self
        for child in self.children:
            yield from child.walk()


def text_font(element):
    a = element.node.attrib
    if element.kind in ("button", "clrmembutton", "tab"):
        return "big" if read_int(a.get("bigfont", "0")) else "default"
    font = "default"
    flags = ["bigfont", "samllfont", "msgboxtitlefont", "samllerfont", "titlefount"]
    if element.kind == "link":
        flags = ["samllfont", "samllerfont"]
    names = {"bigfont": "big", "samllfont": "small", "msgboxtitlefont": "msgboxtitle", "samllerfont": "smaller",
             "titlefount": "title"}
    for flag in flags:
        if read_int(a.get(flag, "0")):
            font = names[flag]
    return font


def text_box(element):
    """The rectangle the element draws its title in, and whether the text is drawn on one line: (width, height,
    single_line)."""
    x, y, width, height = element.rect
    a = element.node.attrib
    if element.kind in ("button", "clrmembutton", "tab"):
        return width, height - (read_int(a.get("hdelta", "0")) or 0), True
    if element.kind in ("checkbox", "radiobutton"):
        return width - 16 - 5 + 4, height, True  # from 5 px right of the 16-px box to 4 px past the right edge
    return width, height, False


def measure(report, where, element, text, label=""):
    """Measures one text in the element's box on every system; reports whether it fits. Buttons and check boxes draw
    on one line; statics and links wrap, and one less than two lines high is a one-line label whose text must fit
    its width."""
    width, height, single = text_box(element)
    font_name = text_font(element)
    if element.kind in ("static", "link") and height < 2 * Font(font_name, False, False).line and "\n" not in text:
        single = True
    worst = None
    for system in SYSTEMS:
        font = Font(font_name, *system)
        room = width - font.padding
        if single:
            need = font.width(text)
            pitch = font.line
            if need > room or pitch > height + 0.5:
                report.fail(where, f"{label}{text!r} needs {need:.0f} x {pitch:.0f} px in the {font.name} font on "
                            f"{SYSTEM_NAMES[system]}, has {room:.0f} x {height} px")
                return False
            slack = room - need
        else:
            lines = wrap(text, font, room)
            need = len(lines) * font.line
            if read_int(element.node.attrib.get("viewport", "0")):
                report.ok(where, f"scrolling text of {len(lines)} lines, {need:.0f} px high on {SYSTEM_NAMES[system]}")
                return True  # a viewport scrolls: its text may be taller than the element
            if need > height + 0.5:
                report.fail(where, f"{label}{text!r} wraps to {len(lines)} lines, {need:.0f} px high in the "
                            f"{font.name} font on {SYSTEM_NAMES[system]}, has {height} px")
                return False
            slack = height - need
        if worst is None or slack < worst[0]:
            worst = (slack, system)
    room_kind = "px to spare in the width" if single else "px to spare in the height"
    report.ok(where, f"{label}{text[:40]!r} fits, {worst[0]:.0f} {room_kind} ({font_name} font, "
              f"{SYSTEM_NAMES[worst[1]]})")
    return True


def read_prompts(path):
    """The INFO values of a prompt-text document as bytes, without the quotes the reader strips."""
    values = {}
    with open(path, "rb") as f:
        data = f.read()
    for raw in data.split(b"\r\n"):
        match = re.match(rb"^([^=\[;]+)=(.*)$", raw)
        if not match:
            continue
        value = match.group(2).strip()
        if len(value) >= 2 and value[:1] == b'"' and value[-1:] == b'"':
            value = value[1:-1]
        values[match.group(1).decode("ascii").strip()] = value
    return values


def check_document(report, path, name):
    where = os.path.basename(path)
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(b'<?xml version="1.0" encoding="UTF-8"?>'):
        report.fail(where, "does not start with the UTF-8 XML declaration", "BAD")
    try:
        data.decode("utf-8")
        root = ET.fromstring(data)
    except (UnicodeDecodeError, ET.ParseError) as error:
        report.fail(where, f"not well-formed: {error}", "BAD")
        return None
    if root.tag != "window":
        report.fail(where, "root element is not window", "BAD")
        return None
    popup = "CANNOTDOWN" in name.upper() or name in STORED_ONLY
    for attr, value in root.attrib.items():
        kind = COMMON.get(attr) or WINDOW.get(attr)
        if kind is None:
            report.fail(where, f"window: unknown attribute {attr}", "BAD")
        elif check_value(kind, value):
            report.fail(where, f"window {attr}={value!r}: {check_value(kind, value)}", "BAD")

    def check_node(node, place):
        allowed = {"popup": POPUP_ROOT, "main": MAIN_ROOT, "panel": IN_PANEL, "tablist": {"tab"}}[place]
        label = f"{node.tag} {node.get('id', '')}".strip()
        if node.tag not in allowed:
            report.fail(where, f"{label}: element name not accepted here (the loader skips it)", "BAD")
            return
        table = KIND_ATTRIBUTES.get(node.tag, {})
        for attr, value in node.attrib.items():
            kind = COMMON.get(attr) or table.get(attr)
            if kind is None:
                report.fail(where, f"{label}: attribute {attr} is not read by a {node.tag}", "BAD")
            elif check_value(kind, value):
                report.fail(where, f"{label} {attr}={value!r}: {check_value(kind, value)}", "BAD")
        if node.tag in ("panel", "tablist"):
            for child in node:
                check_node(child, "panel" if node.tag == "panel" else "tablist")
        elif len(node):
            report.fail(where, f"{label}: children of a {node.tag} are never read", "BAD")

    for child in root:
        check_node(child, "popup" if popup else "main")

    width = read_int(root.get("width", "0")) or 0
    height = read_int(root.get("height", "0")) or 0
    accepted = POPUP_ROOT if popup else MAIN_ROOT
    elements = [Element(child, (0, 0, width, height)) for child in root if child.tag in accepted]
    found = {}
    for top in elements:
        for element in top.walk():
            found.setdefault(element.id, element)
    return elements, found, (width, height)


def check_fits(report, where, elements, found, extra):
    """Measures every title, then the extra (element id, text, label) texts the installer puts into elements."""
    for top in elements:
        for element in top.walk():
            if element.title and element.kind not in ("panel", "layedit", "progress", "tablist"):
                measure(report, f"{where} {element.id}", element, element.title)
    for element_id, text, label in extra:
        measure(report, f"{where} {element_id}", found[element_id], text, label)


# The main window grows to 652 x 516 while its custom panel shows.
PANEL_WINDOW_SIZE = {"id_panel_userdef": (652, 516)}


def inside(report, where, elements, size):
    """Every element that draws lies inside the window as large as it is while the element's panel shows."""
    for top in elements:
        width, height = PANEL_WINDOW_SIZE.get(top.id, size)
        for element in top.walk():
            if element.kind in ("panel", "tablist"):
                continue
            x, y, w, h = element.rect
            if x < 0 or y < 0 or x + w > width or y + h > height:
                report.fail(where, f"{element.id or element.kind} at {element.rect} leaves the {width} x {height} "
                            "window")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--verbose", action="store_true", help="also list every text that fits, with its room")
    parser.add_argument("--root", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    args = parser.parse_args()
    report = Report(args.verbose)
    layouts = os.path.join(args.root, "resources", "layouts")
    prompts_dir = os.path.join(args.root, "resources", "prompts")

    for prompt_file in sorted(os.listdir(prompts_dir)):
        for key, value in read_prompts(os.path.join(prompts_dir, prompt_file)).items():
            if len(value) > PROMPT_BYTES:
                report.fail(prompt_file, f"{key} is {len(value)} bytes; the reader keeps {PROMPT_BYTES}", "BAD")

    expected = {name for _, main_name, popup_name, _ in LANGUAGES for name in (main_name, popup_name)}
    expected |= set(STORED_ONLY)
    present = {os.path.splitext(f)[0] for f in os.listdir(layouts) if f.endswith(".xml")}
    for name in sorted(expected - present):
        report.fail(name, "document missing", "BAD")
    for name in sorted(present - expected):
        report.fail(name, "document that no language names", "BAD")

    for language, main_name, popup_name, prompt_name in LANGUAGES:
        prompts = {}
        if prompt_name:
            raw = read_prompts(os.path.join(prompts_dir, prompt_name + ".ini"))
            prompts = {k: v[:PROMPT_BYTES].decode("utf-8", "replace") for k, v in raw.items()}
            prompts["FREEDISK"] = prompts.get("FREEDISK1", "") + "C:" + prompts.get("FREEDISK2", "")
        for name, required, kind in ((main_name, MAIN_IDS, "main"), (popup_name, POPUP_IDS, "popup")):
            path = os.path.join(layouts, name + ".xml")
            if not os.path.exists(path):
                continue
            result = check_document(report, path, name)
            if result is None:
                continue
            elements, found, size = result
            if language == "Russian":
                required = required + (RUSSIAN_MAIN_IDS if kind == "main" else RUSSIAN_POPUP_IDS)
            for element_id in required:
                if element_id not in found:
                    report.fail(name, f"{element_id} is missing", "BAD")
            inside(report, name, elements, size)
            extra = []
            if kind == "main":
                if "id_static_version" in found:
                    version = found["id_static_version"].title + " 1.0.1.0000"
                    extra.append(("id_static_version", version, "with the version: "))
                if "Repair" in prompts and "id_install" in found:
                    extra.append(("id_install", prompts["Repair"], "prompt Repair: "))
                if "id_static_downing_size" in found:
                    extra.append(("id_static_downing_size", "9999.9M/9999.9M", "size label: "))
            else:
                for static_id, keys in (("id_static_tip1", TIP1_KEYS), ("id_static_tip2", TIP2_KEYS)):
                    if static_id in found:
                        extra += [(static_id, prompts[key], f"prompt {key}: ") for key in keys if prompts.get(key)]
            check_fits(report, name, elements, found, extra)
            if kind == "main":
                # The progress label is drawn on one line from progress_width - 12 to progress_width + 43.
                for system in SYSTEMS:
                    font = Font("default", *system)
                    need = font.width("100.0%")
                    if need > 55 - font.padding:
                        report.fail(name, f"progress label '100.0%' needs {need:.0f} px on {SYSTEM_NAMES[system]}, "
                                    f"has {55 - font.padding:.0f}")
                        break

    for name in STORED_ONLY:
        path = os.path.join(layouts, name + ".xml")
        if os.path.exists(path):
            result = check_document(report, path, name)
            if result:
                elements, found, size = result
                inside(report, name, elements, size)
                check_fits(report, name, elements, found, [])

    print(f"{report.problems} problem(s)" if report.problems else "every text fits; every document reads as its types")
    return 1 if report.problems else 0


if __name__ == "__main__":
    sys.exit(main())
