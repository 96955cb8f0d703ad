#!/bin/sh
# Checks the built installer's PE header and imports from the host side:
# PE32, i386, GUI subsystem, and no DLL but the system's.
set -eu
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
fail() { echo "FAIL: $*"; exit 1; }
echo "$dump" | grep -q '^Magic[[:space:]]*010b' || fail "not PE32"
i686-w64-mingw32-objdump -f "$exe" | grep -q 'architecture: i386' || fail "not i386"
echo "$dump" | grep -q '^Subsystem[[:space:]]*00000002' || fail "not a GUI program"
dlls=$(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports: $(echo $dlls)"
for dll in $dlls; do
    case $dll in
    kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|shell32.dll| \
    ole32.dll|advapi32.dll|msvcrt.dll) ;;
    *) fail "imports $dll" ;;
    esac
done
echo "PASS: PE32 i386 GUI, system DLLs only"
