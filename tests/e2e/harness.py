"""Shared pieces of the end-to-end tests: a virtual display of their own, a
Wine prefix of their own, the Kerberos realm and the database peer, the real
program started under Wine, its windows read back, and real X input through
xdotool. Every process started here is stopped again on the way out.
"""
import glob
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
import krb_realm  # noqa: E402

WINESERVER = "/usr/lib/wine/wineserver"
APPLICATION_TITLE = "沐岚远帆印务管理系统数据库安装程序"
# Seconds a program's first window may take under Wine on a loaded machine
# (the wine server starts, the prefix and the fonts are loaded).
COLD_START = 240
MAIN_TITLE = "安装数据库文件"
BUTTON_CAPTION = "安装数据文件到SQL Server"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(what, probe, timeout=30, interval=0.2):
    """Polls probe() until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out after %ss waiting for %s" % (timeout, what))
        time.sleep(interval)


def stop_process(process, grace=5):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


class Session:
    """One test's world. Use as a context manager."""

    def __init__(self, program, inspector, name):
        self.program = os.path.abspath(program)
        self.inspector = os.path.abspath(inspector)
        self.folder = tempfile.mkdtemp(prefix="kestu-e2e-%s-" % name)
        self.prefix = os.environ.get("KESTU_E2E_WINEPREFIX",
                                     os.path.join(os.path.dirname(self.program), "e2e-wineprefix"))
        self.display = None
        self.xvfb = None
        self.realm = None
        self.peer = None
        self.peer_port = None
        self.peer_log = os.path.join(self.folder, "peer.log")
        self.running = []
        self.starting = False  # a program was started and has shown no window yet

    # --- set-up and tear-down ----------------------------------------

    def __enter__(self):
        try:
            self._start_display()
            self._prepare_prefix()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, kind, value, trace):
        for process in self.running:
            stop_process(process)
        if self.display is not None:
            subprocess.run([WINESERVER, "-k"], env=self.wine_environment(), timeout=30,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        stop_process(self.peer)
        if self.realm is not None:
            self.realm.stop()
        stop_process(self.xvfb)
        if kind is None and not os.environ.get("KESTU_E2E_KEEP"):
            shutil.rmtree(self.folder, ignore_errors=True)
        else:
            print("kept the test folder %s" % self.folder)

    def _start_display(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n"):
            check(time.monotonic() < deadline, "the virtual display did not start")
            chunk = os.read(read, 16)
            check(chunk, "the virtual display did not start")
            number += chunk
        os.close(read)
        self.display = ":" + number.decode().strip()

    def wine_environment(self, extra=None):
        environment = dict(os.environ)
        environment.update(DISPLAY=self.display, KESTU_WINEPREFIX=self.prefix, WINEPREFIX=self.prefix)
        environment.pop("TDSDUMP", None)
        if self.realm is not None:
            environment.update(self.realm.environment)
        environment.update(extra or {})
        return environment

    def _prepare_prefix(self):
        subprocess.run([os.path.join(ROOT, "tools", "wine-run"), "--prepare"],
                       env=self.wine_environment(), check=True, timeout=300,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start_realm_and_peer(self, *peer_arguments):
        self.peer_port = krb_realm.free_port()
        # Kept before it starts, so that a half-started realm is stopped too.
        self.realm = krb_realm.Realm(os.path.join(self.folder, "realm"), self.peer_port)
        self.realm.start()
        ready = os.path.join(self.folder, "peer.ready")
        self.peer = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(HERE, "tds_peer.py"), "--port", str(self.peer_port),
             "--log", self.peer_log, "--ready", ready, *peer_arguments],
            env={**os.environ, **self.realm.environment})
        wait_until("the database peer", lambda: os.path.exists(ready), 60)

    # --- the program -------------------------------------------------

    def install_program(self, folder_name):
        """Copies the program (and stand-in database files) into a folder of
        the given name; returns the folder as the program sees it."""
        folder = os.path.join(self.folder, folder_name)
        os.makedirs(folder)
        name = os.path.basename(self.program)
        shutil.copy(self.program, os.path.join(folder, name))
        # The skin folders and theme files the build puts beside the program
        # ship with it.
        beside = os.path.dirname(self.program)
        shutil.copytree(os.path.join(beside, "Skins"), os.path.join(folder, "Skins"))
        for theme in glob.glob(os.path.join(beside, "*.theme")):
            shutil.copy(theme, folder)
        for database_file in ("Kestu_Data.MDF", "Kestu_Log.LDF"):
            open(os.path.join(folder, database_file), "wb").close()
        self.program_copy = os.path.join(folder, name)
        return "Z:" + folder.replace("/", "\\") + "\\"

    def start_program(self, server_port, show=None):
        """Starts the program; the driver reaches the server at server_port
        (TDSPORT is FreeTDS's own setting; the program reads no configuration).
        show "max" starts it through Wine's start command with
        SW_SHOWMAXIMIZED in its start information, "min" through the
        inspector with SW_SHOWMINNOACTIVE, as a shortcut set to run minimised
        does."""
        command = [os.path.join(ROOT, "tools", "wine-run")]
        program = [self.program_copy]
        if show == "max":
            command += ["start", "/max", "/unix"]
        elif show == "min":
            command += [self.inspector, "--start", "7"]
            program = ["Z:" + self.program_copy.replace("/", "\\")]
        log = open(os.path.join(self.folder, "program.log"), "w")
        process = subprocess.Popen(command + program,
                                   env=self.wine_environment({"TDSPORT": str(server_port)}),
                                   stdout=log, stderr=subprocess.STDOUT)
        self.running.append(process)
        self.starting = True
        return process

    # --- looking -----------------------------------------------------

    def windows(self, off_screen=False):
        # Output to a file, not a pipe: Wine's helper processes inherit the
        # descriptors and would hold a pipe open.
        listing = os.path.join(self.folder, "windows.json")
        with open(listing, "wb") as out:
            subprocess.run([os.path.join(ROOT, "tools", "wine-run"), self.inspector],
                           env=self.wine_environment(), stdout=out, stderr=subprocess.DEVNULL,
                           timeout=120)
        with open(listing, encoding="utf-8") as result:
            listed = [json.loads(line) for line in result if line.startswith("{")]
        # The application window is shown without a size, as the taskbar
        # button only: it is not on screen.
        if off_screen:
            return listed
        return [w for w in listed if w["rect"][2] > w["rect"][0] and w["rect"][3] > w["rect"][1]]

    def clipboard_text(self):
        listing = os.path.join(self.folder, "clipboard.json")
        with open(listing, "wb") as out:
            subprocess.run([os.path.join(ROOT, "tools", "wine-run"), self.inspector, "--clipboard"],
                           env=self.wine_environment(), stdout=out, stderr=subprocess.DEVNULL,
                           timeout=60)
        with open(listing, encoding="utf-8") as result:
            lines = [line for line in result if line.startswith('"')]
        return json.loads(lines[0]) if lines else None

    def window(self, title):
        for window in self.windows():
            if window["title"] == title:
                return window
        return None

    def wait_window(self, title, timeout=60):
        if self.starting:
            timeout = max(timeout, COLD_START)
        window = wait_until("the window %r" % title, lambda: self.window(title), timeout)
        self.starting = False
        return window

    def wait_gone(self, title, timeout=60):
        wait_until("the window %r to close" % title, lambda: self.window(title) is None, timeout)

    def screenshot(self, name):
        path = os.path.join(self.folder, name + ".png")
        subprocess.run(["import", "-window", "root", path], env=self.wine_environment(),
                       check=True, timeout=30)
        return path

    def red_pixels(self, rect):
        """Counts strongly red pixels inside a screen rectangle (the stop icon
        is a red disc)."""
        return self.pixels_like(rect, lambda red, green, blue: red > 180 and green < 90 and blue < 90)

    def blue_pixels(self, rect):
        """Counts pixels of a clearly blue hue (smoothed blue text counts)."""
        return self.pixels_like(rect, lambda red, green, blue: blue - max(red, green) > 80)

    def pixels_like(self, rect, wanted):
        path = self.screenshot("pixels")
        left, top, right, bottom = rect
        crop = "%dx%d+%d+%d" % (right - left, bottom - top, left, top)
        text = subprocess.run(["convert", path, "-crop", crop, "+repage", "txt:-"],
                              capture_output=True, text=True, check=True, timeout=30).stdout
        count = 0
        for line in text.splitlines()[1:]:
            try:
                rgb = line.split("(", 1)[1].split(")", 1)[0].split(",")
                red, green, blue = (float(v) for v in rgb[:3])
            except (IndexError, ValueError):
                continue
            if wanted(red, green, blue):
                count += 1
        return count

    # --- acting, with real X input -------------------------------------

    def click(self, child):
        left, top, right, bottom = child["rect"]
        subprocess.run(["xdotool", "mousemove", "--sync", str((left + right) // 2),
                        str((top + bottom) // 2), "click", "1"],
                       env=self.wine_environment(), check=True, timeout=30)

    def click_child(self, window, text, kind="Button"):
        for child in window["children"]:
            if child["class"] in KINDS[kind] and child["text"] == text:
                self.click(child)
                return
        raise Failure("no %s %r in %r" % (kind, text, window["title"]))

    def press_key(self, key):
        subprocess.run(["xdotool", "key", key], env=self.wine_environment(), check=True, timeout=30)

    # --- the peer's record -------------------------------------------

    def peer_events(self, kind=None):
        if not os.path.exists(self.peer_log):
            return []
        with open(self.peer_log, encoding="utf-8") as log:
            events = [json.loads(line) for line in log if line.strip()]
        return [event for event in events if kind is None or event["event"] == kind]


# Window classes of a kind: the system's own, the framework's superclasses and
# the skinned push button.
KINDS = {"Button": ("Button", "TButton", "TsButton"), "Static": ("Static",)}


def texts_of(window, kind):
    return [child["text"] for child in window["children"] if child["class"] in KINDS[kind]]


def themed_buttons(window):
    """The toolkit's push buttons anywhere inside a window (they sit in its frame panel)."""
    return [child for child in window["descendants"] if child["class"] == "TsuiButton"]


# What Ctrl+C puts on the clipboard from the themed message dialog.
MESSAGE_RULE = "-" * 27


def themed_message_clipboard(caption, text, buttons):
    return "\r\n".join([MESSAGE_RULE, caption, MESSAGE_RULE, text, MESSAGE_RULE, "   ".join(buttons),
                          MESSAGE_RULE])


def check_success_message(session, box):
    """The themed success message: its one button, and its caption and text as
    the dialog's Ctrl+C gives them."""
    buttons = themed_buttons(box)
    check([b["text"] for b in buttons] == ["确定"], "success buttons: %r" % buttons)
    check(all(b["visible"] and b["enabled"] for b in buttons), "the success button is not usable")
    wanted = themed_message_clipboard("提醒", "数据库安装成功！", ["确定"])
    def copied():
        session.press_key("ctrl+c")
        return session.clipboard_text() == wanted
    wait_until("the success message on the clipboard", copied, 20, 0.5)


def close_themed_message(session, box):
    """Clicks the dialog's button where it is on screen; the dialog closes."""
    session.click(themed_buttons(box)[0])
    session.wait_gone(box["title"])


def message_box_text(window):
    """The message of a standard message box: its non-empty static text."""
    texts = [text for text in texts_of(window, "Static") if text]
    check(len(texts) == 1, "expected one message in %r, found %r" % (window["title"], texts))
    return texts[0]


def attach_text(folder):
    quoted = folder.replace("'", "''")
    return ("EXEC sp_attach_db @dbname = N'Kestu',@filename1 = N'%sKestu_Data.MDF',"
            "@filename2 = N'%sKestu_Log.LDF'" % (quoted, quoted))


def run(test):
    """Runs one test function with (program, inspector) from the command line
    and reports the result as the exit code."""
    program, inspector = sys.argv[1], sys.argv[2]
    # A terminated test still stops what it started.
    signal.signal(signal.SIGTERM, lambda number, frame: sys.exit("terminated"))
    try:
        test(program, inspector)
    except Failure as failure:
        print("FAILED: %s" % failure)
        sys.exit(1)
    print("passed")
