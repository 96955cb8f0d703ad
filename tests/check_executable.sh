#!/bin/sh
# Checks the built installer's PE header from the host side: PE32, i386, GUI
# subsystem, resources on a page boundary. (Its imports are checked by the
# build itself.)
set -eu
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
fail() { echo "FAIL: $*"; exit 1; }
echo "$dump" | grep -q '^Magic[[:space:]]*010b' || fail "not PE32"
i686-w64-mingw32-objdump -f "$exe" | grep -q 'architecture: i386' || fail "not i386"
echo "$dump" | grep -q '^Subsystem[[:space:]]*00000002' || fail "not a GUI program"
# Wine maps the resources, the payload, only from a page boundary in the file.
rsrc=$(i686-w64-mingw32-objdump -h "$exe" | awk '$2 == ".rsrc" { print $6 }')
[ -n "$rsrc" ] && [ $((0x$rsrc % 4096)) -eq 0 ] || fail "resources at file offset 0x$rsrc, not on a page"
echo "PASS: PE32 i386 GUI, resources on a page"
