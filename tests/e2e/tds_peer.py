#!/usr/bin/python3
"""A loopback database peer that speaks enough of the server's wire protocol
(TDS 7.x) for the installer: it answers the pre-login without encryption,
accepts only an integrated (Kerberos) login, checked with the service keytab,
records every SQL batch it receives, and answers the first attach of a
database with success and any later one with the server's "already exists"
error.

Run:  tds_peer.py --port P --log FILE [--ready FILE] [--exists-message TEXT] [--refuse-logins]
With --refuse-logins every login is recorded and refused, as by a server that
knows no login for the account.
Needs KRB5_CONFIG and KRB5_KTNAME in its environment. Each event is one JSON
line in the log: {"event": "login", ...}, {"event": "batch", "text": ...}.

A server that never answers: --silent before-login takes connections and
says nothing at all; --silent after-login logs in and then answers nothing
(no batch, no cancel), as over a link that dropped without a reset. A server
of the installer's age: --tds-version 7.1 acknowledges every login with
TDS 7.1 and the version of SQL Server 2000, and reads and answers as such.
"""
import argparse
import json
import os
import socket
import socketserver
import struct
import sys
import threading

import gssapi

PRELOGIN, LOGIN7, SQL_BATCH, RPC, ATTENTION, SSPI = 0x12, 0x10, 0x01, 0x03, 0x06, 0x11
REPLY = 0x04
DONE_FINAL, DONE_ERROR, DONE_ATTN = 0x0000, 0x0002, 0x0020
SERVER_NAME = "KESTUPEER"


class Log:
    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()

    def write(self, **event):
        with self.lock, open(self.path, "a", encoding="utf-8") as out:
            out.write(json.dumps(event, ensure_ascii=False) + "\n")


class Server:
    """State shared by all connections: the databases attached so far."""

    def __init__(self, log, exists_message, refuse_logins):
        self.log = log
        self.exists_message = exists_message
        self.refuse_logins = refuse_logins
        self.attached = set()
        self.lock = threading.Lock()

    def attach(self, name):
        with self.lock:
            if name in self.attached:
                return False
            self.attached.add(name)
            return True


# --- token writers -------------------------------------------------------

def b_varchar(text):
    data = text.encode("utf-16-le")
    return bytes([len(text)]) + data


def us_varchar(text):
    return struct.pack("<H", len(text)) + text.encode("utf-16-le")


def token(kind, body):
    return bytes([kind]) + struct.pack("<H", len(body)) + body


def envchange(kind, new, old):
    return token(0xE3, bytes([kind]) + b_varchar(new) + b_varchar(old))


def collation_change():
    # Latin1_General_CI_AS: LCID 0x0409 with its flags, sort id 52.
    collation = bytes([0x09, 0x04, 0xD0, 0x00, 0x34])
    return token(0xE3, bytes([7, len(collation)]) + collation + bytes([0]))


class Connection(socketserver.BaseRequestHandler):
    def setup(self):
        self.version = 0x74000004  # the client's, once it has logged in
        self.packet_id = 1

    # --- packets ---------------------------------------------------------

    def read_exact(self, count):
        data = b""
        while len(data) < count:
            chunk = self.request.recv(count - len(data))
            if not chunk:
                raise EOFError
            data += chunk
        return data

    def read_message(self):
        kind, payload = None, b""
        while True:
            header = self.read_exact(8)
            kind = header[0]
            length = struct.unpack(">H", header[2:4])[0]
            payload += self.read_exact(length - 8)
            if header[1] & 0x01:
                return kind, payload

    def send_message(self, payload, kind=REPLY):
        size = 4096 - 8
        chunks = [payload[i:i + size] for i in range(0, len(payload), size)] or [b""]
        for index, chunk in enumerate(chunks):
            status = 0x01 if index == len(chunks) - 1 else 0x00
            header = struct.pack(">BBHHBB", kind, status, len(chunk) + 8, 0, self.packet_id & 0xFF, 0)
            self.packet_id += 1
            self.request.sendall(header + chunk)

    def done(self, status=DONE_FINAL, count=0):
        wide = self.version >= 0x72000000
        return bytes([0xFD]) + struct.pack("<HH", status, 0) + struct.pack("<Q" if wide else "<I", count)

    def error(self, number, state, severity, text):
        line = struct.pack("<I" if self.version >= 0x72000000 else "<H", 1)
        body = struct.pack("<IBB", number, state, severity) + us_varchar(text) + \
            b_varchar(SERVER_NAME) + b_varchar("") + line
        return token(0xAA, body)

    # --- conversation ----------------------------------------------------

    def handle(self):
        log = self.server.state.log
        silent = self.server.silent
        logged_in = False
        try:
            while True:
                kind, payload = self.read_message()
                if silent == "before-login" or (silent == "after-login" and logged_in):
                    log.write(event="unanswered", packet=kind)
                    continue
                if kind == PRELOGIN:
                    self.send_message(self.prelogin_reply())
                elif kind == LOGIN7:
                    if not self.login(payload):
                        return
                    logged_in = True
                elif kind == SQL_BATCH:
                    self.batch(payload)
                elif kind == ATTENTION:
                    self.send_message(self.done(DONE_ATTN))
                else:
                    log.write(event="unexpected", packet=kind)
                    self.send_message(self.error(102, 1, 15, "Unsupported request.") +
                                      self.done(DONE_ERROR))
        except (EOFError, ConnectionError):
            pass

    def prelogin_reply(self):
        options = [(0x00, bytes([8, 0, 0x07, 0xF8, 0, 0])),  # server 8.0.2040
                   (0x01, bytes([2])),                       # encryption: not supported
                   (0x02, bytes([0])),
                   (0x03, b""),
                   (0x04, bytes([0]))]
        offset = len(options) * 5 + 1
        head, body = b"", b""
        for option, data in options:
            head += struct.pack(">BHH", option, offset + len(body), len(data))
            body += data
        return head + b"\xff" + body

    def login(self, payload):
        log = self.server.state.log
        self.version = struct.unpack("<I", payload[4:8])[0]
        flags2 = payload[25]

        def field(at):
            offset, length = struct.unpack("<HH", payload[at:at + 4])
            return payload[offset:offset + 2 * length].decode("utf-16-le", "replace")

        user, password_length = field(40), struct.unpack("<H", payload[46:48])[0]
        sspi_offset, sspi_length = struct.unpack("<HH", payload[78:82])
        if sspi_length == 0xFFFF:
            sspi_length = struct.unpack("<I", payload[90:94])[0]
        token_in = payload[sspi_offset:sspi_offset + sspi_length]
        event = dict(event="login", integrated=bool(flags2 & 0x80), user=user,
                     password_sent=password_length > 0, host=field(36), app=field(48),
                     version="%08x" % self.version)
        principal, reply = None, b""
        if event["integrated"] and token_in:
            try:
                context = gssapi.SecurityContext(creds=gssapi.Credentials(usage="accept"),
                                                 usage="accept")
                reply = context.step(token_in) or b""
                if context.complete:
                    principal = str(context.initiator_name)
            except gssapi.exceptions.GSSError as failure:
                event["gss_error"] = str(failure)
        event["principal"] = principal
        log.write(**event)
        if principal is None or self.server.state.refuse_logins:
            self.send_message(self.error(18456, 1, 14, "Login failed for user ''.") +
                              self.done(DONE_ERROR))
            return False
        tokens = b""
        if reply:
            tokens += bytes([0xED]) + struct.pack("<H", len(reply)) + reply
        tokens += envchange(1, "master", "master")
        tokens += collation_change()
        tokens += envchange(2, "us_english", "")
        tokens += envchange(4, "4096", "4096")
        # The version both sides speak from here on: the client's, or the
        # older one a server of that age answers any client with.
        if self.server.tds_version is not None:
            self.version = min(self.version, self.server.tds_version)
        event_ack = "%08x" % self.version
        ack = bytes([1]) + struct.pack(">I", self.version) + b_varchar("Microsoft SQL Server") + \
            bytes([8, 0, 0x07, 0xF8])
        log.write(event="ack", version=event_ack)
        tokens += token(0xAD, ack)
        self.send_message(tokens + self.done())
        return True

    def batch(self, payload):
        state = self.server.state
        if self.version >= 0x72000000 and len(payload) >= 4:
            headers = struct.unpack("<I", payload[:4])[0]
            if 4 <= headers <= len(payload):
                payload = payload[headers:]
        text = payload.decode("utf-16-le", "replace")
        state.log.write(event="batch", text=text)
        if text.lstrip().upper().startswith("EXEC SP_ATTACH_DB"):
            name = text.split("N'", 1)[1].split("'", 1)[0] if "N'" in text else ""
            if not state.attach(name):
                self.send_message(self.error(1801, 3, 16, state.exists_message % name) +
                                  self.done(DONE_ERROR))
                return
        self.send_message(self.done())


class Listener(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--ready", help="file written once the peer listens")
    parser.add_argument("--silent", choices=["before-login", "after-login"],
                        help="answer nothing from the start, or once logged in")
    parser.add_argument("--tds-version", choices=["7.1"], help="speak as a server of this protocol version")
    parser.add_argument("--exists-message", default="Database '%s' already exists.",
                        help="the server's text for a second attach; %%s is the database")
    parser.add_argument("--refuse-logins", action="store_true", help="refuse every login")
    arguments = parser.parse_args()
    listener = Listener(("127.0.0.1", arguments.port), Connection)
    listener.silent = arguments.silent
    listener.tds_version = {"7.1": 0x71000001}.get(arguments.tds_version)
    listener.state = Server(Log(arguments.log), arguments.exists_message, arguments.refuse_logins)
    if arguments.ready:
        with open(arguments.ready, "w") as ready:
            ready.write(str(os.getpid()))
    try:
        listener.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    sys.exit(main())
