#!/usr/bin/env python3
"""Checks that a program is a Windows GUI executable of the expected architecture;
with --max-bytes, also that it carries no debug sections and is at most that large."""
import os
import struct
import sys

EXPECT = {"i686": (0x014C, 0x10B, "PE32"), "x86_64": (0x8664, 0x20B, "PE32+")}
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2


def section_names(data, pe):
    count = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    table = pe + 24 + optional_size
    strings = struct.unpack_from("<I", data, pe + 12)[0] + 18 * struct.unpack_from("<I", data, pe + 16)[0]
    names = []
    for i in range(count):
        raw = data[table + 40 * i:table + 40 * i + 8].rstrip(b"\0").decode("latin-1")
        if raw.startswith("/") and strings:  # a long name in the string table
            start = strings + int(raw[1:])
            raw = data[start:data.index(b"\0", start)].decode("latin-1")
        names.append(raw)
    return names


def main(path, arch, max_bytes=None):
    machine_want, magic_want, name = EXPECT[arch]
    data = open(path, "rb").read()
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
    if max_bytes is not None:
        debug = [n for n in section_names(data, pe) if n.startswith(".debug")]
        if debug:
            sys.exit(f"{path}: carries debug sections {debug}")
        if os.path.getsize(path) > max_bytes:
            sys.exit(f"{path}: {os.path.getsize(path)} bytes, want at most {max_bytes}")
    print(f"{path}: {name} GUI, {os.path.getsize(path)} bytes")


if __name__ == "__main__":
    limit = int(sys.argv[sys.argv.index("--max-bytes") + 1]) if "--max-bytes" in sys.argv else None
    main(sys.argv[1], sys.argv[2], limit)
