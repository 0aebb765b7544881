#!/usr/bin/python3
"""Another program sends the running installer's windows (the main window,
its button, the application window, and later the success message) every
message whose parameters a careless receiver would follow as pointers, with
garbage parameters, and posts the private ones: the installer keeps running,
every window looks as before, and the button still attaches the database.

e2e_foreign_messages.py KestuSetup.exe inspect_windows.exe hostile_sender.exe
"""
import json
import os
import subprocess
import sys

from harness import (APPLICATION_TITLE, BUTTON_CAPTION, MAIN_TITLE, ROOT, Session, attach_text, check,
                     check_success_message, close_themed_message, run)

SENDER = os.path.abspath(sys.argv.pop(3)) if len(sys.argv) > 3 else None


def send_garbage(session, *titles):
    """Runs the sender against the windows of these titles; returns its counts."""
    listing = os.path.join(session.folder, "sender.json")
    with open(listing, "wb") as out:
        subprocess.run([os.path.join(ROOT, "tools", "wine-run"), SENDER, *titles],
                       env=session.wine_environment(), stdout=out, stderr=subprocess.DEVNULL, timeout=600)
    with open(listing, encoding="utf-8") as result:
        lines = [json.loads(line) for line in result if line.startswith("{")]
    check(lines and "error" not in lines[0], "the sender found nothing: %r" % lines)
    return lines[0]


def shape(window):
    """What must not change: geometry, style, state and the children."""
    children = [(c["class"], c["text"], c["rect"], c["visible"], c["enabled"]) for c in window["descendants"]]
    return (window["rect"], window["client"], window["style"], window["enabled"], children)


def test(program, inspector):
    with Session(program, inspector, "foreign") as session:
        session.start_realm_and_peer()
        folder = session.install_program("Setup")
        process = session.start_program(session.peer_port)
        main = session.wait_window(MAIN_TITLE, timeout=120)
        before = shape(main)

        counts = send_garbage(session, MAIN_TITLE, APPLICATION_TITLE)
        print("sent to the installer: %r" % counts)
        check(counts["windows"] >= 2, "the sender reached only %r" % counts)
        check(counts["unanswered"] == 0, "the installer stopped answering: %r" % counts)
        check(process.poll() is None, "the installer ended")
        main = session.wait_window(MAIN_TITLE)
        check(shape(main) == before, "the window changed:\n%r\n%r" % (before, shape(main)))

        # Still the working installer, and its success message withstands the same.
        session.click_child(main, BUTTON_CAPTION)
        box = session.wait_window("提醒")
        counts = send_garbage(session, "提醒")
        check(counts["unanswered"] == 0, "the message stopped answering: %r" % counts)
        check(process.poll() is None, "the installer ended under its message")
        box = session.wait_window("提醒")
        check_success_message(session, box)
        close_themed_message(session, box)
        batches = [event["text"] for event in session.peer_events("batch")]
        check(batches == [attach_text(folder)], "the peer received %r" % batches)
        check(session.wait_window(MAIN_TITLE)["enabled"], "the main window stays disabled")


if __name__ == "__main__":
    run(test)
