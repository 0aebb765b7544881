#!/usr/bin/python3
"""With no server listening, pressing the button shows the driver's connection
failure in the error box (with the full stop the box adds to a message that
ends in a letter), shows no success message, and leaves the window usable: a
second press fails the same way. Against a server that refuses the login,
each press connects twice (the describe on assignment, then the execute),
the second press as the first.

e2e_no_server.py KestuSetup.exe inspect_windows.exe
"""
import krb_realm
from harness import (APPLICATION_TITLE, BUTTON_CAPTION, MAIN_TITLE, Session, check,
                     message_box_text, run, texts_of)

EXPECTED = "Unable to connect: Adaptive Server is unavailable or does not exist."
REFUSED = "Login failed for user ''."


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

    with Session(program, inspector, "refused") as session:
        session.start_realm_and_peer("--refuse-logins")
        session.install_program("Setup")
        session.start_program(session.peer_port)
        main = session.wait_window(MAIN_TITLE)
        for press in (1, 2):
            session.click_child(main, BUTTON_CAPTION)
            box = session.wait_window(APPLICATION_TITLE)
            text = message_box_text(box)
            check(text == REFUSED, "press %d: error text %r" % (press, text))
            logins = session.peer_events("login")
            check(len(logins) == 2 * press, "press %d: %d logins, expected %d" % (press, len(logins), 2 * press))
            check(session.peer_events("batch") == [], "a batch reached the peer without a login")
            session.click_child(box, texts_of(box, "Button")[0])
            session.wait_gone(APPLICATION_TITLE)
            main = session.wait_window(MAIN_TITLE)


if __name__ == "__main__":
    run(test)
