#!/usr/bin/env python3
"""Makes a package built by wixl reproducible: gives it a fixed revision
(package code) through msibuild, and sets the creation and last-saved times of
its summary information to a fixed moment.

Usage: normalize_msi.py PACKAGE.msi PACKAGE_CODE SUBJECT AUTHOR

The summary information holds those times as VT_FILETIME values: the type
word 0x40 followed by eight bytes. The compound file has no checksums, so
they are rewritten in place; only values near the build's own clock are
touched, so nothing else that happens to look alike changes.
"""
import os
import struct
import subprocess
import sys
import time

VT_FILETIME = b"\x40\x00\x00\x00"
EPOCH_AS_FILETIME = 116444736000000000  # 1970-01-01 in 100 ns units since 1601
TICKS = 10000000
FIXED_MOMENT = int(os.environ.get("SOURCE_DATE_EPOCH", "1767225600"))  # 2026-01-01


def filetime(seconds):
    return EPOCH_AS_FILETIME + seconds * TICKS


def fix_times(data):
    now = filetime(int(time.time()))
    window = 2 * 86400 * TICKS
    fixed = struct.pack("<Q", filetime(FIXED_MOMENT))
    count = 0
    at = data.find(VT_FILETIME)
    while at >= 0:
        value_at = at + len(VT_FILETIME)
        (value,) = struct.unpack_from("<Q", data, value_at)
        if abs(value - now) < window:
            data[value_at:value_at + 8] = fixed
            count += 1
        at = data.find(VT_FILETIME, at + 1)
    return count


def main(path, package_code, subject, author):
    subprocess.run(["msibuild", path, "-s", subject, author, "Intel;1033", package_code],
                   check=True)
    with open(path, "rb") as f:
        data = bytearray(f.read())
    if fix_times(data) == 0:
        print("normalize_msi: no build times found in " + path, file=sys.stderr)
        return 1
    with open(path, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
