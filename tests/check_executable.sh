#!/bin/sh
# Checks the built installer's PE header from the host side: PE32, i386, GUI
# subsystem. (Its imports are checked by the build itself.)
set -eu
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
fail() { echo "FAIL: $*"; exit 1; }
echo "$dump" | grep -q '^Magic[[:space:]]*010b' || fail "not PE32"
i686-w64-mingw32-objdump -f "$exe" | grep -q 'architecture: i386' || fail "not i386"
echo "$dump" | grep -q '^Subsystem[[:space:]]*00000002' || fail "not a GUI program"
echo "PASS: PE32 i386 GUI"
