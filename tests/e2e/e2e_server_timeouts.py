#!/usr/bin/python3
"""A server that never answers, on a test form whose command waits two
seconds for a connection and two for a command: one that takes the
connection and says nothing, and one that logs in and then answers nothing.
Each press ends in the error box with a text that says what did not answer,
after the timeouts and not before, and the window is usable again: the next
press fails the same way.

e2e_server_timeouts.py timeout_form.exe inspect_windows.exe
"""
import time

from harness import APPLICATION_TITLE, Session, check, message_box_text, run, texts_of

TITLE = "Timeout test"
CASES = [
    # mode, the box's text, the least time the driver must have waited
    ("before-login", "The database server did not answer the connection within 2 seconds.", 2 * 2),
    ("after-login", "The database server did not answer the command within 2 seconds.", 2),
]


def test(program, inspector):
    for mode, expected, least in CASES:
        with Session(program, inspector, "silent-" + mode) as session:
            session.start_realm_and_peer("--silent", mode)
            session.install_program("Setup")
            session.start_program(session.peer_port)
            main = session.wait_window(TITLE)
            for press in (1, 2):
                session.click_child(main, "Attach")
                pressed = time.monotonic()
                box = session.wait_window(APPLICATION_TITLE, timeout=120)
                waited = time.monotonic() - pressed
                text = message_box_text(box)
                check(text == expected, "%s, press %d: error text %r" % (mode, press, text))
                check(waited >= least - 0.5, "%s, press %d: the box came after %.1fs" % (mode, press, waited))
                print("%s, press %d: %r after %.1fs" % (mode, press, text, waited))
                session.click_child(box, texts_of(box, "Button")[0])
                session.wait_gone(APPLICATION_TITLE)
                main = session.wait_window(TITLE)
                check(main["enabled"], "%s, press %d: the window stays disabled" % (mode, press))
            logins = session.peer_events("login")
            if mode == "after-login":
                # The connection is given up after a timeout: each press logs in anew.
                check(len(logins) >= 2, "logins: %r" % logins)
                check(len(session.peer_events("unanswered")) >= 2, "the batches did not reach the peer")
            else:
                check(logins == [], "a login reached a server that never answered: %r" % logins)


if __name__ == "__main__":
    run(test)
