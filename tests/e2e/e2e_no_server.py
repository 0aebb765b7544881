#!/usr/bin/python3
"""With no server listening, pressing the button shows the driver's connection
failure in the error box (with the full stop the box adds to a message that
ends in a letter), shows no success message, and leaves the window usable: a
second press fails the same way.

e2e_no_server.py KestuSetup.exe inspect_windows.exe
"""
import krb_realm
from harness import (APPLICATION_TITLE, BUTTON_CAPTION, MAIN_TITLE, Session, check,
                     message_box_text, run, texts_of)

EXPECTED = "Unable to connect: Adaptive Server is unavailable or does not exist."


def test(program, inspector):
    with Session(program, inspector, "noserver") as session:
        session.install_program("Setup")
        session.start_program(krb_realm.free_port())  # nothing listens there
        main = session.wait_window(MAIN_TITLE)
        for press in (1, 2):
            session.click_child(main, BUTTON_CAPTION)
            box = session.wait_window(APPLICATION_TITLE)
            text = message_box_text(box)
            check(text == EXPECTED, "press %d: error text %r" % (press, text))
            check(session.window("提醒") is None, "a success message appeared")
            buttons = texts_of(box, "Button")
            check(len(buttons) == 1, "expected one button, found %r" % buttons)
            session.click_child(box, buttons[0])
            session.wait_gone(APPLICATION_TITLE)
            main = session.wait_window(MAIN_TITLE)
            check(main["enabled"], "press %d: the main window stays disabled" % press)


if __name__ == "__main__":
    run(test)
