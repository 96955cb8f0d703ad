#!/usr/bin/env python3
"""Writes the test-only resource inputs into the given folder:
stream_4096.z, a zlib stream of exactly 4,096 bytes of a known pattern;
damaged.z, that stream with its deflate data broken;
package_size.z, 11,555,328 bytes (the real package's size) of xorshift32
output, which deflate cannot shrink, in stored blocks (quick to make);
over_speech_buffer.z, 12,582,913 zero bytes: one more than the package
buffer holds (compressed, so that the test program stays small)."""
import array
import os
import sys
import zlib

PACKAGE_SIZE = 11555328
SPEECH_BUFFER_SIZE = 12582912


def xorshift32_bytes(count, seed=0x2545F491):
    """The generator the test repeats: each state, little-endian."""
    words = array.array("I", bytes(4 * ((count + 3) // 4)))
    x = seed
    for i in range(len(words)):
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        words[i] = x
    if sys.byteorder != "little":
        words.byteswap()
    return words.tobytes()[:count]


def write(name, data):
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)


out = sys.argv[1]
data = bytes((i * 7) % 251 for i in range(4096))
stream = zlib.compress(data, 9)
write("stream_4096.z", stream)
damaged = bytearray(stream)
damaged[len(damaged) // 2] ^= 0xFF
damaged[-1] ^= 0xFF
write("damaged.z", damaged)
write("package_size.z", zlib.compress(xorshift32_bytes(PACKAGE_SIZE), 0))
write("over_speech_buffer.z", zlib.compress(bytes(SPEECH_BUFFER_SIZE + 1), 9))
