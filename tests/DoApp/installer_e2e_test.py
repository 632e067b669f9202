#!/usr/bin/env python3
"""PindleDownloader.exe end to end under Wine, against the demo services on 127.0.0.1 (nginx with
the small demo package, the analytics collector), driven on a private virtual display with real
pointer clicks and key strokes:

  auto       "-auto" from a clean prefix to the complete panel, then "id_close": the files, the
             registry values, the shortcut, conf.ini, the logon value, the four events in order
             with "type" "upgrade" and the super properties, no package left behind.
  click      a clean prefix: the agreement box gates the install button, the custom panel, a
             typed folder with a space and non-ASCII letters, install, "id_btn_usenow": the
             product runs from the install folder with the exact command line.
  update     over that installation: the folder reused, an old desktop shortcut replaced.
  uninstall  the demo uninstaller (silent) leaves no file, value or shortcut of the product.
  quit       the close button before the install: the question, Enter and Escape do nothing,
             its first button quits, "Downloader_Exit" "Quit".
  languages  each language's window, as shown on the display, is its own layout rendered
             headless (renderlayout), and not the English one.

    installer_e2e_test.py SOURCE_ROOT BUILD_TREE PACKAGE.7z WORK_FOLDER WINE_LOADER [CASE ...]
"""
import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no caches in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402
from e2e_support import check, check_events, check_installation, event_count, run_installer  # noqa: E402
from e2e_support import wait_for_events  # noqa: E402

SOURCE, TREE, PACKAGE, WORK, LOADER = sys.argv[1:6]
CASES = sys.argv[6:] or ["auto", "click", "update", "uninstall", "quit", "languages"]
e2e.configure(SOURCE, TREE, WORK, LOADER)
DEFAULT_FOLDER = e2e.DEFAULT_FOLDER
TYPED_FOLDER = "C:\\Spiele \u00fcber\\Gr\u00f6\u00dfe Pindle"


def case_auto(template):
    prefix = e2e.Prefix("auto", template)
    before = event_count()

    def steps(drive):
        drive.wait_log(r"Ensure File Security|OSVersion low")
        time.sleep(1.5)
        drive.shot("complete")
        drive.click("id_close")  # the complete panel closes without a question

    code, _ = run_installer(prefix, ["-auto"], steps)
    check(code == 1, "the installer ends with 1 after the close (%s)" % code)
    check_events(wait_for_events(before, 4, prefix), "upgrade")
    prefix.flush()
    check_installation(prefix, DEFAULT_FOLDER)


def case_click(template):
    prefix = e2e.Prefix("click", template)
    before = event_count()
    expected_folder = TYPED_FOLDER + "\\Pindle"

    def steps(drive):
        time.sleep(1.0)
        # The agreement box gates the install button: cleared, a click on it does nothing.
        drive.click("id_checkbox")
        time.sleep(0.5)
        drive.click("id_install")
        time.sleep(1.5)
        check("installpath:" not in drive.log_text(), "no install while the agreement is cleared")
        drive.click("id_checkbox")
        time.sleep(0.5)
        drive.click("id_userinstall")
        time.sleep(0.8)
        drive.shot("custom")
        drive.type_folder(TYPED_FOLDER)
        time.sleep(0.8)
        drive.shot("custom-folder")
        drive.click("id_install_custom")
        drive.wait_log(r"Ensure File Security|OSVersion low")
        time.sleep(1.5)
        drive.shot("complete")
        drive.click("id_btn_usenow")
        drive.wait_log(r"Startup Param:")

    code, _ = run_installer(prefix, [], steps)
    check(code == 1, "the installer ends with 1 after starting the product (%s)" % code)
    check_events(wait_for_events(before, 4, prefix), "normal")
    started = os.path.join(prefix.unix(expected_folder), "bin", "Pindle_started.txt")
    deadline = time.time() + 15
    while time.time() < deadline and not os.path.exists(started):
        time.sleep(0.2)
    record = open(started, encoding="utf-8", newline="").read() if os.path.exists(started) else ""
    check('command line: "%s\\bin\\Pindle.exe" \r\n' % expected_folder in record,
          "the product's command line is the quoted program, a space and nothing more: %r" % record)
    check("current folder: %s\r\n" % expected_folder in record, "the product runs in the install folder")
    prefix.flush()
    check_installation(prefix, expected_folder)
    return prefix


def case_update(prefix):
    # An old product's shortcut to the same program is replaced by the product's own.
    shutil.copy(os.path.join(prefix.desktop, "Pindle.lnk"), os.path.join(prefix.desktop, "Vesk.lnk"))
    before = event_count()
    folder = TYPED_FOLDER + "\\Pindle"

    def steps(drive):
        time.sleep(1.0)
        drive.shot("main-over-installation")
        drive.click("id_install")
        drive.wait_log(r"Ensure File Security|OSVersion low")
        time.sleep(1.5)
        drive.click("id_close")

    subprocess.run(["wineserver", "-p"], env=prefix.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    code, drive = run_installer(prefix, [], steps)
    check(code == 1, "the update ends with 1 (%s)" % code)
    check("RemoveOldShortcuts(1)" in drive.log_text(), "the update removes the old shortcuts first")
    check_events(wait_for_events(before, 4, prefix), "normal")
    prefix.flush()
    s = check_installation(prefix, folder)
    check("Vesk.lnk" not in s["shortcuts"], "the old shortcut is gone: %s" % list(s["shortcuts"]))


def case_uninstall(prefix):
    folder = TYPED_FOLDER + "\\Pindle"
    subprocess.run(["wineserver", "-p"], env=prefix.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    result = prefix.run([folder + "\\bin\\Pindle_unload.exe", "-silent"])
    check(result.returncode == 0, "the uninstaller ends with 0 (%d): %s" % (result.returncode, result.stdout[-400:]))
    time.sleep(3)  # its copy in the temporary folder removes the folder after it
    prefix.flush()
    s = prefix.summary()
    check(not s["install_folder"], "no SetupInfo value is left")
    check(not any(v for k, v in s["registry"].items() if k.lower().endswith("uninstall\\pindle")),
          "no uninstall entry is left")
    check(not s["shortcuts"], "no desktop shortcut is left: %s" % s["shortcuts"])
    check(not s["run"], "no logon value is left")
    installed = prefix.unix(folder)
    left = [os.path.join(r, n) for r, _, names in os.walk(installed) for n in names] if os.path.isdir(installed) else []
    check(not left, "no file is left in the install folder: %s" % left[:5])


def case_quit(template):
    prefix = e2e.Prefix("quit", template)
    before = event_count()

    def steps(drive):
        time.sleep(1.0)
        drive.click("id_close")  # the quit question of the choose stage
        popup_layout = os.path.join(e2e.LAYOUTS, "ENGUICANNOTDOWN.xml")
        popup_rects = e2e.installer_drive.element_rects(popup_layout)
        width, height = e2e.installer_drive.layout_size(popup_layout)
        origin = drive.wait_for(lambda: drive.find_window(width, height), "the quit question")
        subprocess.run(["xdotool", "key", "Return"])  # Enter and Escape do nothing in the question
        subprocess.run(["xdotool", "key", "Escape"])
        time.sleep(0.5)
        check(drive.find_window(width, height) == origin, "Enter and Escape leave the question open")
        drive.shot("quit-question")
        drive.click("id_btn_ok", popup_rects, origin)

    code, _ = run_installer(prefix, [], steps)
    check(code == 1, "quitting ends the installer with 1 (%s)" % code)
    records = wait_for_events(before, 2, prefix)
    actions = [(r["properties"].get("action"), r["properties"].get("exit_reason")) for r in records]
    check(actions == [("Downloader_Download_Launch", None), ("Downloader_Exit", "Quit")],
          "the launch, then Downloader_Exit with Quit: %s" % actions)
    prefix.flush()
    check(not prefix.summary()["install_folder"], "nothing was installed")


def case_languages(template):
    prefix = e2e.Prefix("languages", template)
    renders = {}
    for code, layout in e2e.language_table():
        out = os.path.join(prefix.root, "render-%s.png" % code)
        result = prefix.run([e2e.RENDER, layout, "main", e2e.windows_path(out), "--over", "0,0,0"])
        check(result.returncode == 0, "renderlayout renders %s" % layout)
        renders[code] = out
    for code, layout in e2e.language_table():
        drive = e2e.driver(prefix, layout)
        process = prefix.start([e2e.EXE, "-lan:" + code])
        path = os.path.join(prefix.root, "live-%s.png" % code)
        try:
            drive.origin = drive.wait_for(drive.find_window, "the %s window" % code)
            drive.wait_log(r"memsize:")
            time.sleep(1.5)  # the install button is enabled by the previous-installation step
            x, y = drive.origin
            subprocess.run(["import", "-window", "root", "-crop", "652x412+%d+%d" % (x, y), "+repage", path],
                           check=True)
        except (RuntimeError, subprocess.CalledProcessError) as failure:
            check(False, "%s: %s" % (code, failure))
        process.kill()
        prefix.flush()
        subprocess.run(["wineserver", "-p"], env=prefix.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not os.path.exists(path):
            continue
        same = e2e.differing_pixels(path, renders[code])
        check(same < 200, "%s: the window shows its own layout (%d pixels differ)" % (code, same))
        if code != "lan_en":
            other = e2e.differing_pixels(path, renders["lan_en"])
            check(other > 1000, "%s: the window is not the English one (%d pixels differ)" % (code, other))


def main():
    template_root = e2e.make_template()
    services = os.path.join(WORK, "services")
    subprocess.run(["bash", os.path.join(SOURCE, "scripts", "demo-services.sh"), "start", PACKAGE, "--no-cap",
                    "--state", services], check=True, stdout=subprocess.DEVNULL)
    try:
        with e2e.Display():
            clicked = None
            for case in CASES:
                print("== " + case, flush=True)
                if case == "auto":
                    case_auto(template_root)
                elif case == "click":
                    clicked = case_click(template_root)
                elif case == "update" and clicked:
                    case_update(clicked)
                elif case == "uninstall" and clicked:
                    case_uninstall(clicked)
                elif case == "quit":
                    case_quit(template_root)
                elif case == "languages":
                    case_languages(template_root)
    finally:
        subprocess.run(["bash", os.path.join(SOURCE, "scripts", "demo-services.sh"), "stop", "--state", services],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        e2e.stop_prefixes(remove=not e2e.failures)
    return e2e.report()


if __name__ == "__main__":
    sys.exit(main())
