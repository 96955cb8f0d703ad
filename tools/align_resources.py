#!/usr/bin/env python3
"""Moves a linked program's resource section to a page boundary in its file.

Windows maps a program's sections wherever they lie in the file, but Wine
maps only those whose data starts on a page boundary and reads every other
section whole at start-up: for an installer whose payload lives in its
resources, that is every payload byte read before the first window, and
held. GNU ld places sections at the file alignment (512 bytes), so the
resource section, and the sections after it, are moved here to the next
4 KiB boundary, zeros before them. Addresses in memory do not change. Runs
before the program is signed.
Usage: align_resources.py PROGRAM
"""
import struct
import sys

PAGE = 4096


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    path = argv[1]
    data = bytearray(open(path, "rb").read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit("%s: not a PE image" % path)
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    table = pe + 24 + optional_size
    rows = []
    for i in range(sections):
        at = table + 40 * i
        name = bytes(data[at:at + 8]).rstrip(b"\0")
        raw_size, raw_pointer = struct.unpack_from("<II", data, at + 16)
        rows.append((name, at, raw_size, raw_pointer))
    rsrc = [row for row in rows if row[0] == b".rsrc"]
    if not rsrc:
        sys.exit("%s: no resource section" % path)
    start = rsrc[0][3]
    shift = -start % PAGE
    if shift == 0:
        return 0
    if struct.unpack_from("<I", data, pe + 24 + (128 if data[pe + 24] == 0x0B else 144))[0]:
        sys.exit("%s: signed already; align before signing" % path)
    for name, at, raw_size, raw_pointer in rows:
        if raw_size and raw_pointer >= start:
            struct.pack_into("<I", data, at + 20, raw_pointer + shift)
    # A program that keeps its symbols has them after the sections.
    symbols = struct.unpack_from("<I", data, pe + 12)[0]
    if symbols >= start:
        struct.pack_into("<I", data, pe + 12, symbols + shift)
    data[start:start] = bytes(shift)
    with open(path, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
