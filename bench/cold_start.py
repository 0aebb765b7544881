#!/usr/bin/env python3
"""Cold start under Wine: the time from starting a program to its window being
mapped on the display, for the installer and for a bare Win32 program that
shows one window, several runs each (taken in turn). Every run starts with no
Wine server running, as a user's first start does. Prints each run, the
medians and their ratio.

Usage: bench/cold_start.py <KestuSetup.exe> <bare_window.exe> [runs]
Uses tools/wine-run (its prefix: KESTU_WINEPREFIX) and a virtual display of
its own unless DISPLAY is set.
"""
import os
import select
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINE_RUN = os.path.join(ROOT, "tools", "wine-run")
WINESERVER = "/usr/lib/wine/wineserver"
TITLES = {"installer": "安装数据库文件", "bare": "Bare window"}


def visible(title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True)
    return found.returncode == 0 and found.stdout.strip() != ""


def stop_wine():
    subprocess.run([WINESERVER, "-k"], stderr=subprocess.DEVNULL)
    subprocess.run([WINESERVER, "-w"], stderr=subprocess.DEVNULL)


def one_start(program, title, timeout=60.0):
    """Seconds from starting program to its window mapped."""
    stop_wine()
    # Each window mapped anywhere on the display is an event on the root's
    # substructure; the title is checked on each, so no time is lost polling.
    watcher = subprocess.Popen(["xev", "-root", "-event", "substructure"], stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL)
    time.sleep(0.2)  # xev is listening
    start = time.monotonic()
    child = subprocess.Popen([WINE_RUN, program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while time.monotonic() - start < timeout:
            ready, _, _ = select.select([watcher.stdout], [], [], 0.5)
            events = os.read(watcher.stdout.fileno(), 65536) if ready else b""
            if (b"MapNotify" in events or not ready) and visible(title):
                return time.monotonic() - start
        sys.exit(f"{program}: no window '{title}' within {timeout} s")
    finally:
        watcher.kill()
        child.kill()
        stop_wine()


def start_display():
    if os.environ.get("DISPLAY"):
        return None
    n = 95
    while os.path.exists(f"/tmp/.X{n}-lock"):
        n += 1
    server = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = f":{n}"
    for _ in range(50):
        if subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0:
            return server
        time.sleep(0.1)
    sys.exit("the virtual display did not start")


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    installer, bare = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    display = start_display()
    try:
        subprocess.run([WINE_RUN, "--prepare"], check=True)
        times = {"installer": [], "bare": []}
        for i in range(runs):
            for name, program in (("bare", bare), ("installer", installer)):
                seconds = one_start(program, TITLES[name])
                times[name].append(seconds)
                print(f"run {i + 1} {name}: {seconds * 1000:.0f} ms", flush=True)
        medians = {name: statistics.median(t) for name, t in times.items()}
        print(f"bare window median: {medians['bare'] * 1000:.0f} ms")
        print(f"installer median: {medians['installer'] * 1000:.0f} ms")
        print(f"ratio installer/bare: {medians['installer'] / medians['bare']:.2f}")
    finally:
        if display:
            display.kill()


if __name__ == "__main__":
    main()
