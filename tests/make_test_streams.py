#!/usr/bin/env python3
"""Writes the test-only resource inputs into the given folder:
stream_4096.z, a zlib stream of exactly 4,096 bytes of a known pattern, and
damaged.z, that stream with its deflate data broken."""
import os
import sys
import zlib

out = sys.argv[1]
data = bytes((i * 7) % 251 for i in range(4096))
stream = zlib.compress(data, 9)
with open(os.path.join(out, "stream_4096.z"), "wb") as f:
    f.write(stream)
damaged = bytearray(stream)
damaged[len(damaged) // 2] ^= 0xFF
damaged[-1] ^= 0xFF
with open(os.path.join(out, "damaged.z"), "wb") as f:
    f.write(damaged)
