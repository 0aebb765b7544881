#!/usr/bin/python3
"""The gallery's toolkit windows, driven with real X input: one window per
built-in style and one from the theme file, each opened from the frame's
Toolkit menu, with its menu bar's drop-down opened; the pop-up menu opens
from a right click on the window and shows a message dialog, a different
icon and button count in each window, whose buttons are the ones described
and whose last button closes it. In the first window the title bar's
control-box menu and the menu bar's other drop-down open too. Screenshots
are kept for docs/screenshots/.

e2e_gallery_toolkit.py KestuGallery.exe inspect_windows.exe
"""
from harness import Session, check, run, themed_buttons
from gallery import (FRAME_TITLE, close_menus, keep_shot, mouse, pause_for_input, start_gallery, union, wait_menus,
                     wait_still)

# The toolkit menu's accelerator, the window's name and the message shown in
# it: (position in the pop-up menu, caption, buttons).
WINDOWS = [
    ("m", "MacOS", 1, "Information", ["OK"]),
    ("w", "WinXP", 2, "Warning", ["Yes", "No"]),
    ("d", "DeepBlue", 3, "Stop", ["Abort", "Retry", "Ignore"]),
    ("p", "Protein", 4, "Question", ["Yes", "No"]),
    ("b", "BlueGlass", 0, "No icon", ["OK"]),
    ("t", "Theme file", 3, "Stop", ["Abort", "Retry", "Ignore"]),
]


def open_window(session, frame, key, name):
    # The frame takes the keys again from a click on its empty client area.
    mouse(session, frame["rect"][2] - 100, frame["rect"][3] - 100, "click", "1")
    session.press_key("alt+t")
    wait_menus(session)
    pause_for_input()
    session.press_key(key)
    window = session.wait_window("Toolkit: " + name, 30)
    mouse(session, 5, 5)
    wait_still(session, window["rect"])
    return window


def menu_bar_button(window, index):
    """The centre of the menu bar's button `index` ("Window", "Messages")."""
    bar = next(d for d in window["descendants"] if d["class"] == "TToolBar")["rect"]
    return bar[0] + (20, 75)[index], (bar[1] + bar[3]) // 2


def open_drop_down(session, window, index, shot):
    mouse(session, *menu_bar_button(window, index), "click", "1")
    popup = wait_menus(session)
    keep_shot(session, shot, union(window["rect"], popup[0]["rect"]))
    close_menus(session)


def show_message(session, window, slug, position, caption, buttons):
    left, top, right, bottom = window["rect"]
    mouse(session, (left + right) // 2, bottom - 30, "click", "3")
    popup = wait_menus(session)
    if slug == "macos":
        keep_shot(session, "toolkit-popup-menu", union(window["rect"], popup[0]["rect"]))
    for key in ["Down"] * (position + 1) + ["Return"]:
        session.press_key(key)
        pause_for_input()
    box = session.wait_window(caption, 30)
    found = sorted(themed_buttons(box), key=lambda b: b["rect"][0])  # left to right
    check([b["text"] for b in found] == buttons, "%s: message buttons %r" % (slug, [b["text"] for b in found]))
    check(all(b["visible"] and b["enabled"] for b in found), "%s: a message button is not usable" % slug)
    mouse(session, 5, 5)
    wait_still(session, box["rect"])
    keep_shot(session, "toolkit-%s-message" % slug, union(window["rect"], box["rect"]))
    session.click(found[-1])
    session.wait_gone(caption)


def test(program, inspector):
    with Session(program, inspector, "gallery-toolkit") as session:
        _, frame = start_gallery(session)
        for key, name, position, caption, buttons in WINDOWS:
            slug = name.lower().replace(" ", "-")
            window = open_window(session, frame, key, name)
            if slug == "macos":
                open_drop_down(session, window, 0, "toolkit-window-menu")
                # The title bar's control box opens its menu.
                mouse(session, window["rect"][0] + 12, window["rect"][1] + 11, "click", "1")
                popup = wait_menus(session)
                keep_shot(session, "toolkit-control-box-menu", union(window["rect"], popup[0]["rect"]))
                close_menus(session)
            open_drop_down(session, window, 1, "toolkit-%s" % slug)
            show_message(session, window, slug, position, caption, buttons)
        titles = [w["title"] for w in session.windows()]
        check(all("Toolkit: " + w[1] in titles for w in WINDOWS), "toolkit windows open: %r" % titles)
        check(FRAME_TITLE in titles, "the frame is gone: %r" % titles)


if __name__ == "__main__":
    run(test)
