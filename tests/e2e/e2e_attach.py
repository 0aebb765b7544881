#!/usr/bin/python3
"""Pressing the button attaches the database through a real integrated login:
the peer receives exactly the attach statement and the success message shows;
a second press gets the server's "already exists" error in the error box, and
the window stays usable throughout.

e2e_attach.py KestuSetup.exe inspect_windows.exe
"""
from harness import (APPLICATION_TITLE, BUTTON_CAPTION, MAIN_TITLE, Session, attach_text, check,
                     check_success_message, close_themed_message, message_box_text, run, texts_of,
                     wait_until)


def close_box(session, box):
    buttons = texts_of(box, "Button")
    check(len(buttons) == 1, "expected one button in %r, found %r" % (box["title"], buttons))
    session.click_child(box, buttons[0])
    session.wait_gone(box["title"])
    main = session.wait_window(MAIN_TITLE)
    check(main["enabled"], "the main window is still disabled after the box closed")
    return main


def test(program, inspector):
    with Session(program, inspector, "attach") as session:
        session.start_realm_and_peer()
        folder = session.install_program("Setup")
        session.start_program(session.peer_port)
        main = session.wait_window(MAIN_TITLE)
        check(main["enabled"], "the main window starts disabled")

        # First press: success.
        session.click_child(main, BUTTON_CAPTION)
        box = session.wait_window("提醒")
        check_success_message(session, box)
        check(not session.window(MAIN_TITLE)["enabled"], "the main window stays enabled under the message")
        session.screenshot("success")
        batches = [event["text"] for event in session.peer_events("batch")]
        check(batches == [attach_text(folder)], "the peer received %r" % batches)
        print("peer received: %s" % batches[0])
        logins = session.peer_events("login")
        check(len(logins) == 1, "expected one login, got %r" % logins)
        login = logins[0]
        check(login["integrated"] and login["principal"] == "tester@TEST.LOCAL",
              "login was not the integrated one: %r" % login)
        check(login["user"] == "" and not login["password_sent"],
              "credentials were sent: %r" % login)
        close_themed_message(session, box)
        main = session.wait_window(MAIN_TITLE)
        check(main["enabled"], "the main window is still disabled after the message closed")

        # Second press: the server refuses; its text is shown, no success.
        session.click_child(main, BUTTON_CAPTION)
        box = session.wait_window(APPLICATION_TITLE)
        text = message_box_text(box)
        check(box["owner"] == APPLICATION_TITLE, "the error box is owned by %r" % box["owner"])
        check(not session.window(MAIN_TITLE)["enabled"], "the main window stays enabled under the box")
        # Ends in ".", so the box adds no full stop.
        check(text == "Database 'Kestu' already exists.", "error text: %r" % text)
        icons = [child for child in box["children"] if child.get("icon")]
        check(len(icons) == 1 and session.red_pixels(icons[0]["rect"]) > 20,
              "the error box shows no stop icon")
        check(session.window("提醒") is None, "the success message appeared after a failure")
        batches = [event["text"] for event in session.peer_events("batch")]
        check(batches == [attach_text(folder)] * 2, "the peer received %r" % batches)
        check(len(session.peer_events("login")) == 1, "the connection was not reused")
        main = close_box(session, box)
        check(session.window("提醒") is None, "the success message appeared after a failure")
        wait_until("the button to be usable", lambda: any(
            child["text"] == BUTTON_CAPTION and child["enabled"]
            for child in session.window(MAIN_TITLE)["children"]), 10)


if __name__ == "__main__":
    run(test)
