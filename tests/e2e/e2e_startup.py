#!/usr/bin/python3
"""Start-up: the window comes up centred on the screen with its texts and the
button; started with the maximised show command it is maximised although its
frame has no maximise box; started minimised it goes down to its taskbar
button without taking the activation.

e2e_startup.py KestuSetup.exe inspect_windows.exe
"""
import krb_realm
from harness import APPLICATION_TITLE, BUTTON_CAPTION, MAIN_TITLE, Session, check, run, texts_of, wait_until

SCREEN = (1280, 1024)
WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0xC00000, 0x80000, 0x40000, 0x20000, 0x10000
WS_MINIMIZE = 0x20000000


def test(program, inspector):
    with Session(program, inspector, "startup") as session:
        session.install_program("Setup")
        session.start_program(krb_realm.free_port())
        main = session.wait_window(MAIN_TITLE)
        left, top, right, bottom = main["rect"]
        width, height = right - left, bottom - top
        check(abs(left - (SCREEN[0] - width) // 2) <= 1 and abs(top - (SCREEN[1] - height) // 2) <= 1,
              "the window is not centred: %r" % main["rect"])
        check(main["client"] == [288, 118], "client size %r" % main["client"])
        # A single fixed frame; the skin draws its icon and buttons itself, so
        # the window keeps none of the system's.
        style = main["style"]
        check(style & WS_CAPTION == WS_CAPTION and
              not style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              "frame style %#x" % style)
        check(texts_of(main, "Button") == [BUTTON_CAPTION], "buttons: %r" % texts_of(main, "Button"))
        # The two texts are blue, at client (48, 19) and (48, 40); the frame
        # is as wide on the left as on the bottom.
        border = (width - 288) // 2
        client_left, client_top = left + border, bottom - border - 118
        for label_top, label_height in ((19, 14), (40, 12)):
            area = (client_left + 48, client_top + label_top, client_left + 48 + 210,
                    client_top + label_top + label_height)
            wait_until("blue text at %r" % (area,), lambda: session.blue_pixels(area) > 30, 10)
        session.press_key("alt+F4")
        session.wait_gone(MAIN_TITLE)

        session.start_program(krb_realm.free_port(), show="max")
        main = session.wait_window(MAIN_TITLE)
        left, top, right, bottom = main["rect"]
        check(left <= 0 and top <= 0 and right >= SCREEN[0] and bottom >= SCREEN[1],
              "the window is not maximised: %r" % main["rect"])
        session.press_key("alt+F4")
        session.wait_gone(MAIN_TITLE)

        session.start_program(krb_realm.free_port(), show="min")

        def minimised_button():
            for window in session.windows(off_screen=True):
                if window["title"] == APPLICATION_TITLE and window["style"] & WS_MINIMIZE:
                    return window
            return None
        button = wait_until("the taskbar button minimised", minimised_button, 30)
        program = [w for w in session.windows(off_screen=True) if w["pid"] == button["pid"]]
        check(not any(w["foreground"] for w in program),
              "a window of the program took the activation: %r" % program)
        check(all(w["title"] != MAIN_TITLE or w["style"] & WS_MINIMIZE for w in program),
              "the main window shows: %r" % program)


if __name__ == "__main__":
    run(test)
