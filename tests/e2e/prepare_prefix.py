#!/usr/bin/python3
"""Makes the Wine prefix the end-to-end tests share, once, before the first
of them: a cold Wine takes a minute and more to build one on a loaded
machine, longer than a test should wait for a window.

prepare_prefix.py KestuSetup.exe
"""
import sys

from harness import Session


def main():
    program = sys.argv[1]
    with Session(program, program, "prefix") as session:
        print("prepared %s" % session.prefix)


if __name__ == "__main__":
    main()
