"""Every image the installer embeds as a resource of type 6000: name, size, how it is painted and how it is stored."""
import controls as c
import logo
import scenes

RGBA, RGB = "RGBA", "RGB"

# name: (width, height, render() -> premultiplied pixels, stored mode)
IMAGES = {
    "ABOUTDIALOG": (100, 100, lambda: c.single(100, 100, c.about_dialog), RGBA),
    "POPLOG": (100, 100, lambda: c.single(100, 100, c.popup_frame), RGBA),
    "DLG_BTN_INSTALL": (1280, 40, lambda: c.strip(320, 40, c.accent_button(20), range(4)), RGBA),
    "DLG_BTN_PRIMARY": (384, 32, lambda: c.strip(96, 32, c.accent_button(6), range(4)), RGBA),
    "DLG_BTN_NORMAL": (384, 32, lambda: c.strip(96, 32, c.secondary_button(6), range(4)), RGBA),
    "DLG_BTN_BROWSE": (448, 32, lambda: c.strip(112, 32, c.secondary_button(6), range(4)), RGBA),
    "DLG_BTN_MIN": (160, 40, lambda: c.strip(40, 40, c.minimise_button, range(4)), RGBA),
    "POPDLG_BTN_CLOSE": (160, 40, lambda: c.strip(40, 40, c.close_button, range(4)), RGBA),
    "INSTALL_ARROWDOWN": (64, 16, lambda: c.strip(16, 16, c.chevron(False), range(4)), RGBA),
    "INSTALL_ARROWUP": (64, 16, lambda: c.strip(16, 16, c.chevron(True), range(4)), RGBA),
    "CHECKBOX": (48, 16, lambda: c.strip(16, 16, c.checkbox, range(3)), RGBA),
    "DLG_INPUT": (384, 32, lambda: c.single(384, 32, c.input_box), RGBA),
    "PROGRESS": (256, 8, lambda: c.single(256, 8, c.progress_bar), RGBA),
    "LIGHTPOINT": (32, 30, lambda: c.single(32, 30, c.light_point), RGBA),
    "DOWNLOADPOINT": (4, 8, lambda: c.single(4, 8, c.download_point), RGB),
    "APPLOGO": (40, 40, lambda: c.single(40, 40, logo.app_logo), RGBA),
    "POP_LOGO": (16, 16, lambda: c.single(16, 16, logo.pop_logo), RGBA),
    "APP": (640, 256, lambda: scenes.app(640, 256), RGBA),
    "APP1": (640, 360, lambda: scenes.app1(640, 360), RGBA),
    "APP2": (640, 360, lambda: scenes.app2(640, 360), RGBA),
    "APP3": (640, 360, lambda: scenes.app3(640, 360), RGBA),
    "INSTALL_BACKUP": (640, 256, lambda: scenes.install_backup(640, 256), RGBA),
}

# Frame count of every strip, for checks: frames lie side by side.
FRAMES = {
    "DLG_BTN_INSTALL": 4, "DLG_BTN_PRIMARY": 4, "DLG_BTN_NORMAL": 4, "DLG_BTN_BROWSE": 4, "DLG_BTN_MIN": 4,
    "POPDLG_BTN_CLOSE": 4, "INSTALL_ARROWDOWN": 4, "INSTALL_ARROWUP": 4, "CHECKBOX": 3,
}

ICON_NAME = "PindleDownloader.ico"
ICON_SIZES = (16, 24, 32, 48, 256)
