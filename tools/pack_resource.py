#!/usr/bin/python3
"""Packs a resource file for the program: "KPK1", the unpacked length
(4 bytes, little-endian) and the data in the system's LZNT1 format, which the
program unpacks with ntdll's RtlDecompressBuffer.

pack_resource.py input output
"""
import struct
import sys

MAGIC = b"KPK1"
CHUNK = 4096
CANDIDATES = 48  # earlier places of a 3-byte key tried for each match


def displacement_bits(written):
    """Bits of a copy token's displacement after `written` bytes of a chunk."""
    for bits in range(12, 4, -1):
        if (1 << (bits - 1)) < written:
            return bits
    return 4


def pack_chunk(chunk):
    out = bytearray()
    places = {}
    pos, n = 0, len(chunk)

    def remember(upto):
        nonlocal remembered
        while remembered < upto and remembered + 3 <= n:
            places.setdefault(chunk[remembered:remembered + 3], []).append(remembered)
            remembered += 1
    remembered = 0
    while pos < n:
        flag_at = len(out)
        out.append(0)
        flags = 0
        for bit in range(8):
            if pos >= n:
                break
            remember(pos)
            bits = displacement_bits(pos)
            longest_allowed = min((1 << (16 - bits)) + 2, n - pos)
            best_length, best_distance = 0, 0
            if longest_allowed >= 3:
                for earlier in reversed(places.get(chunk[pos:pos + 3], [])[-CANDIDATES:]):
                    distance = pos - earlier
                    if distance > (1 << bits):
                        break
                    length = 3
                    while length < longest_allowed and chunk[earlier + length] == chunk[pos + length]:
                        length += 1
                    if length > best_length:
                        best_length, best_distance = length, distance
                        if length == longest_allowed:
                            break
            if best_length >= 3:
                out += struct.pack("<H", ((best_distance - 1) << (16 - bits)) | (best_length - 3))
                flags |= 1 << bit
                pos += best_length
            else:
                out.append(chunk[pos])
                pos += 1
        out[flag_at] = flags
    return bytes(out)


def pack(data):
    out = bytearray(MAGIC + struct.pack("<I", len(data)))
    for start in range(0, len(data), CHUNK):
        chunk = data[start:start + CHUNK]
        packed = pack_chunk(chunk)
        if len(packed) < len(chunk):
            out += struct.pack("<H", 0xB000 | (len(packed) - 1)) + packed
        else:
            out += struct.pack("<H", 0x3000 | (len(chunk) - 1)) + chunk
    return bytes(out)


def main(source, target):
    with open(source, "rb") as f:
        data = f.read()
    with open(target, "wb") as f:
        f.write(pack(data))


if __name__ == "__main__":
    main(*sys.argv[1:])
