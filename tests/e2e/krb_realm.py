#!/usr/bin/python3
"""A throw-away Kerberos realm on loopback, owned by the caller, no root
needed: a KDC database and configuration in a given folder, the service
principals of a database peer on a given port, a test user with a ticket.

As a module: with Realm(folder, service_port) as realm: ... realm.environment
As a script: krb_realm.py FOLDER SERVICE_PORT  (prints the environment, runs
the KDC until interrupted).
"""
import os
import socket
import subprocess
import sys
import time

REALM = "TEST.LOCAL"
USER = "tester"
PASSWORD = "tester-password"


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for_port(port, timeout, process=None):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if process is not None and process.poll() is not None:
            raise RuntimeError("process exited early with code %d" % process.returncode)
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=0.2):
                return
        except OSError:
            time.sleep(0.05)
    raise TimeoutError("nothing listens on port %d after %ss" % (port, timeout))


class Realm:
    def __init__(self, folder, service_port):
        self.folder = os.path.abspath(folder)
        self.service_port = service_port
        self.kdc_port = free_port()
        self.kdc = None
        self.keytab = os.path.join(self.folder, "service.keytab")
        self.environment = {
            "KRB5_CONFIG": os.path.join(self.folder, "krb5.conf"),
            "KRB5_KDC_PROFILE": os.path.join(self.folder, "kdc.conf"),
            "KRB5CCNAME": "FILE:" + os.path.join(self.folder, "ccache"),
            "KRB5_KTNAME": "FILE:" + self.keytab,
            "KRB5RCACHETYPE": "none",
        }

    def _run(self, *command, stdin=None):
        subprocess.run(command, input=stdin, env={**os.environ, **self.environment}, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, timeout=120)

    def start(self):
        os.makedirs(self.folder, exist_ok=True)
        database = os.path.join(self.folder, "principal")
        with open(self.environment["KRB5_CONFIG"], "w") as out:
            out.write(f"""[libdefaults]
  default_realm = {REALM}
  dns_lookup_kdc = false
  dns_lookup_realm = false
  dns_canonicalize_hostname = false
  rdns = false
  udp_preference_limit = 1
  ticket_lifetime = 1h
[realms]
  {REALM} = {{
    kdc = 127.0.0.1:{self.kdc_port}
  }}
[domain_realm]
  localhost = {REALM}
""")
        with open(self.environment["KRB5_KDC_PROFILE"], "w") as out:
            out.write(f"""[kdcdefaults]
  kdc_ports = {self.kdc_port}
  kdc_tcp_ports = {self.kdc_port}
[realms]
  {REALM} = {{
    database_name = {database}
    key_stash_file = {self.folder}/stash
    acl_file = {self.folder}/kadm5.acl
    kdc_ports = {self.kdc_port}
    kdc_tcp_ports = {self.kdc_port}
  }}
[logging]
  kdc = FILE:{self.folder}/kdc.log
""")
        self._run("kdb5_util", "create", "-s", "-r", REALM, "-P", "master-password")
        service = f"MSSQLSvc/localhost:{self.service_port}"
        for query in (f"addprinc -pw {PASSWORD} {USER}",
                      f"addprinc -randkey {service}",
                      "addprinc -randkey MSSQLSvc/localhost",
                      f"ktadd -k {self.keytab} {service} MSSQLSvc/localhost"):
            self._run("kadmin.local", "-r", REALM, "-q", query)
        self.kdc = subprocess.Popen(["krb5kdc", "-n", "-r", REALM],
                                    env={**os.environ, **self.environment},
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(self.kdc_port, 60, self.kdc)  # a loaded machine starts it slowly
        self._run("kinit", f"{USER}@{REALM}", stdin=PASSWORD + "\n")
        return self

    def stop(self):
        if self.kdc is not None and self.kdc.poll() is None:
            self.kdc.terminate()
            try:
                self.kdc.wait(5)
            except subprocess.TimeoutExpired:
                self.kdc.kill()
                self.kdc.wait()
        self.kdc = None

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.stop()
            raise

    def __exit__(self, *failure):
        self.stop()


def main():
    folder, port = sys.argv[1], int(sys.argv[2])
    with Realm(folder, port) as realm:
        for name, value in realm.environment.items():
            print(f"export {name}={value}")
        sys.stdout.flush()
        try:
            realm.kdc.wait()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
