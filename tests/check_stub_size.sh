#!/bin/sh
# The installer without its TEXT resources must stay under 64 KiB: a stub
# that grows past it has usually picked up a library built for speed (such
# as Debian's zlib, with gzip and CRC-32 code) or unwind tables.
# Usage: check_stub_size.sh MorivaneSetup.exe TEXT_STREAM_FOLDER
set -eu
exe=$1
streams=$(cat "$2"/*.z | wc -c)
stub=$(( $(stat -c %s "$exe") - streams ))
limit=65536
echo "stub: $stub bytes (installer $(stat -c %s "$exe"), streams $streams), limit $limit"
[ "$stub" -lt "$limit" ] || { echo "FAIL: the stub is $stub bytes, not under $limit"; exit 1; }
