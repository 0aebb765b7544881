#!/usr/bin/python3
"""The program's folder reaches the server intact: Chinese characters arrive
as written, and an apostrophe in the folder is doubled inside the N'...'
literals instead of ending them. A server that answers in Chinese has its
text shown as sent, with the full stop the error box adds after a Chinese
character.

e2e_folder_text.py KestuSetup.exe inspect_windows.exe
"""
from harness import (APPLICATION_TITLE, BUTTON_CAPTION, MAIN_TITLE, Session, attach_text, check,
                     check_success_message, close_themed_message, message_box_text, run)


def test(program, inspector):
    with Session(program, inspector, "folder") as session:
        session.start_realm_and_peer("--exists-message", "数据库 '%s' 已存在。")
        folder = session.install_program("沐岚远帆 O'Neil 安装")
        check("沐岚远帆 O'Neil 安装\\" in folder, "unexpected folder %r" % folder)
        session.start_program(session.peer_port)
        main = session.wait_window(MAIN_TITLE)
        session.click_child(main, BUTTON_CAPTION)
        box = session.wait_window("提醒")
        check_success_message(session, box)
        batches = [event["text"] for event in session.peer_events("batch")]
        expected = attach_text(folder)
        check("N'Z:" in expected and "O''Neil" in expected, "bad expectation %r" % expected)
        check(batches == [expected], "the peer received %r, expected %r" % (batches, expected))
        print("peer received: %s" % batches[0])
        close_themed_message(session, box)

        main = session.wait_window(MAIN_TITLE)
        session.click_child(main, BUTTON_CAPTION)
        box = session.wait_window(APPLICATION_TITLE)
        text = message_box_text(box)
        check(text == "数据库 'Kestu' 已存在。.", "error text: %r" % text)


if __name__ == "__main__":
    run(test)
