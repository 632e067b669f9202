"""What the end-to-end tests of PindleDownloader.exe share: the checks and their tally, a Wine
prefix per case copied from one clean template, the installer started and driven on a private
virtual display, the collector's events, and the installation read back from the prefix.

    import e2e_support as e2e
    e2e.configure(SOURCE_ROOT, BUILD_TREE, WORK_FOLDER, WINE_LOADER)
    template = e2e.make_template()
    with e2e.Display():
        prefix = e2e.Prefix("auto", template)
        code, drive = e2e.run_installer(prefix, ["-auto"], steps)
    e2e.stop_prefixes()
    sys.exit(e2e.report())

Events are read from WORK/services/collector.log: one JSON line per decoded record, as the
collector writes them with --print-events.
"""
import json
import os
import re
import shutil
import subprocess
import sys
import time
import types
import uuid

SOURCE = TREE = WORK = LOADER = EXE = RENDER = LAYOUTS = None
DEFAULT_FOLDER = "C:\\Program Files (x86)\\Pindle"
PLAYER_VERSION = "1.0.1.0000"
failures = []
install_summary = installer_drive = None


def configure(source, tree, work, loader):
    """Sets the folders every helper works with; call once, before anything else."""
    global SOURCE, TREE, WORK, LOADER, EXE, RENDER, LAYOUTS, install_summary, installer_drive
    sys.dont_write_bytecode = True  # no caches in the source tree
    SOURCE, TREE, WORK, LOADER = source, tree, work, loader
    EXE = os.path.join(TREE, "PindleDownloader.exe")
    RENDER = os.path.join(TREE, "tools", "renderlayout", "renderlayout.exe")
    LAYOUTS = os.path.join(SOURCE, "resources", "layouts")
    sys.path.insert(0, os.path.join(SOURCE, "tools"))
    import install_summary as summary_module
    import installer_drive as drive_module
    install_summary, installer_drive = summary_module, drive_module
    os.makedirs(WORK, exist_ok=True)
    # A failed case keeps its prefix for a look; earlier runs' prefixes go.
    stop_prefixes(remove=True)


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)
    return condition


def report():
    """Prints the closing line; the exit code of the test."""
    print("%d failed" % len(failures) if failures else "all passed", flush=True)
    return 1 if failures else 0


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def quiet(command, env=None):
    subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


# Wine's own programs and libraries in a prefix, over a gigabyte, which no case writes to: a
# case's copy links them to the template's instead of copying them.
SHARED_PREFIX_FOLDERS = ("system32", "syswow64", "winsxs")


def copy_prefix(template, root):
    windows = os.path.join(template, "prefix", "drive_c", "windows")
    shared = tuple(os.path.join(windows, folder) + os.sep for folder in SHARED_PREFIX_FOLDERS)

    def link_or_copy(source, target):
        if source.startswith(shared):
            os.link(source, target)
        else:
            shutil.copy2(source, target)

    shutil.copytree(template, root, symlinks=True, copy_function=link_or_copy)


class Prefix:
    """A Wine prefix copied from the clean template, with its own wineserver."""

    def __init__(self, name, template):
        self.root = os.path.join(WORK, name)
        shutil.rmtree(self.root, ignore_errors=True)
        copy_prefix(template, self.root)
        self.env = dict(os.environ, WINEPREFIX=os.path.join(self.root, "prefix"),
                        HOME=os.path.join(self.root, "home"), WINEARCH="win64",
                        WINEDLLOVERRIDES="winemenubuilder.exe=d", WINEDEBUG="-all", LANG="C.UTF-8",
                        LC_ALL="C.UTF-8")
        self.prefix = self.env["WINEPREFIX"]
        self.keep_server()
        # Every program on this machine reports to the one collector port: this prefix's events
        # are those with its own distinct id, set here before any run makes one.
        self.distinct_id = "e2e-%s-%s" % (name, uuid.uuid4())
        self.run(["reg", "add", "HKCU\\SOFTWARE\\Pindle\\PindleId", "/v", "PindleId", "/d", self.distinct_id,
                  "/f"])
        users = os.path.join(self.prefix, "drive_c", "users")
        user = [u for u in os.listdir(users) if u != "Public"][0]
        self.local = os.path.join(users, user, "AppData", "Local")
        self.log_dir = os.path.join(self.local, "Pindle", "PindleDownloader")
        self.package_folder = os.path.join(self.local, "PindlePackFileder")
        self.desktop = os.path.join(users, user, "Desktop")
        os.makedirs(self.log_dir, exist_ok=True)

    def keep_server(self):
        """A wineserver that stays between the programs of a case (starts cost far less)."""
        quiet(["wineserver", "-p"], self.env)

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

    def start(self, command, env=None):
        return subprocess.Popen([LOADER] + command, env=dict(self.env, **(env or {})), stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def flush(self):
        """Ends the prefix's programs; the registry is on disk afterwards."""
        quiet(["wineserver", "-k"], self.env)
        time.sleep(0.5)

    def summary(self):
        return install_summary.summary(self.prefix, "Pindle")

    def unix(self, windows):
        return install_summary.windows_to_unix(self.prefix, windows)


def make_template():
    """The clean prefix every case copies (made once per work folder)."""
    template = os.path.join(WORK, "template")
    subprocess.run(["bash", os.path.join(SOURCE, "scripts", "wine-prefix.sh"), template, LOADER], check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    quiet(["wineserver", "-k"], dict(os.environ, WINEPREFIX=os.path.join(template, "prefix")))
    # The prefix's drive C: is this disk, and the installer refuses a drive with less than
    # 2048 MB free ("Freedisksize"): say so first rather than through every case.
    free_mb = shutil.disk_usage(WORK).free >> 20
    check(free_mb >= 2048 + 256, "the disk of %s has room for the installer's 2048 MB check and the cases (%d MB free)"
          % (WORK, free_mb))
    return template


def stop_prefixes(remove=False):
    """Ends the wineserver of every case's prefix under the work folder; with `remove` the
    prefixes go too (each is a copy of the template, over a gigabyte), the template stays."""
    for name in os.listdir(WORK):
        prefix = os.path.join(WORK, name, "prefix")
        if name != "template" and os.path.isdir(prefix):
            quiet(["wineserver", "-k"], dict(os.environ, WINEPREFIX=prefix))
            if remove:
                shutil.rmtree(os.path.join(WORK, name), ignore_errors=True)


class Display:
    """A private Xvfb as DISPLAY for the block (PINDLE_E2E_USE_DISPLAY keeps the current one)."""

    def __enter__(self):
        self.xvfb = self.number_pipe = None
        if not os.environ.get("PINDLE_E2E_USE_DISPLAY"):
            # Xvfb writes its display number again whenever its last client leaves and it resets;
            # a closed pipe would end it then (SIGPIPE). It neither resets nor loses its reader.
            self.number_pipe, write = os.pipe()
            self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                          "-nolisten", "tcp", "-noreset"], pass_fds=(write,),
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write)
            os.environ["DISPLAY"] = ":" + os.read(self.number_pipe, 32).decode().strip()
        return self

    def __exit__(self, *unused):
        if self.xvfb:
            self.xvfb.kill()
            self.xvfb.wait()
            os.close(self.number_pipe)


def driver(prefix, layout="ENGUIMAINWINDOW", timeout=90):
    options = types.SimpleNamespace(layout=os.path.join(LAYOUTS, layout + ".xml"), log_dir=prefix.log_dir,
                                    shots=os.path.join(prefix.root, "screens"), timeout=timeout)
    return installer_drive.Installer(options)


def collector_log():
    return os.path.join(WORK, "services", "collector.log")


def events_since(count, prefix=None):
    """The events after the first `count` lines of the collector's log; with `prefix`, only its own."""
    records = []
    with open(collector_log(), encoding="utf-8") as log:
        for line in log.readlines()[count:]:
            try:
                record = json.loads(line)
            except ValueError:
                continue
            if prefix is None or record.get("distinct_id") == prefix.distinct_id:
                records.append(record)
    return records


def event_count():
    with open(collector_log(), encoding="utf-8") as log:
        return len(log.readlines())


def wait_for_events(before, count, prefix=None, timeout=20):
    deadline = time.time() + timeout
    while time.time() < deadline and len(events_since(before, prefix)) < count:
        time.sleep(0.2)
    return events_since(before, prefix)


def actions_of(records, *keys):
    """The "action" of each record, or (action, properties[key]...) tuples when keys are given."""
    if not keys:
        return [r["properties"].get("action") for r in records]
    return [tuple([r["properties"].get("action")] + [r["properties"].get(k) for k in keys]) for r in records]


def check_events(records, install_kind, expected=("Downloader_Download_Launch", "Downloader_Download_Start",
                                                  "Downloader_Download_Finish", "Downloader_Install_Finish")):
    actions = actions_of(records)
    check(actions == list(expected), "events in order: %s" % actions)
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
    leftovers = package_leftovers(prefix, with_folder=False)
    check(not leftovers, "no package file is left behind: %s" % leftovers)
    return s


def package_leftovers(prefix, with_folder=True):
    """Package files in the profiles, and the package folder itself `with_folder`."""
    users = os.path.join(prefix.prefix, "drive_c", "users")
    found = [os.path.join(r, n) for r, _, names in os.walk(users) for n in names if n.startswith("PindlePackage")]
    if with_folder and os.path.isdir(prefix.package_folder):
        found.append(prefix.package_folder)
    return found


def run_installer(prefix, arguments, steps, layout="ENGUIMAINWINDOW", env=None, wait_memsize=True):
    """Starts the installer, runs `steps(drive)` against it and returns (exit code, drive)."""
    drive = driver(prefix, layout)
    process = prefix.start([EXE] + arguments, env)
    try:
        drive.origin = drive.wait_for(drive.find_window, "the installer's window")
        if wait_memsize:
            drive.wait_log(r"memsize:")
        steps(drive)
        code = process.wait(timeout=30)
    except (RuntimeError, subprocess.TimeoutExpired, subprocess.CalledProcessError) as failure:
        drive.shot("failure")
        check(False, "the installer run: %s" % failure)
        process.kill()
        code = None
    return code, drive


def render(prefix, layout, state, name):
    """The layout in `state`, rendered headless over black as the display shows it: a PNG path."""
    out = os.path.join(prefix.root, "render-%s.png" % name)
    result = prefix.run([RENDER, layout, state, windows_path(out), "--over", "0,0,0"])
    check(result.returncode == 0, "renderlayout renders %s %s" % (layout, state))
    return out


def capture(drive, name, width=652, height=412):
    """The window's pixels on the display: a PNG path."""
    path = os.path.join(drive.options.shots, "live-%s.png" % name)
    x, y = drive.origin
    subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage", path],
                   check=True)
    return path


def differing_pixels(a, b, region=None):
    """How many pixels of two pictures differ by more than 10 %; `region` (x, y, w, h) limits the count."""
    if region:
        crop = "%dx%d+%d+%d" % (region[2], region[3], region[0], region[1])
        pieces = []
        for picture in (a, b):
            piece = picture[:-len(".png")] + "-%d-%d.png" % region[:2]
            subprocess.run(["convert", picture, "-crop", crop, "+repage", piece], check=True)
            pieces.append(piece)
        a, b = pieces
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "10%", a, b, "null:"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    match = re.match(r"\s*([0-9.e+]+)", result.stdout)
    return float(match.group(1)) if match else float("inf")


def language_table():
    return re.findall(r'\{"(lan_[a-z]+)", [0-9]+, [-a-zA-Z0-9]+, L"[A-Z]+", L"([A-Za-z]+)"',
                      open(os.path.join(SOURCE, "app", "language.cc"), encoding="utf-8").read())
