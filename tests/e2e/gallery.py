"""What the gallery's end-to-end tests share: starting the gallery, the mouse
and keys as real X input, the menus on screen, pictures of the screen compared,
and screenshots kept for the documentation (tools/screenshots.py crops them
into docs/screenshots/).
"""
import json
import os
import subprocess
import time

from PIL import Image, ImageChops

import krb_realm
from harness import check, wait_until

FRAME_TITLE = "Kestu gallery"
MENU_CLASS = "#32768"


def start_gallery(session):
    """Starts the gallery; returns the process and its frame once both child
    windows are in it and the scrolling one has its two skinned bars beside
    the other child's three."""
    session.install_program("Gallery")
    process = session.start_program(krb_realm.free_port())
    session.wait_window(FRAME_TITLE)

    def ready():
        frame = session.window(FRAME_TITLE)
        kinds = [d["class"] for d in frame["descendants"]] if frame else []
        ok = "TfrmControls" in kinds and "TfrmScrolling" in kinds and kinds.count("TsScrollBar") == 5
        return ok and frame
    return process, wait_until("the two child windows with five skinned bars", ready, 60)


def mouse(session, x, y, *actions):
    """Moves the pointer to (x, y), then runs xdotool actions there, e.g.
    "click", "1" or "mousedown", "1"."""
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), *actions],
                   env=session.wine_environment(), check=True, timeout=30)


def centre(rect):
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def menus(session):
    return [w for w in session.windows() if w["class"] == MENU_CLASS]


def wait_menus(session, count=1):
    return wait_until("%d menu(s) on screen" % count, lambda: len(menus(session)) >= count and menus(session), 20)


def close_menus(session):
    """Escape until no menu is open (one press closes one level)."""
    for _ in range(3):
        session.press_key("Escape")
        try:
            wait_until("the menu to close", lambda: not menus(session), 5)
            return
        except Exception:
            continue
    check(not menus(session), "a menu stays open after Escape")


def grab(session, rect):
    return Image.open(session.screenshot("grab")).convert("RGB").crop(tuple(rect))


def differing(a, b):
    return sum(1 for p in ImageChops.difference(a, b).getdata() if max(p) > 8)


def wait_changed(session, what, rect, before, least=20, timeout=20):
    """Waits until the screen in rect differs from `before` in at least
    `least` pixels; returns the new picture."""
    def changed():
        now = grab(session, rect)
        return now if differing(now, before) >= least else None
    return wait_until(what, changed, timeout, 0.3)


def wait_still(session, rect, timeout=20):
    """Waits until two pictures of rect in a row are the same (painting done)."""
    last = [grab(session, rect)]

    def still():
        now = grab(session, rect)
        same = differing(now, last[0]) == 0
        last[0] = now
        return same
    wait_until("the screen to settle", still, timeout, 0.5)


def union(*rects):
    return [min(r[0] for r in rects), min(r[1] for r in rects), max(r[2] for r in rects), max(r[3] for r in rects)]


def keep_shot(session, name, rect):
    """Keeps a screenshot and the rectangle to crop it to in the folder named
    by KESTU_E2E_SHOTS, else e2e-screenshots beside the tested program."""
    folder = os.environ.get("KESTU_E2E_SHOTS") or os.path.join(os.path.dirname(session.program), "e2e-screenshots")
    os.makedirs(folder, exist_ok=True)
    os.replace(session.screenshot(name), os.path.join(folder, name + ".png"))
    with open(os.path.join(folder, name + ".json"), "w") as out:
        json.dump({"rect": list(rect)}, out)


def pause_for_input():
    """A moment between key presses: Wine takes them from the X queue in
    order, and a menu opened by one must exist before the next arrives."""
    time.sleep(0.3)
