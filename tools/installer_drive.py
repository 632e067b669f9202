#!/usr/bin/env python3
"""Drives PindleDownloader.exe on an X display the way a person does: real pointer clicks and
key strokes through xdotool, a screenshot of each stage through ImageMagick's `import`, and the
installer's own log to know when a stage has come.

    installer_drive.py --layout resources/layouts/ENGUIMAINWINDOW.xml --log-dir DIR --shots DIR
                       [--custom-folder 'C:\\Games\\Pindle'] [--auto] [--no-start] [--timeout S]

Without --custom-folder it installs from the main panel (as over an earlier installation).

Run it while the installer starts (it waits for the window). It prints one line per stage and
exits 0 when the product was started (or, with --no-start, when the complete panel showed), 1
with the reason otherwise. Element positions come from the layout document, so the clicks land
where the language's own layout puts its buttons.
"""
import argparse
import glob
import os
import re
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree

WINDOW_WIDTH = 652
WINDOW_HEIGHT = 412


def run(*args, check=True):
    return subprocess.run(args, check=check, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          text=True).stdout


def element_rects(layout_path):
    """Window-relative rectangles of every element with an id: (x, y, width, height)."""
    root = ElementTree.parse(layout_path).getroot()
    rects = {}

    def place(node, parent):
        px, py, pw, ph = parent
        left, top = int(node.get("left", "0")), int(node.get("top", "0"))
        width, height = int(node.get("width", str(pw))), int(node.get("height", str(ph)))
        x_align, y_align = node.get("xAlignment", "left"), node.get("yAlignment", "top")
        x = px + (pw - left if x_align == "right" else (pw - width) // 2 if x_align == "center" else left)
        y = py + (ph - top if y_align == "bottom" else (ph - height) // 2 if y_align == "center" else top)
        if node.get("xStretch") == "fill" and node.tag != "panel":
            width = pw - left
        return x, y, width, height

    def walk(node, parent):
        for child in node:
            rect = place(child, parent)
            if child.get("id"):
                rects[child.get("id")] = rect
            walk(child, rect)

    walk(root, (0, 0, int(root.get("width", WINDOW_WIDTH)), int(root.get("height", WINDOW_HEIGHT))))
    return rects


def layout_size(layout_path):
    """The window size a layout document gives: (width, height)."""
    root = ElementTree.parse(layout_path).getroot()
    return int(root.get("width", WINDOW_WIDTH)), int(root.get("height", WINDOW_HEIGHT))


class Installer:
    def __init__(self, options):
        self.options = options
        self.rects = element_rects(options.layout)
        self.origin = None
        self.shot_index = 0
        os.makedirs(options.shots, exist_ok=True)
        # The log is appended to run after run: only what this run writes counts.
        self.start_file = self.newest_log()
        self.start_size = os.path.getsize(self.start_file) if self.start_file else 0

    def say(self, text):
        print(text, flush=True)

    def newest_log(self):
        files = sorted(glob.glob(os.path.join(self.options.log_dir, "PindleDownloaderLog*.log")),
                       key=os.path.getmtime)
        return files[-1] if files else None

    def log_text(self):
        newest = self.newest_log()
        if not newest:
            return ""
        with open(newest, "rb") as log:
            if newest == self.start_file:
                log.seek(self.start_size)
            return log.read().decode("gbk", "replace")

    def wait_for(self, condition, what, timeout=None):
        deadline = time.time() + (timeout or self.options.timeout)
        while time.time() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.1)
        raise RuntimeError("timed out waiting for " + what)

    def wait_log(self, pattern, timeout=None):
        regex = re.compile(pattern)
        return self.wait_for(lambda: regex.search(self.log_text()), "log line /%s/" % pattern, timeout)

    def find_window(self, width=WINDOW_WIDTH, min_height=WINDOW_HEIGHT - 40):
        """The screen position of a visible window of this size: by default the installer's
        652-pixel-wide main window; a popup passes its own layout's size."""
        ids = run("xdotool", "search", "--onlyvisible", "--name", "", check=False).split()
        for window in ids:
            geometry = run("xdotool", "getwindowgeometry", "--shell", window, check=False)
            values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
            if values.get("WIDTH") == str(width) and int(values.get("HEIGHT", "0")) >= min_height:
                return int(values["X"]), int(values["Y"])
        return None

    def shot(self, name):
        self.shot_index += 1
        path = os.path.join(self.options.shots, "%02d-%s.png" % (self.shot_index, name))
        run("import", "-window", "root", path)
        self.say("screenshot " + path)
        return path

    def click(self, element_id, rects=None, origin=None):
        """A click in the middle of an element of the main window (or of the window whose
        layout rectangles and screen position are given)."""
        rects, origin = rects or self.rects, origin or self.origin
        if element_id not in rects:
            raise RuntimeError("the layout has no element " + element_id)
        x, y, width, height = rects[element_id]
        screen_x, screen_y = origin[0] + x + width // 2, origin[1] + y + height // 2
        run("xdotool", "mousemove", "--sync", str(screen_x), str(screen_y))
        time.sleep(0.15)  # the hover state comes first, as with a person's pointer
        run("xdotool", "click", "1")
        self.say("click " + element_id)

    def type_folder(self, folder):
        self.click("id_edit_installpath")
        time.sleep(0.5)
        run("xdotool", "key", "--clearmodifiers", "ctrl+a", "BackSpace")
        # Letters outside the keyboard map are typed through a remapped key; slower strokes give
        # the X server time to remap between them.
        run("xdotool", "type", "--delay", "120", folder)
        time.sleep(0.3)
        # A click on an empty spot of the window ends the editing: the text goes back into the box.
        # Below the box and above the agreement line nothing takes the click.
        box_x, box_y, _, box_height = self.rects["id_edit_installpath"]
        x, y = self.origin
        run("xdotool", "mousemove", "--sync", str(x + box_x + 10), str(y + box_y + box_height + 30))
        run("xdotool", "click", "1")
        # Wine hides the pop-up only after it has waited for a window manager (about 2 s on a
        # display without one).
        time.sleep(2.5)
        self.say("typed " + folder)

    def drive(self):
        options = self.options
        self.origin = self.wait_for(self.find_window, "the installer's window")
        self.shot("opening")
        self.say("window at %d,%d" % self.origin)
        self.wait_log(r"memsize:")
        if options.auto:
            self.wait_log(r"Start (Multi|Single) thread Download")
            time.sleep(1.5)
            self.shot("downloading")
        else:
            time.sleep(1.0)  # the previous-installation step enables the install button
            self.shot("main")
            if options.custom_folder:
                self.click("id_userinstall")
                time.sleep(0.8)
                self.shot("custom")
                self.type_folder(options.custom_folder)
                time.sleep(0.5)
                self.shot("custom-folder")
                self.click("id_install_custom")
            else:
                self.click("id_install")
            self.wait_log(r"Start (Multi|Single) thread Download")
            time.sleep(1.5)
            self.shot("downloading")
        # A long download gets a picture every few seconds, so its progress can be seen.
        deadline = time.time() + options.timeout
        extracting = re.compile(r"Start Extract File|Un7z start")
        last_shot, extra_shots = time.time(), 0
        while not extracting.search(self.log_text()):
            if time.time() > deadline:
                raise RuntimeError("timed out waiting for the unpacking")
            if extra_shots < 2 and time.time() - last_shot > 6:
                self.shot("downloading")
                last_shot, extra_shots = time.time(), extra_shots + 1
            time.sleep(0.1)
        self.shot("installing")
        self.wait_log(r"Ensure File Security|OSVersion low", timeout=options.timeout)
        time.sleep(1.5)
        self.shot("complete")
        # The engine installer may have asked for a restart: the question comes over the
        # complete panel, and this driver answers "later".
        popup_layout = os.path.join(os.path.dirname(options.layout),
                                    os.path.basename(options.layout).replace("MAINWINDOW", "CANNOTDOWN")
                                    .replace("MainWindow", "CANNOTDOWN"))
        if os.path.exists(popup_layout):
            width, height = layout_size(popup_layout)
            origin = self.find_window(width, height)
            if origin:
                self.shot("restart-question")
                self.click("id_btn_later", element_rects(popup_layout), origin)
                return
        if options.no_start:
            return
        self.click("id_btn_usenow")
        self.wait_log(r"Startup Param:")
        time.sleep(2.0)
        self.shot("product-started")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--layout", required=True)
    parser.add_argument("--log-dir", required=True)
    parser.add_argument("--shots", required=True)
    parser.add_argument("--custom-folder")
    parser.add_argument("--auto", action="store_true")
    parser.add_argument("--no-start", action="store_true")
    parser.add_argument("--timeout", type=float, default=120)
    options = parser.parse_args()
    installer = Installer(options)
    try:
        installer.drive()
    except (RuntimeError, subprocess.CalledProcessError) as failure:
        installer.shot("failure")
        print("installer_drive: %s" % failure, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
