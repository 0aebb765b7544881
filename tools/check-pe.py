#!/usr/bin/env python3
"""Checks that a program is a Windows GUI executable of the expected architecture."""
import struct
import sys

EXPECT = {"i686": (0x014C, 0x10B, "PE32"), "x86_64": (0x8664, 0x20B, "PE32+")}
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2


def main(path, arch):
    machine_want, magic_want, name = EXPECT[arch]
    data = open(path, "rb").read(4096)
    if data[:2] != b"MZ":
        sys.exit(f"{path}: not an executable (no MZ header)")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit(f"{path}: no PE signature")
    machine = struct.unpack_from("<H", data, pe + 4)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    if (machine, magic) != (machine_want, magic_want):
        sys.exit(f"{path}: machine {machine:#x} magic {magic:#x}, want {name}")
    if subsystem != IMAGE_SUBSYSTEM_WINDOWS_GUI:
        sys.exit(f"{path}: subsystem {subsystem}, want Windows GUI")
    print(f"{path}: {name} GUI")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
