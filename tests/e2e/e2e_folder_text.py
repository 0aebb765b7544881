#!/usr/bin/python3
"""The program's folder reaches the server intact: Chinese characters arrive
as written, and an apostrophe in the folder is doubled inside the N'...'
literals instead of ending them. A server that answers in Chinese has its
text shown as sent, with the full stop the error box adds after a Chinese
character.

e2e_folder_text.py KestuSetup.exe inspect_windows.exe
"""
from harness import (APPLICATION_TITLE, BUTTON_CAPTION, MAIN_TITLE, Session, attach_text, check,
                     message_box_text, run, texts_of)


def test(program, inspector):
    with Session(program, inspector, "folder") as session:
        session.start_realm_and_peer("--exists-message", "数据库 '%s' 已存在。")
        folder = session.install_program("沐岚远帆 O'Neil 安装")
        check("沐岚远帆 O'Neil 安装\\" in folder, "unexpected folder %r" % folder)
        session.start_program(session.peer_port)
        main = session.wait_window(MAIN_TITLE)
        session.click_child(main, BUTTON_CAPTION)
        box = session.wait_window("提醒")
        check(message_box_text(box) == "数据库安装成功！", "success text: %r" % message_box_text(box))
        batches = [event["text"] for event in session.peer_events("batch")]
        expected = attach_text(folder)
        check("N'Z:" in expected and "O''Neil" in expected, "bad expectation %r" % expected)
        check(batches == [expected], "the peer received %r, expected %r" % (batches, expected))
        print("peer received: %s" % batches[0])
        session.click_child(box, texts_of(box, "Button")[0])
        session.wait_gone("提醒")

        main = session.wait_window(MAIN_TITLE)
        session.click_child(main, BUTTON_CAPTION)
        box = session.wait_window(APPLICATION_TITLE)
        text = message_box_text(box)
        check(text == "数据库 'Kestu' 已存在。.", "error text: %r" % text)


if __name__ == "__main__":
    run(test)
