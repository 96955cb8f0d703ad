#!/usr/bin/env python3
"""The resource packer refuses inputs the installer could not read, with one
line per problem naming the file, and takes a vendor's files first.

Usage: pack_text_test.py SOURCE_DIR GENERATED_DIR"""
import hashlib
import os
import subprocess
import sys
import tempfile
import unittest
import zlib

SOURCE_DIR, GENERATED_DIR = sys.argv[1], sys.argv[2]
PACKER = os.path.join(SOURCE_DIR, "tools", "pack_text.py")


def pack(override):
    out = tempfile.mkdtemp()
    result = subprocess.run(
        [sys.executable, PACKER,
         "--table", os.path.join(SOURCE_DIR, "resources", "text_resources.tsv"),
         "--ids", os.path.join(SOURCE_DIR, "resources", "resource_ids.h"),
         "--payload", os.path.join(SOURCE_DIR, "resources", "payload"),
         "--generated", GENERATED_DIR, "--override", override, "--out", out],
        capture_output=True, text=True)
    return result, out


class Packer(unittest.TestCase):
    def setUp(self):
        self.override = tempfile.mkdtemp()

    def put(self, name, data):
        with open(os.path.join(self.override, name), "wb") as f:
            f.write(data)

    def test_capacity_is_the_limit(self):
        # Data that does not compress must not grow past stored blocks'
        # 5 bytes per 65,535 and the zlib wrapping.
        noise = b"".join(hashlib.sha256(b"%d" % n).digest() for n in range(6400))
        inputs = {204: b"s" * 1048576, 161: b"x" * 65535, 203: noise}
        self.put("sort.dic", inputs[204])
        self.put("licence_en.txt", inputs[161])
        self.put("CH2PYPZ2.BIN", noise)
        result, out = pack(self.override)
        self.assertEqual(0, result.returncode, result.stderr)
        for number, data in inputs.items():
            with open(os.path.join(out, "%d.z" % number), "rb") as f:
                stream = f.read()
            self.assertEqual(b"\x78\xda", stream[:2])
            self.assertEqual(data, zlib.decompress(stream))
        self.assertLessEqual(len(stream), len(noise) + 5 * 4 + 6)

        self.put("licence_en.txt", b"x" * 65536)
        self.put("sort.dic", b"s" * 1048577)
        result, _ = pack(self.override)
        self.assertNotEqual(0, result.returncode)
        lines = result.stderr.strip().splitlines()
        self.assertEqual(2, len(lines), result.stderr)
        self.assertIn("licence_en.txt: 65536 bytes, more than the 65535", lines[0])
        self.assertIn("sort.dic: 1048577 bytes, more than the 1048576", lines[1])

    def test_licence_lines_and_characters_are_checked(self):
        line = b"\xb0\xa1" * 129 + b"x"  # 259 bytes: fits
        self.put("licence_zh.txt", line + b"\r\n" + line + b"y\r\n"
                 + b"\xd8\xa1\r\n"        # level 2: beyond the shipped cells
                 + b"\xa8\xa1\r\n"        # pinyin a: would draw the cell of 0xB0A1
                 + b"\x81\x40\r\n"        # GBK only: shares a cell with another code
                 + b"\xb0\xa1\xd7\xf9\r\n")  # first and last level-1 characters: fine
        result, _ = pack(self.override)
        self.assertNotEqual(0, result.returncode)
        lines = result.stderr.strip().splitlines()
        self.assertEqual(4, len(lines), result.stderr)
        self.assertIn("licence_zh.txt:2: line of 260 bytes", lines[0])
        for number, code, line in zip((3, 4, 5), ("D8A1", "A8A1", "8140"), lines[1:]):
            self.assertIn("licence_zh.txt:%d: character 0x%s is not in the glyph atlas"
                          % (number, code), line)

        # Lines are cut at CR, as the wizard cuts them.
        self.put("licence_zh.txt", b"\xb0\xa1\n\xb0\xa1\n")
        result, _ = pack(self.override)
        self.assertNotEqual(0, result.returncode)
        self.assertIn("licence_zh.txt:1: a line ends in LF alone", result.stderr)
        self.put("licence_zh.txt", b"\xb0\xa1\r\nlast")
        result, _ = pack(self.override)
        self.assertIn("licence_zh.txt:2: the last line has no CR LF", result.stderr)

    def test_settings_file_leaves_the_key_to_the_installer(self):
        self.put("MorivaneUI.ini", b"[A]\r\nB=1\nUILanguage=1\r\nC=2")
        result, _ = pack(self.override)
        self.assertNotEqual(0, result.returncode)
        lines = result.stderr.strip().splitlines()
        self.assertEqual(3, len(lines), result.stderr)
        self.assertIn("MorivaneUI.ini: a line does not end in CR LF", lines[0])
        self.assertIn("MorivaneUI.ini: the last line has no CR LF", lines[1])
        self.assertIn("MorivaneUI.ini: holds a UILanguage key", lines[2])

    def test_missing_input_is_named(self):
        os.rmdir(self.override)
        os.makedirs(self.override)
        table_dir = tempfile.mkdtemp()
        result = subprocess.run(
            [sys.executable, PACKER,
             "--table", os.path.join(SOURCE_DIR, "resources", "text_resources.tsv"),
             "--ids", os.path.join(SOURCE_DIR, "resources", "resource_ids.h"),
             "--payload", table_dir, "--generated", GENERATED_DIR,
             "--out", tempfile.mkdtemp()], capture_output=True, text=True)
        self.assertNotEqual(0, result.returncode)
        self.assertIn("error: licence_zh.txt: missing (resource 124)", result.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
