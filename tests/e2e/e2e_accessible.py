#!/usr/bin/python3
"""The installer as a screen reader in another process finds it: the skinned
button found by its name, pressed through its default action, starts the
attach (the peer receives it); the success message reads as a dialog named
by its caption, its text before its one button "确定", whose default action
closes it; the skinned title bar is named by the caption and its buttons
are push buttons, the close button's action ending the program.

e2e_accessible.py KestuSetup.exe inspect_windows.exe accessible_client.exe
"""
import json
import os
import subprocess
import sys

from harness import BUTTON_CAPTION, MAIN_TITLE, ROOT, Session, attach_text, check, run, wait_until

ROLE_TITLEBAR, ROLE_DIALOG, ROLE_STATICTEXT, ROLE_PUSHBUTTON = 1, 18, 41, 43
STATE_UNAVAILABLE, STATE_FOCUSABLE = 0x1, 0x100000


def reader(session, client, *arguments):
    """What the accessibility client prints for a window (or for a press)."""
    listing = os.path.join(session.folder, "reader.json")
    with open(listing, "wb") as out:
        subprocess.run([os.path.join(ROOT, "tools", "wine-run"), client, *arguments],
                       env=session.wine_environment(), stdout=out, stderr=subprocess.DEVNULL, timeout=60)
    with open(listing, encoding="utf-8") as result:
        lines = [line for line in result if line.startswith("{")]
    check(lines, "the reader printed nothing for %r" % (arguments,))
    return json.loads(lines[0])


def reading_order(node):
    """Every element of a tree, depth first, as a reader goes through it."""
    if node is None:
        return []
    found = [node]
    for child in node["children"]:
        found += reading_order(child)
    return found


def named(tree, name):
    return [node for node in reading_order(tree) if node["name"] == name]


def press(session, client, title, name):
    answer = reader(session, client, title, "--press", name)
    check(answer.get("result") == 0, "pressing %r in %r: %r" % (name, title, answer))


def test(program, inspector):
    client = os.path.abspath(sys.argv[3])
    with Session(program, inspector, "accessible") as session:
        session.start_realm_and_peer()
        folder = session.install_program("Setup")
        process = session.start_program(session.peer_port)
        main = session.wait_window(MAIN_TITLE)

        # The skinned button, where it is drawn, pressable.
        tree = reader(session, client, MAIN_TITLE)
        buttons = named(tree["client"], BUTTON_CAPTION)
        check(len(buttons) == 1, "the button %r is not found once: %r" % (BUTTON_CAPTION, tree))
        button = buttons[0]
        check(button["role"] == ROLE_PUSHBUTTON and button["action"] == "Press", "the button reads %r" % button)
        check(button["state"] & STATE_FOCUSABLE and not button["state"] & STATE_UNAVAILABLE,
              "the button's states: %#x" % button["state"])
        drawn = [child["rect"] for child in main["children"] if child["text"] == BUTTON_CAPTION]
        check(drawn == [button["rect"]], "the button reads at %r, is drawn at %r" % (button["rect"], drawn))

        # The skinned title bar, named by the caption, with its two buttons.
        bar = tree["titlebar"]
        check(bar is not None and bar["role"] == ROLE_TITLEBAR and bar["name"] == MAIN_TITLE,
              "the title bar reads %r" % bar)
        check([(b["name"], b["role"]) for b in bar["children"]] ==
              [("Minimize", ROLE_PUSHBUTTON), ("Close", ROLE_PUSHBUTTON)],
              "the title buttons read %r" % bar["children"])

        # Its default action starts the attach; the success message follows.
        press(session, client, MAIN_TITLE, BUTTON_CAPTION)
        session.wait_window("提醒")
        batches = [event["text"] for event in session.peer_events("batch")]
        check(batches == [attach_text(folder)], "the peer received %r" % batches)

        message = reader(session, client, "提醒")["client"]
        check(message["role"] == ROLE_DIALOG and message["name"] == "提醒", "the message reads %r" % message)
        order = [(node["role"], node["name"]) for node in reading_order(message)]
        text, ok = (ROLE_STATICTEXT, "数据库安装成功！"), (ROLE_PUSHBUTTON, "确定")
        check(text in order and ok in order and order.index(text) < order.index(ok),
              "the text is not read before the button: %r" % order)
        session.screenshot("message")
        press(session, client, "提醒", "确定")
        session.wait_gone("提醒")
        wait_until("the main window to be usable again", lambda: session.window(MAIN_TITLE)["enabled"], 10)

        # The title bar's close button ends the program.
        press(session, client, MAIN_TITLE, "Close")
        session.wait_gone(MAIN_TITLE)
        wait_until("the program to end", lambda: process.poll() is not None, 30)
        check(process.returncode == 0, "the program ended with %r" % process.returncode)


if __name__ == "__main__":
    run(test)
