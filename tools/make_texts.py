#!/usr/bin/env python3
"""Converts the installer's text table (resources/texts.tsv, UTF-8) into the
exact bytes of each text's code page: OUT/texts.h declares them, OUT/texts.cpp
defines them, with the whole table (and each text's UTF-16) for the tests.
Also writes MAP, the UTF-16 of every double-byte code of the atlas's shipped
rows (atlas_cells.py: MAP_LEADS, 94 trail bytes each, little-endian, 0 where
none): what a drawn line reads as, on any code page.

Refuses, with one line per problem naming the table line: a character its
code page cannot hold, a non-ASCII character in an ascii row, a GBK
character that the installer's glyph atlas does not ship as itself, and a
text longer than the buffer that holds it, by the kind its name ends in
(BUFFERS below; the sizes are read from the C headers that define them).

Usage: make_texts.py TABLE ATLAS OUT MAP
"""
import os
import re
import sys

import atlas as atlas_tool
import atlas_cells
from generated_file import write_if_changed

# The buffer a text is drawn from, by the end of its name: a message's
# secondary text, its main text, a caption (copied whole for drawing). A
# format's arguments may still make it longer at run time: it is then cut
# whole characters at a time, or its fixed variant is shown.
BUFFERS = [(("SubText", "SubFormat"), "message/message_dialog.h", "MESSAGE_SUBTEXT_SIZE"),
           (("Text", "Format", "Caption"), "render/owner_draw.h", "MESSAGE_TEXT_SIZE")]

CODE_PAGES = {"gbk": ("gbk", 936, "TEXT_GBK"), "big5": ("big5", 950, "TEXT_BIG5"),
              "ascii": ("ascii", 20127, "TEXT_ASCII")}


def read_table(path):
    rows, problems = [], []
    names = set()
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            fields = line.split(None, 2)
            where = "%s:%d" % (path, number)
            if len(fields) != 3 or fields[1] not in CODE_PAGES:
                problems.append("%s: expected: name, gbk|big5|ascii, text" % where)
                continue
            name, page, text = fields
            if not re.fullmatch(r"k[A-Za-z0-9]+", name) or name in names:
                problems.append("%s: %s: not a new name of the form kName" % (where, name))
            if text != text.strip():
                problems.append("%s: %s: blanks at the end of the text" % (where, name))
            names.add(name)
            rows.append((where, name, page, text))
    return rows, problems


def encode(where, name, page, text, atlas):
    codec = CODE_PAGES[page][0]
    problems = []
    data = bytearray()
    for char in text:
        try:
            data += char.encode(codec)
        except UnicodeEncodeError:
            problems.append("%s: %s: %r cannot be stored in %s" % (where, name, char, page))
    if page == "gbk":
        i = 0
        while i < len(data):
            if data[i] < 0x80:
                i += 1
                continue
            code = data[i] << 8 | data[i + 1]
            if not atlas_tool.drawable(atlas, code):
                problems.append("%s: %s: %r (0x%04X) is not in the glyph atlas"
                                % (where, name, bytes(data[i:i + 2]).decode("gbk"), code))
            i += 2
    return bytes(data), problems


def unicode_map():
    out = bytearray()
    for lead in atlas_cells.MAP_LEADS:
        for trail in range(atlas_cells.TRAILS[0], atlas_cells.TRAILS[1] + 1):
            try:
                char = bytes((lead, trail)).decode("gbk")
            except UnicodeDecodeError:
                char = "\0"
            out += char.encode("utf-16-le")
    return bytes(out)


def wide_literal(text):
    """A C wide literal; non-ASCII characters as escapes, each closed off."""
    out = 'L"'
    for char in text:
        if ord(char) >= 0x80:
            out += '\\x%04X" L"' % ord(char)
        else:
            out += "\\" + char if char in '"\\' else char
    return out + '"'


def c_literal(data):
    """A C string literal; an escape is closed off before a hex digit."""
    out, escaped = '"', False
    for byte in data:
        char = chr(byte)
        if byte >= 0x80:
            out += "\\x%02X" % byte
            escaped = True
            continue
        if escaped and char in "0123456789abcdefABCDEF":
            out += '" "'
        escaped = False
        out += "\\" + char if char in '"\\' else char
    return out + '"'


def buffer_limits():
    """(name endings, the most bytes a text of them may have, the buffer's name)."""
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    limits = []
    for endings, header, constant in BUFFERS:
        text = open(os.path.join(root, header), encoding="utf-8").read()
        size = re.search(r"\b%s\s*=\s*(\d+)" % constant, text)
        if size is None:
            sys.exit("%s: no %s" % (header, constant))
        limits.append((endings, int(size.group(1)) - 1, constant))
    return limits


def length_problems(where, name, data, limits):
    for endings, most, constant in limits:
        if name.endswith(endings):
            if len(data) > most:
                return ["%s: %s: %d bytes, more than %s holds (%d)"
                        % (where, name, len(data), constant, most)]
            return []
    return []


def main(table, atlas_path, out, map_path):
    rows, problems = read_table(table)
    atlas = open(atlas_path, "rb").read()
    encoded = []
    limits = buffer_limits()
    for where, name, page, text in rows:
        data, text_problems = encode(where, name, page, text, atlas)
        problems += text_problems + length_problems(where, name, data, limits)
        encoded.append((name, page, text, data))
    if problems:
        for problem in problems:
            print("error: " + problem, file=sys.stderr)
        return 1

    header = ["/* Generated by tools/make_texts.py from resources/texts.tsv: edit the table. */",
              "#ifndef MORIVANE_TEXTS_H", "#define MORIVANE_TEXTS_H", "",
              "/* Code pages of the texts. */",
              "enum { TEXT_GBK = 936, TEXT_BIG5 = 950, TEXT_ASCII = 20127 };", "",
              "struct SystemText {", "    const char *name;", "    int codePage;",
              "    const char *bytes;", "    const wchar_t *wide; /* the text as read aloud */", "};", "",
              "/* Every text, for the tests. */",
              "extern const SystemText kSystemTexts[];", "extern const int kSystemTextCount;", ""]
    source = ["/* Generated by tools/make_texts.py from resources/texts.tsv: edit the table. */",
              '#include "texts.h"', ""]
    for name, page, text, data in encoded:
        header.append("extern const char %s[]; /* %s */" % (name, text.replace("*/", "* /")))
        source.append("const char %s[] = %s;" % (name, c_literal(data)))
    header += ["", "#endif", ""]
    source += ["", "const SystemText kSystemTexts[] = {"]
    source += ['    {"%s", %s, %s, %s},' % (name, CODE_PAGES[page][2], name, wide_literal(text))
               for name, page, text, _ in encoded]
    source += ["};", "const int kSystemTextCount = %d;" % len(encoded), ""]
    os.makedirs(out, exist_ok=True)
    write_if_changed(os.path.join(out, "texts.h"), "\n".join(header).encode("utf-8"))
    write_if_changed(os.path.join(out, "texts.cpp"), "\n".join(source).encode("utf-8"))
    write_if_changed(map_path, unicode_map())
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
