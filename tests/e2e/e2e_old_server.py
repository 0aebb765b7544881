#!/usr/bin/python3
"""A server of the installer's age: the peer speaks TDS 7.1 and answers as
SQL Server 2000. The installer's driver asks for a newer protocol, takes the
older one the server acknowledges, and the attach goes through as on a
newer server: the success message, and exactly the attach statement at the
peer, read as TDS 7.1 reads it.

e2e_old_server.py KestuSetup.exe inspect_windows.exe
"""
from harness import (BUTTON_CAPTION, MAIN_TITLE, Session, attach_text, check, check_success_message,
                     close_themed_message, run)


def test(program, inspector):
    with Session(program, inspector, "oldserver") as session:
        session.start_realm_and_peer("--tds-version", "7.1")
        folder = session.install_program("Setup")
        session.start_program(session.peer_port)
        main = session.wait_window(MAIN_TITLE)
        session.click_child(main, BUTTON_CAPTION)
        box = session.wait_window("提醒")
        check_success_message(session, box)
        acks = [event["version"] for event in session.peer_events("ack")]
        check(acks == ["71000001"], "the server acknowledged %r" % acks)
        logins = session.peer_events("login")
        check(len(logins) == 1 and logins[0]["version"] >= "71000001", "logins: %r" % logins)
        batches = [event["text"] for event in session.peer_events("batch")]
        check(batches == [attach_text(folder)], "the peer received %r" % batches)
        close_themed_message(session, box)


if __name__ == "__main__":
    run(test)
