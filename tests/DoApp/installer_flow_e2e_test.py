#!/usr/bin/env python3
"""The installer's flow end to end: PindleDownloader.exe under Wine against the project's fault
server (download information and package, tools/fault_server.py) and its collector
(tools/collector.py) on the collector's deployment port, driven on a private virtual display with real
pointer clicks and key strokes:

  auto      "-auto": the download panel with no click, the package byte for byte (the installer's
            own MD5 of the file it wrote against the served file's), installed; Launch, Start,
            Finish, Install_Finish with "type" "upgrade".
  click     the agreement box gates install and custom (pixels and no action), the custom panel
            at 652 x 516, a typed invalid path shows the error label and its install button does
            nothing, a valid one clears it; install: the download panel at 652 x 412; the close
            button during the download quits: "Downloader_Download_Fail" "Quit", no transfer
            after it, the package folder gone after the exit.
  early     install clicked while the information answer is held back: "Download URL Empty"
            every 200 ms until it comes, then the download and the installation.
  stay      "-url:" with "-size:": no information request; the last part finishes while the quit
            question is open, "stay": the install stage starts after it closes.
  previous  an installation in the registry (64-bit view) and its folder: the install caption is
            another than the render's, the custom panel cannot be reached, the folder is reused.
  errors    an unusable answer ("Server_Error" with "ServiceError", and with "pstrDownloaderUp")
            and a transfer that fails for good ("Net_ERROR"): one popup, one event, the window
            closes, exit code 1.
  opening   a click during the opening animation (in the errors case's prefix): the
            "Resolution" popup, "Downloader_Exit" "32True Color", exit code 1.
  faults    connections cut in the middle of every part, then a server that ignores ranges: the
            package byte for byte, installed.

    installer_flow_e2e_test.py SOURCE_ROOT BUILD_TREE PACKAGE.7z WORK_FOLDER WINE_LOADER [CASE ...]
"""
import datetime
import hashlib
import json
import os
import re
import subprocess
import sys
import time
import urllib.request

sys.dont_write_bytecode = True  # no caches in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_support as e2e  # noqa: E402
from e2e_support import check, check_events, check_installation, event_count, run_installer  # noqa: E402
from e2e_support import actions_of, wait_for_events  # noqa: E402

SOURCE, TREE, PACKAGE, WORK, LOADER = sys.argv[1:6]
ALL_CASES = ["auto", "click", "early", "stay", "previous", "errors", "opening", "faults"]
CASES = sys.argv[6:] or ALL_CASES
e2e.configure(SOURCE, TREE, WORK, LOADER)

# The collector's address is the deployment's (cmake/PindleDeployment.cmake), built into the
# program; the information host is moved to the fault server's own free port through
# PINDLE_DOWNLOAD_INFO_HOST, so no other program's query reaches it.
COLLECTOR_PORT = 18081
SERVER = None  # http://127.0.0.1:PORT of the fault server, once it runs
PACKAGE_MD5 = hashlib.md5(open(PACKAGE, "rb").read()).hexdigest()
PACKAGE_SIZE = os.path.getsize(PACKAGE)
POPUP_LAYOUT = os.path.join(e2e.LAYOUTS, "ENGUICANNOTDOWN.xml")
MAIN_LAYOUT = os.path.join(e2e.LAYOUTS, "ENGUIMAINWINDOW.xml")
CUSTOM_HEIGHT = 516
INSTALLING = r"package md5 (matches|mismatch)"
COMPLETE = r"Ensure File Security|OSVersion low"
MULTI_START = r"Start Multi thread Download"


# ---- the fault server ---------------------------------------------------------------------------

def server_call(path, body=None):
    request = urllib.request.Request(SERVER + path, data=body, method="POST" if body is not None else "GET")
    with urllib.request.urlopen(request, timeout=10) as answer:
        return answer.read()


def script(**members):
    """Replaces the fault server's script (the package is the demo package unless told otherwise)."""
    members.setdefault("file", PACKAGE)
    server_call("/_script", json.dumps(members).encode())


def server_log():
    return json.loads(server_call("/_log"))


def release():
    server_call("/_release", b"")


def package_requests():
    return [entry for entry in server_log() if entry.get("path", "").startswith("/pkg/")]


def wait_until(condition, what, timeout=30):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if condition():
            return True
        time.sleep(0.1)
    raise RuntimeError("timed out waiting for " + what)


def stall_every_part():
    """Each part goes silent after 64 KiB until released (then its connection closes and the part
    resumes); the range probe, the first ranged request, is spared."""
    script(stall_parts={"count": 1, "after": 65536, "seconds": 60, "spare_first": 1})


def wait_for_stalled_parts(count=4):
    wait_until(lambda: sum(1 for e in package_requests() if e.get("stalled")) >= count, "%d silent parts" % count)


# ---- the window -------------------------------------------------------------------------------

def window_heights(width=652):
    """The heights of the visible windows `width` pixels wide."""
    heights = []
    for window in e2e.installer_drive.run("xdotool", "search", "--onlyvisible", "--name", "", check=False).split():
        geometry = e2e.installer_drive.run("xdotool", "getwindowgeometry", "--shell", window, check=False)
        values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
        if values.get("WIDTH") == str(width):
            heights.append(int(values.get("HEIGHT", "0")))
    return heights


def wait_for_popup(drive):
    width, height = e2e.installer_drive.layout_size(POPUP_LAYOUT)
    return drive.wait_for(lambda: drive.find_window(width, height), "the popup", timeout=30)


def click_popup(drive, origin, button):
    drive.click(button, e2e.installer_drive.element_rects(POPUP_LAYOUT), origin)


def region(element_id, layout=MAIN_LAYOUT):
    return e2e.installer_drive.element_rects(layout)[element_id]


def finish_and_close(drive):
    """The installation runs to the complete panel, whose close button ends the installer."""
    drive.wait_log(COMPLETE)
    time.sleep(1.5)
    drive.click("id_close")


def log_times(text, pattern):
    """The time of every log line matching `pattern`, as datetimes."""
    times = []
    for line in text.splitlines():
        if re.search(pattern, line):
            match = re.match(r"(\d+)\.(\d+)\.(\d+) (\d+):(\d+):(\d+):(\d+)", line)
            if match:
                y, mo, d, h, mi, s, ms = (int(v) for v in match.groups())
                times.append(datetime.datetime(y, mo, d, h, mi, s, ms * 1000))
    return times


def check_package_exact(drive):
    check(("package md5 matches:" + PACKAGE_MD5) in drive.log_text(),
          "the installer's MD5 of the file it wrote is the served package's (%s)" % PACKAGE_MD5)


# ---- cases ------------------------------------------------------------------------------------

def case_auto(template):
    script()
    prefix = e2e.Prefix("flow-auto", template)
    before = event_count()

    def steps(drive):
        drive.wait_log(MULTI_START)
        check(drive.find_window() is not None and window_heights() == [412],
              "the download panel at 652 x 412 (%s)" % window_heights())
        check("upgrade install immediately" in drive.log_text(), "-auto goes to the download with no click")
        finish_and_close(drive)
        check_package_exact(drive)

    code, _ = run_installer(prefix, ["-auto"], steps)
    check(code == 1, "the installer ends with 1 after the close (%s)" % code)
    check_events(wait_for_events(before, 4, prefix), "upgrade")
    parts = [e for e in package_requests() if e.get("status") == 206]
    check(len(parts) == 5, "the range probe and four parts: %s" % [e.get("range_header") for e in parts])
    prefix.flush()
    check_installation(prefix, e2e.DEFAULT_FOLDER)


def case_click(template):
    stall_every_part()
    prefix = e2e.Prefix("flow-click", template)
    main = e2e.render(prefix, "ENGUIMAINWINDOW", "main", "main")
    custom = e2e.render(prefix, "ENGUIMAINWINDOW", "custom", "custom")
    before = event_count()
    measured = {}

    def steps(drive):
        time.sleep(1.0)  # the previous-installation step enables the install button
        install = region("id_install")
        check(e2e.differing_pixels(e2e.capture(drive, "checked"), main, install) < 100,
              "agreement checked: the install button as rendered")
        drive.click("id_checkbox")
        time.sleep(0.5)
        check(e2e.differing_pixels(e2e.capture(drive, "cleared"), main, install) > 100,
              "agreement cleared: the install button no longer looks enabled")
        drive.click("id_install")
        drive.click("id_userinstall")
        time.sleep(1.0)
        check("installpath:" not in drive.log_text(), "no install while the agreement is cleared")
        check(window_heights() == [412], "no custom panel while the agreement is cleared (%s)" % window_heights())
        drive.click("id_checkbox")
        time.sleep(0.5)
        check(e2e.differing_pixels(e2e.capture(drive, "checked-again"), main, install) < 100,
              "agreement checked again: the install button as rendered")
        drive.click("id_userinstall")
        time.sleep(0.8)
        check(window_heights() == [CUSTOM_HEIGHT], "the custom panel is 652 x 516 (%s)" % window_heights())
        error = region("id_static_patherror")
        drive.type_folder("C:\\Flow%Test")
        shown = e2e.capture(drive, "invalid-path", height=CUSTOM_HEIGHT)
        check(e2e.differing_pixels(shown, custom, error) > 50, "an invalid path shows the error label")
        drive.click("id_install_custom")
        time.sleep(1.0)
        check("installpath:" not in drive.log_text(), "the install button of an invalid path does nothing")
        drive.type_folder("C:\\Flow Test")
        shown = e2e.capture(drive, "valid-path", height=CUSTOM_HEIGHT)
        check(e2e.differing_pixels(shown, custom, error) < 50, "a valid path clears the error label")
        drive.click("id_install_custom")
        drive.wait_log(MULTI_START)
        time.sleep(0.5)
        check(window_heights() == [412], "the download panel is 652 x 412 (%s)" % window_heights())
        wait_for_stalled_parts()
        drive.click("id_close")
        click_popup(drive, wait_for_popup(drive), "id_btn_ok")
        quit_at = time.time()
        gone = drive.wait_for(lambda: drive.find_window() is None, "the window to close", timeout=10)
        check(gone, "the window closes (%.1f s after the quit)" % (time.time() - quit_at))
        measured["requests"] = len(package_requests())
        # A transfer ends at its next read: a silent peer holds it until the connection's
        # time-out, so the peers speak again here.
        release()

    code, drive = run_installer(prefix, [], steps)
    check(code == 1, "quitting the download ends the installer with 1 (%s)" % code)
    if "requests" in measured:
        check(len(package_requests()) == measured["requests"], "no transfer starts after the quit")
    records = wait_for_events(before, 3, prefix)
    check(actions_of(records, "fail_type") == [("Downloader_Download_Launch", None),
                                               ("Downloader_Download_Start", None),
                                               ("Downloader_Download_Fail", "Quit")],
          "the launch, the start, then Downloader_Download_Fail with Quit: %s" % actions_of(records, "fail_type"))
    check(os.path.isdir(prefix.unix("C:\\Flow Test\\Pindle")),
          "the typed folder with the product folder appended is the install folder")
    check(not e2e.package_leftovers(prefix), "the package folder is gone after the exit: %s" % e2e.package_leftovers(prefix))
    prefix.flush()
    check(not prefix.summary()["install_folder"], "nothing was installed")


def case_early(template):
    script(stall={"on": "info", "nth": 0, "at": "headers", "seconds": 60})
    prefix = e2e.Prefix("flow-early", template)
    before = event_count()

    def steps(drive):
        wait_until(lambda: any(e.get("info") and e.get("stalled") for e in server_log()),
                   "the information query")
        time.sleep(1.0)
        drive.click("id_install")
        drive.wait_log("Download URL Empty")
        time.sleep(2.0)
        waits = log_times(drive.log_text(), "Download URL Empty")
        gaps = [(b - a).total_seconds() for a, b in zip(waits, waits[1:])]
        check(len(waits) >= 5 and min(gaps) >= 0.18,
              "\"Download URL Empty\" every 200 ms while the answer is held back: %d lines, gaps %s" %
              (len(waits), ["%.3f" % g for g in gaps]))
        check(not re.search(MULTI_START, drive.log_text()), "no download before the answer")
        release()
        drive.wait_log(MULTI_START)
        count = len(log_times(drive.log_text(), "Download URL Empty"))
        time.sleep(0.6)
        check(len(log_times(drive.log_text(), "Download URL Empty")) == count, "the wait ends with the answer")
        finish_and_close(drive)
        check_package_exact(drive)

    code, _ = run_installer(prefix, [], steps)
    check(code == 1, "the installer ends with 1 after the close (%s)" % code)
    check_events(wait_for_events(before, 4, prefix), "normal")
    prefix.flush()
    check_installation(prefix, e2e.DEFAULT_FOLDER)


def case_stay(template):
    stall_every_part()
    prefix = e2e.Prefix("flow-stay", template)
    before = event_count()
    arguments = ["-auto", "-url:" + SERVER + "/pkg/package.7z", "-size:%d" % PACKAGE_SIZE, "-md5:" + PACKAGE_MD5]

    def steps(drive):
        drive.wait_log(MULTI_START)
        wait_for_stalled_parts()
        drive.click("id_close")
        origin = wait_for_popup(drive)
        release()  # the parts resume and the download ends under the question
        drive.wait_log(r"File download successfully")
        time.sleep(1.0)
        check(not re.search(INSTALLING, drive.log_text()), "no install stage while the question is open")
        check(drive.find_window(*e2e.installer_drive.layout_size(POPUP_LAYOUT)) == origin, "the question stays open")
        click_popup(drive, origin, "id_btn_cancal")
        drive.wait_log(INSTALLING, timeout=20)
        finish_and_close(drive)
        check_package_exact(drive)

    code, _ = run_installer(prefix, arguments, steps)
    check(code == 1, "the installer ends with 1 after the close (%s)" % code)
    check(not any(e.get("info") for e in server_log()), "-url: with -size: asks for no download information")
    check_events(wait_for_events(before, 4, prefix), "upgrade")
    prefix.flush()
    check_installation(prefix, e2e.DEFAULT_FOLDER)


def case_previous(template):
    script()
    prefix = e2e.Prefix("flow-previous", template)
    folder = "C:\\Old Pindle\\Pindle"
    os.makedirs(prefix.unix(folder), exist_ok=True)
    result = prefix.run(["reg", "add", "HKLM\\SOFTWARE\\Wow6432Node\\Pindle\\SetupInfo", "/v", "InstallPath", "/t",
                         "REG_SZ", "/d", folder, "/f", "/reg:64"])
    check(result.returncode == 0, "the earlier installation is in the registry: %s" % result.stdout.strip())
    main = e2e.render(prefix, "ENGUIMAINWINDOW", "main", "main")
    before = event_count()

    def steps(drive):
        time.sleep(1.0)
        shown = e2e.capture(drive, "over-installation")
        check(e2e.differing_pixels(shown, main, region("id_install")) > 100,
              "the install button carries another caption than the render's")
        check(e2e.differing_pixels(shown, main, region("id_checkbox")) < 50, "the agreement line is as rendered")
        drive.click("id_userinstall")
        time.sleep(0.8)
        check(window_heights() == [412], "the custom panel cannot be reached (%s)" % window_heights())
        drive.click("id_install")
        finish_and_close(drive)

    code, drive = run_installer(prefix, [], steps)
    check(code == 1, "the installer ends with 1 after the close (%s)" % code)
    check("RemoveOldShortcuts(1)" in drive.log_text(), "the install over the installation removes the old shortcuts")
    check_events(wait_for_events(before, 4, prefix), "normal")
    prefix.flush()
    check_installation(prefix, folder)


def animation_frame():
    """The screen rectangle of the opening animation's first frames, which stand 20 pixels out
    on every side of the window, or None."""
    run = e2e.installer_drive.run
    for window in run("xdotool", "search", "--onlyvisible", "--name", "", check=False).split():
        geometry = run("xdotool", "getwindowgeometry", "--shell", window, check=False)
        values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
        if values.get("WIDTH") == "692" and values.get("HEIGHT") == "452":
            return int(values["X"]) + 20, int(values["Y"]) + 20
    return None


def case_opening(prefix):
    before = event_count()
    drive = e2e.driver(prefix)
    # The custom-install link: a click at this spot lands on it whether the frame's elements stand
    # where the window's will (20 pixels in) or where the frame's corner puts them.
    link_x, link_y, _, link_height = region("id_userinstall")
    process = prefix.start([e2e.EXE])
    try:
        rest = drive.wait_for(animation_frame, "the opening animation", timeout=60)
        x, y = rest[0] + link_x + 34, rest[1] + link_y + 2
        # A burst of clicks, the first while the frames are still drawn; the popup is modal, so
        # those after it reach nothing.
        e2e.installer_drive.run("xdotool", "mousemove", str(x), str(y), "click", "--repeat", "12", "--delay", "25",
                                "1")
        drive.origin = drive.wait_for(drive.find_window, "the installer's window")
        popup = wait_for_popup(drive)
        drive.shot("resolution")
        click_popup(drive, popup, "id_btn_quit")
        code = process.wait(timeout=30)
    except (RuntimeError, subprocess.TimeoutExpired) as failure:
        drive.shot("failure")
        check(False, "the opening click: %s" % failure)
        process.kill()
        code = None
    check(code == 1, "the refused click ends the installer with 1 (%s)" % code)
    records = wait_for_events(before, 2, prefix)
    exits = [a for a in actions_of(records, "exit_reason") if a[0] == "Downloader_Exit"]
    check(exits == [("Downloader_Exit", "32True Color")], "Downloader_Exit with 32True Color: %s" %
          actions_of(records, "exit_reason"))


def expect_fatal(prefix, arguments, fail_type, same_as_render, popup_render):
    """One run that ends on a download failure: one popup, one event, the close, exit code 1."""
    before = event_count()

    def steps(drive):
        origin = wait_for_popup(drive)
        time.sleep(0.5)
        width, height = e2e.installer_drive.layout_size(POPUP_LAYOUT)
        x, y = origin
        shown = os.path.join(drive.options.shots, "popup-%s.png" % fail_type)
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage",
                        shown], check=True)
        text = region("id_static_tip2", POPUP_LAYOUT)
        differing = e2e.differing_pixels(shown, popup_render, text)
        check((differing < 100) == same_as_render, "%s: the popup's text %s the rendered \"ServiceError\" (%d)" %
              (fail_type, "is" if same_as_render else "is not", differing))
        click_popup(drive, origin, "id_btn_quit")
        drive.wait_for(lambda: drive.find_window(width, height) is None, "the popup to close", timeout=10)
        # The window closes after the popup; nothing else is shown.
        drive.wait_for(lambda: drive.find_window() is None, "the window to close", timeout=10)
        check(drive.find_window(width, height) is None, "%s: no second popup" % fail_type)

    code, _ = run_installer(prefix, arguments, steps, wait_memsize=False)
    check(code == 1, "%s: the installer ends with 1 (%s)" % (fail_type, code))
    time.sleep(1.0)
    return [a for a in actions_of(wait_for_events(before, 2, prefix), "fail_type") if a[0] == "Downloader_Download_Fail"]


def case_errors(template):
    prefix = e2e.Prefix("flow-errors", template)
    popup_render = e2e.render(prefix, "ENGUICANNOTDOWN", "popup:1", "popup1")
    for answer, fail_type, prompt in (("malformed", "Server_Error", "ServiceError"),
                                      ("null_data", "Server_Error", "pstrDownloaderUp")):
        script(info={"answer": answer})
        fails = expect_fatal(prefix, [], fail_type + "-" + answer, prompt == "ServiceError", popup_render)
        check(fails == [("Downloader_Download_Fail", fail_type)], "%s answer: one %s event: %s" %
              (answer, fail_type, fails))
    # The server ignores ranges and cuts every whole-file answer after the range probe: the
    # single-thread tries, then the whole-file transfer, fail.
    script(ranges="200", drops=[{"on": "full", "nth": n, "after": 1000} for n in range(2, 40)])
    fails = expect_fatal(prefix, ["-auto"], "Net_ERROR", True, popup_render)
    check(fails == [("Downloader_Download_Fail", "Net_ERROR")], "a transfer that fails for good: one Net_ERROR: %s" %
          fails)
    prefix.flush()
    check(not prefix.summary()["install_folder"], "nothing was installed")
    return prefix


def case_faults(template):
    script(drop_parts={"count": 2, "seed": 7, "spare_first": 1})
    prefix = e2e.Prefix("flow-cuts", template)

    def steps(drive):
        finish_and_close(drive)
        check_package_exact(drive)

    code, drive = run_installer(prefix, ["-auto"], steps)
    check(code == 1, "cut parts: the installer ends with 1 (%s)" % code)
    dropped = [e for e in package_requests() if e.get("dropped")]
    check(len(dropped) == 8, "two cuts in the middle of every part: %d" % len(dropped))
    prefix.flush()
    check_installation(prefix, e2e.DEFAULT_FOLDER)

    script(ranges="200")
    prefix = e2e.Prefix("flow-no-ranges", template)
    code, drive = run_installer(prefix, ["-auto"], steps)
    check(code == 1, "no ranges: the installer ends with 1 (%s)" % code)
    check("single thread download" in drive.log_text(), "a server that ignores ranges: one whole-file transfer")
    prefix.flush()
    check_installation(prefix, e2e.DEFAULT_FOLDER)


# ---- services and the run -------------------------------------------------------------------

def start_services():
    global SERVER
    services = os.path.join(WORK, "services")
    os.makedirs(services, exist_ok=True)
    tools = os.path.join(SOURCE, "tools")
    port_file = os.path.join(services, "fault-port")
    if os.path.exists(port_file):
        os.remove(port_file)
    fault = subprocess.Popen([sys.executable, os.path.join(tools, "fault_server.py"), "--port-file", port_file],
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(e2e.collector_log(), "w") as log:
        collector = subprocess.Popen([sys.executable, "-u", os.path.join(tools, "collector.py"), "--port",
                                      str(COLLECTOR_PORT), "--print-events"], stdin=subprocess.DEVNULL, stdout=log,
                                     stderr=subprocess.DEVNULL)
    wait_until(lambda: os.path.exists(port_file), "the fault server's port", timeout=15)
    fault_port = int(open(port_file).read())
    SERVER = "http://127.0.0.1:%d" % fault_port
    os.environ["PINDLE_DOWNLOAD_INFO_HOST"] = SERVER  # every prefix made from here on passes it on
    for port in (fault_port, COLLECTOR_PORT):
        wait_until(lambda: healthy(port), "the service on port %d" % port, timeout=15)
    return [fault, collector]


def healthy(port):
    try:
        with urllib.request.urlopen("http://127.0.0.1:%d/_health" % port, timeout=1) as answer:
            return answer.read() == b"ok"
    except OSError:
        return False


def main():
    template = e2e.make_template()
    services = start_services()
    try:
        with e2e.Display():
            clean = None
            for case in CASES:
                print("== " + case, flush=True)
                started, failed_before = time.time(), len(e2e.failures)
                if case == "opening":
                    case_opening(clean or e2e.Prefix("flow-opening", template))
                elif case == "errors":
                    clean = case_errors(template)
                else:
                    globals()["case_" + case](template)
                print("   %.1f s" % (time.time() - started), flush=True)
                if len(e2e.failures) == failed_before and case != "errors":
                    e2e.stop_prefixes(remove=True)  # the opening case reuses the errors case's
    finally:
        for service in services:
            service.terminate()
            service.wait()
        e2e.stop_prefixes(remove=not e2e.failures)
    return e2e.report()


if __name__ == "__main__":
    sys.exit(main())
