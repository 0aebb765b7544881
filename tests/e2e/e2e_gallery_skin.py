#!/usr/bin/python3
"""The gallery's skinned MDI frame, driven with real X input: the scrolling
child starts with both skinned bars; the buttons' hot and pressed looks; the
horizontal bar's slider dragged with real mouse motion moves the position to
where the mouse went; the active child's menu merged into the frame's menu
line (the controls child's Controls menu and its own Window menu, gone while
the scrolling child is active); a child maximised from its caption and restored from
the window-control menu; every menu of the main menu and the system menu
opened; the help title button shows the about message; the skin switched to
the disk skin and back from the system menu; File > Exit ends the program
with exit code 0. Screenshots are kept for docs/screenshots/.

e2e_gallery_skin.py KestuGallery.exe inspect_windows.exe
"""
import time

from harness import Session, check, run, themed_buttons, wait_until
from gallery import (FRAME_TITLE, centre, close_menus, differing, grab, keep_shot, menus, mouse, pause_for_input,
                     start_gallery, union, wait_changed, wait_menus, wait_still)

# The internal skin's frame: a 3-pixel border, title buttons 17 x 19 one
# pixel below the top, user buttons from the fifth slot on.
BORDER, BUTTON_WIDTH, BUTTON_TOP = 3, 17, 1
MAXIMISED_TITLE = FRAME_TITLE + " - [Skinned controls]"


def descendants(window, kind, inside=None):
    found = [d for d in window["descendants"] if d["class"] == kind]
    if inside:
        found = [d for d in found if inside[0] <= d["rect"][0] and d["rect"][2] <= inside[2]
                 and inside[1] <= d["rect"][1] and d["rect"][3] <= inside[3]]
    return found


def child(frame, kind):
    return next(d for d in frame["descendants"] if d["class"] == kind)


def button(frame, caption):
    return next(d for d in frame["descendants"] if d["class"] == "TsButton" and d["text"] == caption)


def user_title_button(frame, index):
    left, top, right, _ = frame["rect"]
    x = right - left - BORDER - (BUTTON_WIDTH + 1) * (index + 5)
    return left + x + BUTTON_WIDTH // 2, top + BUTTON_TOP + 9


def check_button_looks(session, frame):
    controls = child(frame, "TfrmControls")["rect"]
    # Activate the child from its caption; the mouse then rests outside.
    mouse(session, controls[0] + 150, controls[1] + 10, "click", "1")
    mouse(session, 5, 5)
    wait_still(session, controls)
    hot, pressed = button(frame, "Hot")["rect"], button(frame, "Pressed")["rect"]
    before = grab(session, controls)
    mouse(session, *centre(hot))
    wait_changed(session, "the hot button's look", hot, before.crop(_local(hot, controls)))
    keep_shot(session, "buttons-hot", controls)
    mouse(session, *centre(pressed), "mousedown", "1")
    try:
        wait_changed(session, "the pressed button's look", pressed, before.crop(_local(pressed, controls)))
        keep_shot(session, "buttons-pressed", controls)
    finally:
        # Released outside the button: no click.
        mouse(session, 5, 5, "mouseup", "1")


def menu_line(frame):
    """The frame's menu line: the rows above the client area, below the
    caption, 18 high (the system menu height less one)."""
    left, top, right, bottom = frame["rect"]
    client_top = bottom - BORDER - frame["client"][1]
    return left + BORDER, client_top - 18, right - BORDER, client_top - 1


def check_menu_merging(session, frame):
    """With the controls child active (see check_button_looks), its menu is
    in the frame's menu line: Controls (Alt+C opens it) and its own Window
    menu in place of the frame's, two rows longer. Activating the scrolling
    child, which has no menu, takes them away: the line changes and Alt+C
    opens nothing. The controls child is active again at the end. (Wine
    keeps menus per process, so the bar's items cannot be read from here.)"""
    line = menu_line(frame)
    wait_still(session, line)
    merged = grab(session, line)
    session.press_key("alt+c")
    popup = wait_menus(session)
    keep_shot(session, "menu-merged-controls", union(frame["rect"], popup[0]["rect"]))
    close_menus(session)
    session.press_key("alt+w")
    popup = wait_menus(session)
    check(popup[0]["rect"][3] - popup[0]["rect"][1] > 70, "the child's Window menu is %r" % popup[0]["rect"])
    close_menus(session)

    scrolling = child(frame, "TfrmScrolling")["rect"]
    mouse(session, scrolling[0] + 100, scrolling[1] + 10, "click", "1")
    mouse(session, 5, 5)
    wait_changed(session, "the menu line without the Controls menu", line, merged, 100)
    wait_still(session, line)
    own = grab(session, line)
    keep_shot(session, "menu-line-own", frame["rect"])
    session.press_key("alt+c")
    time.sleep(1)
    check(not menus(session), "Alt+C opened a menu with the scrolling child active")
    session.press_key("Escape")

    controls = child(frame, "TfrmControls")["rect"]
    mouse(session, controls[0] + 150, controls[1] + 10, "click", "1")
    mouse(session, 5, 5)
    wait_changed(session, "the menu line with the Controls menu again", line, own, 100)
    wait_still(session, line)
    keep_shot(session, "menu-line-merged", frame["rect"])
    check(differing(grab(session, line), merged) < 20, "the merged menu line looks different the second time")


def _local(rect, outer):
    return (rect[0] - outer[0], rect[1] - outer[1], rect[2] - outer[0], rect[3] - outer[1])


def drag_slider(session, frame):
    controls = child(frame, "TfrmControls")["rect"]
    bar = [b for b in descendants(frame, "TsScrollBar", controls) if b["enabled"]
           and b["rect"][2] - b["rect"][0] > b["rect"][3] - b["rect"][1]][0]["rect"]
    left, top, right, bottom = bar
    y = (top + bottom) // 2
    # The slider starts after the 17-pixel left button, at position 0.
    start = left + BUTTON_WIDTH + 8
    mouse(session, start, y, "mousedown", "1")
    for x in range(start, start + 151, 10):
        mouse(session, x, y)
    mouse(session, start + 150, y, "mouseup", "1")

    def position():
        frame_now = session.window(FRAME_TITLE)
        numbers = [d["text"] for d in descendants(frame_now, "TsPanel") if d["text"].isdigit()]
        return numbers and int(numbers[0]) > 0 and int(numbers[0])
    value = wait_until("the bar's position on its panel", position, 20)
    # 150 pixels of a 300-pixel bar (less its buttons and slider) of 0..100:
    # a press on the track that paged instead would stop near the mouse's start.
    check(45 <= value <= 75, "the slider went to position %d for 150 pixels" % value)
    keep_shot(session, "scroll-bar-dragged", controls)


def maximise_and_restore(session, frame):
    controls = child(frame, "TfrmControls")["rect"]
    mouse(session, controls[0] + 150, controls[1] + 10, "click", "--repeat", "2", "--delay", "80", "1")
    maximised = session.wait_window(MAXIMISED_TITLE, 20)
    keep_shot(session, "child-maximised", maximised["rect"])
    # The window-control menu stands first in the menu line, 8 pixels wide.
    left, top = maximised["rect"][0], maximised["rect"][1]
    line = left + BORDER + 8, top + 33
    mouse(session, *line, "click", "1")
    popup = wait_menus(session)
    keep_shot(session, "child-window-menu", union(maximised["rect"], popup[0]["rect"]))
    for key in ("Down", "Return"):  # Restore
        session.press_key(key)
        pause_for_input()
    session.wait_window(FRAME_TITLE, 20)


def open_main_menus(session, frame):
    for key, name in (("alt+f", "file"), ("alt+v", "view"), ("alt+t", "toolkit")):
        session.press_key(key)
        popup = wait_menus(session)
        check(popup[0]["rect"][3] - popup[0]["rect"][1] > 60, "the %s menu is %r" % (name, popup[0]["rect"]))
        keep_shot(session, "menu-" + name, union(frame["rect"], popup[0]["rect"]))
        close_menus(session)
    # The Window menu opens on its first item, the Arrange sub-menu.
    session.press_key("alt+w")
    wait_menus(session)
    pause_for_input()
    session.press_key("Right")
    popups = wait_menus(session, 2)
    keep_shot(session, "menu-window-arrange", union(frame["rect"], *[p["rect"] for p in popups]))
    close_menus(session)


def show_about(session, frame):
    mouse(session, *user_title_button(frame, 1), "click", "1")
    box = session.wait_window("About the gallery", 20)
    buttons = themed_buttons(box)
    check([b["text"] for b in buttons] == ["OK"], "about buttons: %r" % buttons)
    keep_shot(session, "title-button-about", union(frame["rect"], box["rect"]))
    session.click(buttons[0])
    session.wait_gone("About the gallery")


def choose_skin(session, frame, position):
    """Opens the system menu from the caption and picks the skin at
    `position` under "Available skins"."""
    left, top = frame["rect"][0], frame["rect"][1]
    mouse(session, left + 300, top + 10, "click", "3")
    popup = wait_menus(session)
    if position:
        keep_shot(session, "system-menu", union(frame["rect"], popup[0]["rect"]))
    for key in ["Down", "Right"] + ["Down"] * position + ["Return"]:
        session.press_key(key)
        pause_for_input()
    wait_until("the menu to close", lambda: not menus(session), 20)
    mouse(session, 5, 5)


def switch_skins(session, frame):
    left, top, right, _ = frame["rect"]
    title = (left + 150, top + 2, right - 150, top + 20)
    internal = grab(session, title)
    choose_skin(session, frame, 1)
    wait_changed(session, "the frame in the disk skin", title, internal, 200)
    wait_still(session, frame["rect"])
    keep_shot(session, "skin-slate", frame["rect"])
    choose_skin(session, frame, 0)
    wait_until("the frame back in the internal skin", lambda: differing(grab(session, title), internal) < 50, 20)


def test(program, inspector):
    with Session(program, inspector, "gallery-skin") as session:
        process, frame = start_gallery(session)
        mouse(session, 5, 5)
        wait_still(session, frame["rect"])
        keep_shot(session, "skin-internal", frame["rect"])
        check_button_looks(session, frame)
        check_menu_merging(session, frame)
        drag_slider(session, frame)
        maximise_and_restore(session, frame)
        open_main_menus(session, frame)
        show_about(session, frame)
        switch_skins(session, frame)
        session.press_key("alt+f")
        wait_menus(session)
        session.press_key("x")
        session.wait_gone(FRAME_TITLE)
        code = wait_until("the program to end", lambda: process.poll() is not None and [process.returncode], 30)
        check(code == [0], "exit code %r" % code)


if __name__ == "__main__":
    run(test)
