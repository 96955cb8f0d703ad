#!/usr/bin/env python3
"""Checks that a program imports only Windows' known DLLs (one name a line in
resources/known_dlls.txt). Windows looks for any other imported DLL in the
program's own folder first, before the program's first line runs, so a DLL
downloaded beside it would be loaded. A delay-loaded DLL is no better: the
helper loads it by name at its first call. On a problem it prints one line
per DLL naming the program, removes the program (so that no later step takes
it) and exits 1.

Usage: check_imports.py OBJDUMP KNOWN_DLLS PROGRAM
"""
import os
import struct
import subprocess
import sys

DELAY_IMPORT_DIRECTORY = 13
DELAY_HELPER = "__delayLoadHelper2"


def known_dlls(path):
    with open(path, encoding="utf-8") as f:
        return {line.strip().lower() for line in f
                if line.strip() and not line.lstrip().startswith("#")}


def imported_dlls(objdump, program):
    """Every DLL of the import table, as objdump names them."""
    dump = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                          text=True).stdout
    return {line.split("DLL Name:", 1)[1].strip().lower()
            for line in dump.splitlines() if "DLL Name:" in line}


def links_delay_helper(objdump, program):
    """Whether the symbol table (absent from a stripped program) names the helper."""
    dump = subprocess.run([objdump, "-t", program], capture_output=True, text=True).stdout
    return DELAY_HELPER in dump


class Image:
    def __init__(self, data):
        self.data = data
        header = struct.unpack_from("<I", data, 0x3C)[0]
        sections, optional_size = struct.unpack_from("<H12xH", data, header + 6)
        optional = header + 24
        pe32 = struct.unpack_from("<H", data, optional)[0] == 0x10B
        self.base = struct.unpack_from("<I" if pe32 else "<Q", data,
                                       optional + (28 if pe32 else 24))[0]
        directories = optional + (96 if pe32 else 112)
        self.delay_directory = struct.unpack_from("<II", data,
                                                  directories + 8 * DELAY_IMPORT_DIRECTORY)
        self.sections = []
        for i in range(sections):
            va, raw_size, raw = struct.unpack_from("<12xIII", data,
                                                   optional + optional_size + 40 * i)
            self.sections.append((va, raw_size, raw))

    def offset(self, rva):
        for va, raw_size, raw in self.sections:
            if va <= rva < va + raw_size:
                return raw + rva - va
        return None

    def dll_name(self, rva):
        at = self.offset(rva)
        if at is None:
            return None
        name = self.data[at:at + 260].split(b"\0", 1)[0]
        if not name or any(b < 0x21 or b > 0x7E for b in name):
            return None
        return name.decode("ascii").lower()


def delay_dlls(image):
    """DLL names of the delay-import directory, and of every delay-load
    descriptor found anywhere in the image: GNU ld leaves the directory empty
    for dlltool's delay libraries, whose descriptors still drive the helper."""
    names = set()
    rva, size = image.delay_directory
    at = image.offset(rva) if rva else None
    while at is not None and at + 32 <= len(image.data):
        attributes, name = struct.unpack_from("<II", image.data, at)
        if name == 0:
            break
        # Old-style descriptors hold addresses, not RVAs.
        found = image.dll_name(name if attributes & 1 else name - image.base)
        names.add(found or "(unreadable name)")
        at += 32
    for _, raw_size, raw in image.sections:
        for at in range(raw, raw + raw_size - 31, 4):
            fields = struct.unpack_from("<8I", image.data, at)
            attributes, name, module, iat, names_table, _, _, stamp = fields
            if attributes == 1 and module and iat and names_table and stamp == 0:
                found = image.dll_name(name)
                if found and found.endswith(".dll"):
                    names.add(found)
    return names, rva != 0


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    objdump, known_path, program = argv[1:]
    known = known_dlls(known_path)
    with open(program, "rb") as f:
        image = Image(f.read())
    delayed, has_directory = delay_dlls(image)
    name = os.path.basename(program)
    problems = []
    for dll in sorted(imported_dlls(objdump, program) | delayed):
        if dll not in known:
            problems.append("%s %s %s, which is not one of Windows' known DLLs (%s): "
                            "load it at run time from the system folder"
                            % (name, "delay-loads" if dll in delayed else "imports", dll,
                               os.path.basename(known_path)))
    if not delayed and not has_directory and links_delay_helper(objdump, program):
        problems.append("%s links %s but has no delay-import directory to check"
                        % (name, DELAY_HELPER))
    for problem in problems:
        print("error: " + problem, file=sys.stderr)
    if problems:
        os.remove(program)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
