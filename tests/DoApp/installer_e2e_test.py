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
import json
import os
import re
import shutil
import subprocess
import sys
import time
import types

SOURCE, TREE, PACKAGE, WORK, LOADER = sys.argv[1:6]
CASES = sys.argv[6:] or ["auto", "click", "update", "uninstall", "quit", "languages"]
sys.path.insert(0, os.path.join(SOURCE, "tools"))
import install_summary  # noqa: E402
import installer_drive  # noqa: E402

EXE = os.path.join(TREE, "PindleDownloader.exe")
RENDER = os.path.join(TREE, "tools", "renderlayout", "renderlayout.exe")
LAYOUTS = os.path.join(SOURCE, "resources", "layouts")
DEFAULT_FOLDER = "C:\\Program Files (x86)\\Pindle"
TYPED_FOLDER = "C:\\Spiele \u00fcber\\Gr\u00f6\u00dfe Pindle"
PLAYER_VERSION = "1.0.1.0000"
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


class Prefix:
    """A Wine prefix copied from the clean template, with its own wineserver."""

    def __init__(self, name, template):
        self.root = os.path.join(WORK, name)
        shutil.rmtree(self.root, ignore_errors=True)
        subprocess.run(["cp", "-a", template, self.root], check=True)
        self.env = dict(os.environ, WINEPREFIX=os.path.join(self.root, "prefix"),
                        HOME=os.path.join(self.root, "home"), WINEARCH="win64",
                        WINEDLLOVERRIDES="winemenubuilder.exe=d", WINEDEBUG="-all", LANG="C.UTF-8",
                        LC_ALL="C.UTF-8")
        self.prefix = self.env["WINEPREFIX"]
        subprocess.run(["wineserver", "-p"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.run(["cmd", "/c", "exit"])
        users = os.path.join(self.prefix, "drive_c", "users")
        user = [u for u in os.listdir(users) if u != "Public"][0]
        self.local = os.path.join(users, user, "AppData", "Local")
        self.log_dir = os.path.join(self.local, "Pindle", "PindleDownloader")
        self.desktop = os.path.join(users, user, "Desktop")
        os.makedirs(self.log_dir, exist_ok=True)

    def run(self, command, timeout=60):
        """Runs a program to its end. Its output goes through a file: Wine's background services
        inherit a pipe and would keep it open forever."""
        output = os.path.join(self.root, "run-output.txt")
        with open(output, "w") as sink:
            result = subprocess.run([LOADER] + command, env=self.env, stdin=subprocess.DEVNULL, stdout=sink,
                                    stderr=subprocess.STDOUT, timeout=timeout)
        with open(output, encoding="utf-8", errors="replace") as source:
            result.stdout = source.read()
        return result

    def start(self, command):
        return subprocess.Popen([LOADER] + command, env=self.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def flush(self):
        """Ends the prefix's programs; the registry is on disk afterwards."""
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.5)

    def summary(self):
        return install_summary.summary(self.prefix, "Pindle")

    def unix(self, windows):
        return install_summary.windows_to_unix(self.prefix, windows)


def driver(prefix, layout="ENGUIMAINWINDOW", timeout=90):
    options = types.SimpleNamespace(layout=os.path.join(LAYOUTS, layout + ".xml"), log_dir=prefix.log_dir,
                                    shots=os.path.join(prefix.root, "screens"), timeout=timeout)
    return installer_drive.Installer(options)


def events_since(count):
    records = []
    with open(os.path.join(WORK, "services", "collector.log"), encoding="utf-8") as log:
        for line in log.readlines()[count:]:
            try:
                records.append(json.loads(line))
            except ValueError:
                pass
    return records


def event_count():
    with open(os.path.join(WORK, "services", "collector.log"), encoding="utf-8") as log:
        return len(log.readlines())


def wait_for_events(before, count, timeout=20):
    deadline = time.time() + timeout
    while time.time() < deadline and len(events_since(before)) < count:
        time.sleep(0.2)
    return events_since(before)


def check_events(records, install_kind):
    actions = [r["properties"].get("action") for r in records]
    check(actions == ["Downloader_Download_Launch", "Downloader_Download_Start", "Downloader_Download_Finish",
                      "Downloader_Install_Finish"], "events in order: %s" % actions)
    for record in records:
        p = record["properties"]
        check(record.get("event") == "pindle_downloader" and p.get("type") == install_kind and
              p.get("$os") == "windows" and p.get("$app_version") == PLAYER_VERSION and p.get("language") == "lan_en"
              and p.get("product") == "Pindle" and p.get("mac_address") and p.get("os_version") and
              p.get("channel_token"), "%s carries type %s and the super properties" % (p.get("action"), install_kind))


def check_installation(prefix, folder):
    s = prefix.summary()
    check(s["install_folder"] == folder, "SetupInfo InstallPath is %s (%s)" % (folder, s["install_folder"]))
    files = set(f.replace(os.sep, "/") for f in s["files"])
    for name in ("bin/Pindle.exe", "bin/Pindle_unload.exe", "bin/pindleloader.exe", "bin/kntd32.exe",
                 "bin/kntd64.exe", "bin/Pindlemirror/Pindlemirror.exe"):
        check(name in files, "installed " + name)
    check(not any(f.lower().endswith("7za.exe") for f in files), "7za.exe is not left in the install folder")
    uninstall = [v for k, v in s["registry"].items() if k.lower().endswith("uninstall\\pindle")]
    check(uninstall and uninstall[0].get("DisplayName") == "Pindle" and
          uninstall[0].get("UninstallString") == folder + "\\bin\\Pindle_unload.exe" and
          uninstall[0].get("DisplayVersion") and uninstall[0].get("Publisher"),
          "uninstall entry: %s" % (uninstall[0] if uninstall else None))
    main_program = folder + "\\bin\\Pindle.exe"
    check(s["shortcuts"].get("Pindle.lnk") == main_program,
          "desktop shortcut Pindle.lnk -> %s (%s)" % (main_program, s["shortcuts"]))
    conf = s["conf_ini"] or ""
    check("language=lan_en" in conf and "version=" + PLAYER_VERSION in conf, "conf.ini: %r" % conf)
    check(s["run"] == '"%s\\bin\\pindleloader.exe"' % folder, "logon value: %s" % s["run"])
    leftovers = [os.path.join(r, n) for r, _, names in os.walk(os.path.join(prefix.prefix, "drive_c", "users"))
                 for n in names if n.startswith("PindlePackage")]
    check(not leftovers, "no package file is left behind: %s" % leftovers)
    return s


def run_installer(prefix, arguments, steps, layout="ENGUIMAINWINDOW"):
    """Starts the installer, runs `steps(drive)` against it and returns (exit code, drive)."""
    drive = driver(prefix, layout)
    process = prefix.start([EXE] + arguments)
    try:
        drive.origin = drive.wait_for(drive.find_window, "the installer's window")
        drive.wait_log(r"memsize:")
        steps(drive)
        code = process.wait(timeout=30)
    except (RuntimeError, subprocess.TimeoutExpired, subprocess.CalledProcessError) as failure:
        drive.shot("failure")
        check(False, "the installer run: %s" % failure)
        process.kill()
        code = None
    return code, drive


def case_auto(template):
    prefix = Prefix("auto", template)
    before = event_count()

    def steps(drive):
        drive.wait_log(r"Ensure File Security|OSVersion low")
        time.sleep(1.5)
        drive.shot("complete")
        drive.click("id_close")  # the complete panel closes without a question

    code, _ = run_installer(prefix, ["-auto"], steps)
    check(code == 1, "the installer ends with 1 after the close (%s)" % code)
    check_events(wait_for_events(before, 4), "upgrade")
    prefix.flush()
    check_installation(prefix, DEFAULT_FOLDER)


def case_click(template):
    prefix = Prefix("click", template)
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
    check_events(wait_for_events(before, 4), "normal")
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
    check_events(wait_for_events(before, 4), "normal")
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


def language_table():
    entries = re.findall(r'\{"(lan_[a-z]+)", [0-9]+, [-a-zA-Z0-9]+, L"[A-Z]+", L"([A-Za-z]+)"',
                         open(os.path.join(SOURCE, "app", "language.cc"), encoding="utf-8").read())
    return entries


def differing_pixels(a, b):
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "10%", a, b, "null:"], stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True)
    match = re.match(r"\s*([0-9.e+]+)", result.stdout)
    return float(match.group(1)) if match else float("inf")


def case_quit(template):
    prefix = Prefix("quit", template)
    before = event_count()

    def steps(drive):
        time.sleep(1.0)
        drive.click("id_close")  # the quit question of the choose stage
        popup_layout = os.path.join(LAYOUTS, "ENGUICANNOTDOWN.xml")
        popup_rects = installer_drive.element_rects(popup_layout)
        width, height = installer_drive.layout_size(popup_layout)
        origin = drive.wait_for(lambda: drive.find_window(width, height), "the quit question")
        subprocess.run(["xdotool", "key", "Return"])  # Enter and Escape do nothing in the question
        subprocess.run(["xdotool", "key", "Escape"])
        time.sleep(0.5)
        check(drive.find_window(width, height) == origin, "Enter and Escape leave the question open")
        drive.shot("quit-question")
        drive.click("id_btn_ok", popup_rects, origin)

    code, _ = run_installer(prefix, [], steps)
    check(code == 1, "quitting ends the installer with 1 (%s)" % code)
    records = wait_for_events(before, 2)
    actions = [(r["properties"].get("action"), r["properties"].get("exit_reason")) for r in records]
    check(actions == [("Downloader_Download_Launch", None), ("Downloader_Exit", "Quit")],
          "the launch, then Downloader_Exit with Quit: %s" % actions)
    prefix.flush()
    check(not prefix.summary()["install_folder"], "nothing was installed")


def case_languages(template):
    prefix = Prefix("languages", template)
    renders = {}
    for code, layout in language_table():
        out = os.path.join(prefix.root, "render-%s.png" % code)
        result = prefix.run([RENDER, layout, "main", windows_path(out), "--over", "0,0,0"])
        check(result.returncode == 0, "renderlayout renders %s" % layout)
        renders[code] = out
    for code, layout in language_table():
        drive = driver(prefix, layout)
        process = prefix.start([EXE, "-lan:" + code])
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
        same = differing_pixels(path, renders[code])
        check(same < 200, "%s: the window shows its own layout (%d pixels differ)" % (code, same))
        if code != "lan_en":
            other = differing_pixels(path, renders["lan_en"])
            check(other > 1000, "%s: the window is not the English one (%d pixels differ)" % (code, other))


def main():
    os.makedirs(WORK, exist_ok=True)
    template_root = os.path.join(WORK, "template")
    subprocess.run(["bash", os.path.join(SOURCE, "scripts", "wine-prefix.sh"), template_root, LOADER], check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=os.path.join(template_root, "prefix")),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    services = os.path.join(WORK, "services")
    subprocess.run(["bash", os.path.join(SOURCE, "scripts", "demo-services.sh"), "start", PACKAGE, "--no-cap",
                    "--state", services], check=True, stdout=subprocess.DEVNULL)
    xvfb = None
    try:
        if not os.environ.get("PINDLE_E2E_USE_DISPLAY"):
            read, write = os.pipe()
            xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten",
                                     "tcp"], pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write)
            os.environ["DISPLAY"] = ":" + os.read(read, 32).decode().strip()
            os.close(read)
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
        for name in os.listdir(WORK):
            prefix = os.path.join(WORK, name, "prefix")
            if os.path.isdir(prefix):
                subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=prefix),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if xvfb:
            xvfb.kill()
    print("%d failed" % len(failures) if failures else "all passed", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
