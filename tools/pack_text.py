#!/usr/bin/env python3
"""Compresses the installer's "TEXT" resources and writes their resource script.

Reads the resource table (resources/text_resources.tsv) and the ids header,
finds each input file, checks that it inflates into its reader's buffer (and
the extra checks the table names), compresses it into one zlib stream at
maximum compression, and writes:
  OUT/<id>.z                  one stream per resource
  OUT/text_resources.rc       the TEXT statements, included by the main script
  OUT/text_resources_table.h  the table as C data, for tests and tools
Every problem is reported on one line naming the file; any problem fails.
"""
import argparse
import os
import re
import subprocess
import sys
import zlib

import atlas

LICENCE_LINE_MAX = 259  # the licence list copies each line into 260 bytes
LICENCE_LINES_MAX = 500  # the wizard shows no more lines than this


def read_ids(header_path):
    ids = {}
    pattern = re.compile(r"#define\s+(\w+)\s+(0[xX][0-9a-fA-F]+|\d+)\s*$")
    with open(header_path, encoding="ascii") as f:
        for line in f:
            m = pattern.match(line.strip())
            if m:
                ids[m.group(1)] = int(m.group(2), 0)
    return ids


def evaluate(expression, ids):
    """A name or number, optionally followed by +N or -N."""
    m = re.fullmatch(r"(\w+)([+-]\d+)?", expression)
    if not m:
        raise ValueError("bad expression " + expression)
    base = m.group(1)
    value = ids[base] if base in ids else int(base, 0)
    return value + int(m.group(2) or 0)


def read_table(table_path, ids):
    rows = []
    with open(table_path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            name, language, capacity, source, filename, check = line.split()
            rows.append({
                "name": name,
                "id": ids[name],
                "language": 0 if language == "neutral" else int(language, 16),
                "capacity": evaluate(capacity, ids),
                "source": source,
                "file": filename,
                "check": check,
            })
    return rows


def locate(row, args):
    folders = [args.override] if args.override else []
    folders.append(args.generated if row["source"] == "build" else args.payload)
    for folder in folders:
        path = os.path.join(folder, row["file"])
        if os.path.isfile(path):
            return path
    return None


def ascii_licence_problems(path, data):
    """The English licence goes whole into an edit box: only its bytes matter."""
    return ["%s:%d: not plain ASCII" % (path, number)
            for number, line in enumerate(data.split(b"\n"), 1) if any(b >= 0x80 for b in line)]


def gbk_licence_problems(path, data):
    """The Chinese licence is cut into lines as the wizard cuts it: at each
    CR, skipping one LF after it; a last piece without CR is dropped. Each
    line is drawn from a 260-byte buffer."""
    problems = []
    number, start = 1, 0
    while start < len(data):
        end = data.find(b"\r", start)
        line = data[start:] if end < 0 else data[start:end]
        where = "%s:%d" % (path, number)
        if b"\n" in line:
            problems.append("%s: a line ends in LF alone; the wizard breaks lines only at CR"
                            " (end every line with CR LF)" % where)
        elif end < 0:
            problems.append("%s: the last line has no CR LF; the wizard would drop it" % where)
        elif len(line) > LICENCE_LINE_MAX:
            problems.append("%s: line of %d bytes, more than %d"
                            % (where, len(line), LICENCE_LINE_MAX))
        if end < 0:
            break
        start = end + 1 + (data[end + 1:end + 2] == b"\n")
        number += 1
    if number - 1 > LICENCE_LINES_MAX:
        problems.append("%s: %d lines; the wizard shows only the first %d"
                        % (path, number - 1, LICENCE_LINES_MAX))
    return problems


def settings_problems(path, data):
    """The installer records the interface language by appending a Config
    section to the settings file, in text mode: the file must end its lines
    with CR LF, end with one, and leave the key to the installer."""
    problems = []
    if re.search(rb"(?<!\r)\n|\r(?!\n)", data):
        problems.append("%s: a line does not end in CR LF" % path)
    if not data.endswith(b"\r\n"):
        problems.append("%s: the last line has no CR LF" % path)
    if re.search(rb"(?im)^[ \t]*uilanguage[ \t]*=", data) or b"UILanguage=" in data:
        problems.append("%s: holds a UILanguage key; the installer writes it" % path)
    return problems


def check_row(row, path, data, atlas_path):
    problems = []
    if len(data) > row["capacity"]:
        problems.append("%s: %d bytes, more than the %d its reader holds"
                        % (path, len(data), row["capacity"]))
    if row["check"] == "licence-gbk":
        problems += gbk_licence_problems(path, data)
        if atlas_path:
            problems += atlas.check_text(atlas_path, path)
    elif row["check"] == "licence-ascii":
        problems += ascii_licence_problems(path, data)
    elif row["check"] == "settings":
        problems += settings_problems(path, data)
    return problems


def compress(path, data, compressor):
    """One zlib stream at maximum compression (header 0x78 0xDA). zopfli
    writes ordinary zlib streams a few per cent smaller than zlib's own."""
    if compressor == "zopfli":
        stream = subprocess.run(["zopfli", "--zlib", "-c", path], check=True,
                                capture_output=True).stdout
        if zlib.decompress(stream) != data:
            raise SystemExit("error: %s: zopfli's stream does not inflate to the input" % path)
        return stream
    return zlib.compress(data, 9)


def write_if_changed(path, data):
    if os.path.exists(path) and open(path, "rb").read() == data:
        return
    with open(path, "wb") as f:
        f.write(data)


def script_text(rows, out_dir):
    lines = ['/* Generated by tools/pack_text.py: one zlib stream per resource. */',
             '#include "resource_ids.h"']
    language = None
    for row in rows:
        if row["language"] != language:
            language = row["language"]
            lines.append("LANGUAGE 0x%X, 0x%X" % (language & 0x3FF, language >> 10))
        stream = os.path.join(out_dir, "%d.z" % row["id"])
        lines.append('%s TEXT "%s"' % (row["name"], stream))
    lines.append("LANGUAGE 0, 0")
    return "\n".join(lines) + "\n"


def table_header(rows):
    lines = ["/* Generated by tools/pack_text.py from resources/text_resources.tsv. */",
             "#ifndef MORIVANE_TEXT_RESOURCES_TABLE_H",
             "#define MORIVANE_TEXT_RESOURCES_TABLE_H",
             "struct TextResourceRow {",
             "    unsigned short id;",
             "    unsigned short language;",
             "    unsigned long capacity;",
             "    const char *file;",
             "};",
             "static const TextResourceRow kTextResources[] = {"]
    for row in rows:
        lines.append('    {%d, 0x%04X, %dUL, "%s"},'
                     % (row["id"], row["language"], row["capacity"], row["file"]))
    lines += ["};", "#endif", ""]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table", required=True)
    parser.add_argument("--ids", required=True)
    parser.add_argument("--payload", required=True, help="sample payload folder")
    parser.add_argument("--generated", required=True, help="files made by the build")
    parser.add_argument("--override", help="a vendor's folder, searched first")
    parser.add_argument("--compressor", choices=["zopfli", "zlib"], default="zlib")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    ids = read_ids(args.ids)
    rows = read_table(args.table, ids)
    os.makedirs(args.out, exist_ok=True)

    paths = {row["name"]: locate(row, args) for row in rows}
    atlas_path = next((paths[r["name"]] for r in rows if r["check"] == "atlas"), None)
    problems = []
    for row in rows:
        path = paths[row["name"]]
        if path is None:
            problems.append("%s: missing (resource %d)" % (row["file"], row["id"]))
            continue
        data = open(path, "rb").read()
        row_problems = check_row(row, path, data, atlas_path)
        problems += row_problems
        if not row_problems:
            stream = compress(path, data, args.compressor)
            write_if_changed(os.path.join(args.out, "%d.z" % row["id"]), stream)
    if problems:
        for problem in problems:
            print("error: " + problem, file=sys.stderr)
        return 1
    write_if_changed(os.path.join(args.out, "text_resources.rc"),
                     script_text(rows, os.path.abspath(args.out)).encode("ascii"))
    write_if_changed(os.path.join(args.out, "text_resources_table.h"),
                     table_header(rows).encode("ascii"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
