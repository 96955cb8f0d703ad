#!/usr/bin/env python3
"""Writes the linker options that make a program started without the C
runtime's start-up objects link with link-time optimisation.

GNU ld (2.40) crashes when a symbol that only link-time-optimised code refers
to is then taken from a library member, if no start-up object has pulled that
member in first. So every outside symbol that the program's own libraries
refer to is named up front with -u: the C library functions and GUIDs they
use, and the helpers the compiler calls by itself. Windows functions
(stdcall names, "_Name@N") come from import libraries that are always read
in time, and are left out where they can be told apart.
Usage: link_references.py NM PREFIX OUT_FILE LIBRARY...
PREFIX is what the target puts before C names ("_" on 32-bit Windows, "-"
for nothing).
"""
import re
import subprocess
import sys

from generated_file import write_if_changed

# Called by code the compiler generates, not named in the sources (its
# assembler name is the same on every target), and the C library functions it
# knows as built-ins, which its symbol tables leave out.
STACK_PROBE = "___chkstk_ms"
BUILT_INS = ["memcpy", "memset", "memmove", "memcmp", "memchr", "malloc", "calloc", "free",
             "strlen", "strcmp", "strncmp", "strcpy", "strncpy", "strcat", "strchr", "strrchr",
             "strstr", "strspn", "strcspn", "strpbrk"]


def symbols(nm, library):
    """The defined and the undefined symbols of a library, as two sets."""
    out = subprocess.run([nm, library], check=True, capture_output=True, text=True).stdout
    defined, undefined = set(), set()
    for line in out.splitlines():
        fields = line.split()
        if len(fields) == 2 and fields[0] == "U":
            undefined.add(fields[1])
        elif len(fields) == 3 and fields[1] not in "Uw":
            defined.add(fields[2])
    return defined, undefined


def main(argv):
    if len(argv) < 5:
        sys.exit(__doc__)
    nm, prefix, out = argv[1], argv[2].strip("-"), argv[3]
    defined, undefined = set(), set()
    for library in argv[4:]:
        d, u = symbols(nm, library)
        defined |= d
        undefined |= u
    helpers = {STACK_PROBE} | {prefix + name for name in BUILT_INS}
    names = sorted((undefined - defined) | helpers)
    names = [n for n in names if not re.search(r"@\d+$", n) and not n.startswith("__imp_")]
    text = "".join("-Wl,-u,%s\n" % name for name in names)
    write_if_changed(out, text.encode("ascii"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
