#!/usr/bin/env python3
"""Checks that a program imports only Windows' known DLLs (one name a line in
resources/known_dlls.txt). Windows looks for any other imported DLL in the
program's own folder first, before the program's first line runs, so a DLL
downloaded beside it would be loaded. On a problem it prints one line per DLL
naming the program, removes the program (so that no later step takes it) and
exits 1.

Usage: check_imports.py OBJDUMP KNOWN_DLLS PROGRAM
"""
import os
import subprocess
import sys


def known_dlls(path):
    with open(path, encoding="utf-8") as f:
        return {line.strip().lower() for line in f
                if line.strip() and not line.lstrip().startswith("#")}


def imported_dlls(objdump, program):
    """Every DLL of the import and delay-import tables, as objdump names them."""
    dump = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                          text=True).stdout
    return sorted({line.split("DLL Name:", 1)[1].strip().lower()
                   for line in dump.splitlines() if "DLL Name:" in line})


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    objdump, known_path, program = argv[1:]
    known = known_dlls(known_path)
    strangers = [dll for dll in imported_dlls(objdump, program) if dll not in known]
    for dll in strangers:
        print("error: %s imports %s, which is not one of Windows' known DLLs (%s): "
              "load it at run time from the system folder"
              % (os.path.basename(program), dll, os.path.basename(known_path)),
              file=sys.stderr)
    if strangers:
        os.remove(program)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
