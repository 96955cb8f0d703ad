#!/bin/sh
# Runs the installer's link. When it fails, says the likely cause: GNU ld
# crashes (signal 11) on an outside symbol that tools/link_references.py did
# not name up front, such as a C library function newly called.
"$@" && exit 0
status=$?
echo "link failed: if ld crashed, add the C library function the installer now calls to" \
     "BUILT_INS in tools/link_references.py" >&2
exit $status
