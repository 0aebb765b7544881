#!/usr/bin/python3
"""The Wine prefix the tools agree on: tools/wine-run's default follows the
build root (KESTU_BUILD, else build/), KESTU_WINEPREFIX overrides it, and
tools/test stops the wine server of that same prefix.

Run from the repository root (CTest does).
"""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def prefix(**variables):
    environment = {k: v for k, v in os.environ.items() if k not in ("KESTU_BUILD", "KESTU_WINEPREFIX")}
    environment.update(variables)
    return subprocess.run([os.path.join(ROOT, "tools", "wine-run"), "--prefix"], env=environment,
                          capture_output=True, text=True, check=True, timeout=30).stdout.strip()


def main():
    failures = []
    cases = [({}, os.path.join(ROOT, "build", "wineprefix")),
             ({"KESTU_BUILD": "/tmp/elsewhere"}, "/tmp/elsewhere/wineprefix"),
             ({"KESTU_BUILD": "/tmp/elsewhere", "KESTU_WINEPREFIX": "/tmp/own"}, "/tmp/own")]
    for variables, wanted in cases:
        got = prefix(**variables)
        if got != wanted:
            failures.append("%r: wine-run uses %s, expected %s" % (variables, got, wanted))
    test = open(os.path.join(ROOT, "tools", "test"), encoding="utf-8").read()
    if "wine-run\" --prefix" not in test:
        failures.append("tools/test does not ask wine-run for the prefix it stops")
    for line in failures:
        print(line)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
