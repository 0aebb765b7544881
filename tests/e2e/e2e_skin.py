#!/usr/bin/python3
"""The skinned window, driven with real X input: the frame is the skin's (cut
corners, its own minimise and close buttons), the system menu opens from a
right click on the caption and from the icon, switching to the skin on disk
and back repaints the frame and the button, the minimise button minimises,
and the close button ends the program with exit code 0.

e2e_skin.py KestuSetup.exe inspect_windows.exe
"""
import subprocess
import time

from PIL import Image, ImageChops

import krb_realm
from harness import MAIN_TITLE, Session, check, run, wait_until

WS_MINIMIZE = 0x20000000
# The installer's frame: a single border (3 pixels), a 19-pixel caption and
# title buttons 17 x 19 at the top; close in slot 1, minimise in slot 2.
BORDER, BUTTON_WIDTH, BUTTON_TOP = 3, 17, 1


def slot_centre(window, slot):
    left, top, right, _ = window["rect"]
    width = right - left
    x = width - BORDER - slot * (BUTTON_WIDTH + 1) + BUTTON_WIDTH // 2
    if slot == 1:
        x = width - BORDER - BUTTON_WIDTH - 1 + BUTTON_WIDTH // 2
    return left + x, top + BUTTON_TOP + 9


def mouse(session, x, y, *clicks):
    command = ["xdotool", "mousemove", "--sync", str(x), str(y)]
    for button in clicks:
        command += ["click", str(button)]
    subprocess.run(command, env=session.wine_environment(), check=True, timeout=30)


def grab(session, rect):
    return Image.open(session.screenshot("grab")).convert("RGB").crop(rect)


def differing(a, b):
    return sum(1 for p in ImageChops.difference(a, b).getdata() if max(p) > 8)


def menus(session):
    return [w for w in session.windows() if w["class"] == "#32768"]


def choose_skin(session, window, open_with_icon, position):
    """Opens the system menu and picks the skin at `position` under
    "Available skins" with the keyboard."""
    left, top = window["rect"][0], window["rect"][1]
    if open_with_icon:
        mouse(session, left + BORDER + 8, top + BORDER + 8, 1)
    else:
        mouse(session, left + 120, top + 10, 3)
    wait_until("the system menu", lambda: menus(session), 20)
    session.screenshot("system-menu-%d" % position)
    for key in ["Down", "Right"] + ["Down"] * position + ["Return"]:
        session.press_key(key)
        time.sleep(0.3)
    wait_until("the menu to close", lambda: not menus(session), 20)


def test(program, inspector):
    with Session(program, inspector, "skin") as session:
        session.install_program("Setup")
        process = session.start_program(krb_realm.free_port())
        main = session.wait_window(MAIN_TITLE)
        left, top, right, bottom = main["rect"]
        mouse(session, 5, 5)  # nothing hot
        time.sleep(1.5)
        frame_rect = (left, top, right, bottom)
        title_rect = (left + 30, top + 2, right - 50, top + 20)
        button_rect = (left + BORDER + 56, bottom - BORDER - 118 + 72, left + BORDER + 56 + 193,
                       bottom - BORDER - 118 + 72 + 25)
        first = grab(session, frame_rect)
        # The skin's region cuts the title's top corners: the desktop shows there.
        desktop = Image.open(session.screenshot("desktop")).convert("RGB").getpixel((5, 5))
        check(first.getpixel((0, 0)) == desktop, "the top-left corner is not cut: %r" % (first.getpixel((0, 0)),))
        check(first.getpixel((right - left - 1, 0)) == desktop, "the top-right corner is not cut")
        close_x, close_y = slot_centre(main, 1)
        min_x, min_y = slot_centre(main, 2)
        check(session.red_pixels((close_x - 6, close_y - 6, close_x + 6, close_y + 6)) > 20,
              "no red close button in slot 1")
        orange = session.pixels_like((min_x - 6, min_y - 6, min_x + 6, min_y + 6),
                                     lambda r, g, b: r > 180 and 100 < g < 200 and b < 100)
        check(orange > 20, "no orange minimise button in slot 2 (%d pixels)" % orange)

        # Hovering a title button shows its hot face.
        mouse(session, close_x, close_y)
        hot = wait_until("the hot close button",
                         lambda: differing(grab(session, (close_x - 8, close_y - 8, close_x + 8, close_y + 8)),
                                           first.crop((close_x - left - 8, close_y - top - 8, close_x - left + 8,
                                                       close_y - top + 8))) > 10, 10)
        check(hot, "the close button does not light up")
        mouse(session, 5, 5)

        # The system menu from a right click on the caption; Escape closes it.
        mouse(session, left + 120, top + 10, 3)
        popup = wait_until("the system menu", lambda: menus(session), 20)
        pl, pt, pr, pb = popup[0]["rect"]
        check(pr - pl > 60 and pb - pt > 100, "the system menu is %r" % (popup[0]["rect"],))
        session.press_key("Escape")
        wait_until("the menu to close", lambda: not menus(session), 20)

        # Switch to the skin on disk from the icon's menu, and back from the caption's.
        choose_skin(session, main, True, 1)
        mouse(session, 5, 5)
        wait_until("the frame in the disk skin", lambda: differing(grab(session, title_rect),
                                                                   first.crop(_shift(title_rect, left, top))) > 200, 20)
        slate = grab(session, frame_rect)
        check(differing(slate.crop(_shift(button_rect, left, top)), first.crop(_shift(button_rect, left, top))) > 200,
              "the button was not repainted in the disk skin")
        choose_skin(session, main, False, 0)
        mouse(session, 5, 5)
        wait_until("the frame back in the internal skin",
                   lambda: differing(grab(session, frame_rect), first) < 50, 20)

        # Minimise with a real click on the skin's button.
        mouse(session, min_x, min_y, 1)
        wait_until("the window minimised", lambda: _minimised(session), 20)
        process.terminate()

        # A second run: the close button ends the program with exit code 0.
        process = session.start_program(krb_realm.free_port())
        main = session.wait_window(MAIN_TITLE)
        time.sleep(1)
        close_x, close_y = slot_centre(main, 1)
        mouse(session, close_x, close_y, 1)
        session.wait_gone(MAIN_TITLE)
        code = wait_until("the program to end", lambda: process.poll() is not None and [process.returncode], 30)
        check(code == [0], "exit code %r" % code)


def _shift(rect, left, top):
    return (rect[0] - left, rect[1] - top, rect[2] - left, rect[3] - top)


def _minimised(session):
    window = session.window(MAIN_TITLE)
    return window is None or window["style"] & WS_MINIMIZE or window["rect"][2] - window["rect"][0] < 200


if __name__ == "__main__":
    run(test)
