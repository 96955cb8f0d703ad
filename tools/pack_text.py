#!/usr/bin/env python3
"""Compresses the installer's "TEXT" resources and writes their resource script.

Reads the resource table (resources/text_resources.tsv) and the ids header,
finds each input file, checks that it inflates into its reader's buffer (and
the extra checks the table names), compresses it into one zlib stream (by
default the smallest of zlib -9, libdeflate -12, zopfli and stored blocks
that a build can afford, and for data that hardly compresses, stored blocks
but for the pieces worth deflating), prints what each stream took, and writes:
  OUT/<id>.z                  one stream per resource
  OUT/text_resources.rc       the TEXT statements, included by the main script
  OUT/text_resources_table.h  the table as C data, for tests and tools
Every problem is reported on one line naming the file; any problem fails.
"""
import argparse
import concurrent.futures
import os
import re
import shutil
import struct
import subprocess
import sys
import time
import zlib

import atlas
import make_payload_table
from make_payload_table import read_ids



def evaluate(expression, ids):
    """A name or number, optionally followed by +N or -N."""
    m = re.fullmatch(r"(\w+)([+-]\d+)?", expression)
    if not m:
        raise ValueError("bad expression " + expression)
    base = m.group(1)
    value = ids[base] if base in ids else int(base, 0)
    return value + int(m.group(2) or 0)


def read_table(table_path, ids):
    """The rows to pack; the columns after `check` say how the installation
    writes the file, which tools/make_payload_table.py reads and checks."""
    return [{
        "name": row["id"],
        "id": ids[row["id"]],
        "language": 0 if row["language"] == "neutral" else int(row["language"], 16),
        "capacity": evaluate(row["capacity"], ids),
        "source": row["source"],
        "file": row["file"],
        "check": row["check"],
    } for row in make_payload_table.read_rows(table_path)]


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


def gbk_licence_problems(path, data, ids):
    """The Chinese licence is cut into lines as the wizard cuts it: at each
    CR, skipping one LF after it; a last piece without CR is dropped. Each
    line is drawn from a buffer of LICENCE_LINE_BUFFER bytes, and the wizard
    shows at most LICENCE_MAX_LINES lines (resource_ids.h)."""
    line_max, lines_max = ids["LICENCE_LINE_BUFFER"] - 1, ids["LICENCE_MAX_LINES"]
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
        elif len(line) > line_max:
            problems.append("%s: line of %d bytes, more than %d"
                            % (where, len(line), line_max))
        if end < 0:
            break
        start = end + 1 + (data[end + 1:end + 2] == b"\n")
        number += 1
    if number - 1 > lines_max:
        problems.append("%s: %d lines; the wizard shows only the first %d"
                        % (path, number - 1, lines_max))
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


def check_row(row, path, data, atlas_path, ids):
    problems = []
    if len(data) > row["capacity"]:
        problems.append("%s: %d bytes, more than the %d its reader holds"
                        % (path, len(data), row["capacity"]))
    if row["check"] == "licence-gbk":
        problems += gbk_licence_problems(path, data, ids)
        if atlas_path:
            problems += atlas.check_text(atlas_path, path)
    elif row["check"] == "licence-ascii":
        problems += ascii_licence_problems(path, data)
    elif row["check"] == "settings":
        problems += settings_problems(path, data)
    return problems


ZLIB_HEADER = b"\x78\xda"  # deflate, 32 KB window, maximum compression
# zopfli saves a per cent or two over libdeflate -12 but takes 0.15-0.4 s per
# 100 KB: it runs only where the fast methods already saved 3% (on data that
# hardly compresses it gains next to nothing), on at most this much input per
# run, so that it adds seconds to a build, not minutes.
ZOPFLI_WORTH = 0.97
ZOPFLI_BUDGET = 3 << 20


def zlib_wrap(data, deflated):
    return ZLIB_HEADER + deflated + struct.pack(">I", zlib.adler32(data))


def stored(path, data):
    """Stored blocks, for data that deflate would make bigger."""
    blocks = [data[at:at + 65535] for at in range(0, len(data), 65535)] or [b""]
    out = bytearray()
    for number, block in enumerate(blocks):
        out.append(1 if number == len(blocks) - 1 else 0)
        out += struct.pack("<HH", len(block), len(block) ^ 0xFFFF) + block
    return zlib_wrap(data, bytes(out))


# Data that deflate hardly shrinks (a package of compressed cabinets, most
# pictures) inflates at the speed of Huffman decoding, several times slower
# than a copy, for a saving of a per cent or two. Such a stream is cut into
# pieces, and only the pieces that deflate shrinks by at least 1% are
# compressed; the rest are stored and inflate as copies.
NEARLY_INCOMPRESSIBLE = 0.98
PIECE_WORTH = 0.99


def pieces(path, data):
    """Stored blocks, except the pieces worth deflating (each deflated on its
    own, ending byte-aligned by a full flush); the last block is final."""
    chunks = [data[at:at + 65535] for at in range(0, len(data), 65535)] or [b""]
    out = bytearray()
    for number, chunk in enumerate(chunks):
        last = number == len(chunks) - 1
        compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
        deflated = compressor.compress(chunk) + compressor.flush(
            zlib.Z_FINISH if last else zlib.Z_FULL_FLUSH)
        if len(deflated) <= len(chunk) * PIECE_WORTH:
            out += deflated
        else:
            out.append(1 if last else 0)
            out += struct.pack("<HH", len(chunk), len(chunk) ^ 0xFFFF) + chunk
    return zlib_wrap(data, bytes(out))


def libdeflate(path, data):
    """libdeflate's highest level; its gzip member's deflate data, rewrapped."""
    with open(path, "rb") as f:
        member = subprocess.run(["libdeflate-gzip", "-12", "-c"], stdin=f, check=True,
                                capture_output=True).stdout
    flags, at = member[3], 10
    if flags & 4:                                   # FEXTRA
        at += 2 + int.from_bytes(member[at:at + 2], "little")
    for flag in (8, 16):                            # FNAME, FCOMMENT
        if flags & flag:
            at = member.index(b"\0", at) + 1
    if flags & 2:                                   # FHCRC
        at += 2
    return zlib_wrap(data, member[at:-8])


def zopfli(path, data):
    return subprocess.run(["zopfli", "--zlib", "-c", path], check=True,
                          capture_output=True).stdout


METHODS = {"stored": stored, "zlib": lambda path, data: zlib.compress(data, 9),
           "libdeflate": libdeflate, "zopfli": zopfli, "pieces": pieces}
TOOLS = {"libdeflate": "libdeflate-gzip", "zopfli": "zopfli"}


def smallest(methods, path, data):
    """(stream, method, seconds): the smallest stream of the methods, each
    checked to inflate back to the input; ties go to the method listed first."""
    start = time.monotonic()
    best = None
    for method in methods:
        stream = METHODS[method](path, data)
        if stream[:2] != ZLIB_HEADER or zlib.decompress(stream) != data:
            raise SystemExit("error: %s: the %s stream does not inflate to the input"
                             % (path, method))
        if best is None or len(stream) < len(best[0]):
            best = (stream, method)
    return best + (time.monotonic() - start,)


def compress_all(jobs, compressor):
    """One stream per (path, data), on every core. "best" first tries the
    fast methods, then zopfli where they saved enough, within the budget, in
    table order, so the same inputs always get the same methods."""
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 1) as pool:
        if compressor != "best":
            return list(pool.map(lambda job: smallest([compressor], *job), jobs))
        installed = [m for m in METHODS if m not in TOOLS or shutil.which(TOOLS[m])]
        fast = [m for m in installed if m not in ("zopfli", "pieces")]
        results = list(pool.map(lambda job: smallest(fast, *job), jobs))
        hardly = [number for number, ((_, data), (stream, _, _)) in enumerate(zip(jobs, results))
                  if len(stream) > len(data) * NEARLY_INCOMPRESSIBLE]
        for number, (stream, method, seconds) in zip(
                hardly, pool.map(lambda number: smallest(["pieces"], *jobs[number]), hardly)):
            results[number] = (stream, method, results[number][2] + seconds)
        if "zopfli" not in installed:
            return results
        budget, chosen = ZOPFLI_BUDGET, []
        for number, ((path, data), (stream, _, _)) in enumerate(zip(jobs, results)):
            if len(stream) <= len(data) * ZOPFLI_WORTH and len(data) <= budget:
                budget -= len(data)
                chosen.append(number)
        chosen.sort(key=lambda number: -len(jobs[number][1]))   # longest first: both cores busy
        for number, (stream, method, seconds) in zip(
                chosen, pool.map(lambda number: smallest(["zopfli"], *jobs[number]), chosen)):
            old_stream, old_method, old_seconds = results[number]
            if len(stream) < len(old_stream):
                old_stream, old_method = stream, method
            results[number] = (old_stream, old_method, old_seconds + seconds)
        return results


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
    parser.add_argument("--compressor", choices=["best"] + list(METHODS), default="best",
                        help="best: per stream, the smallest the time budget allows")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    ids = read_ids(args.ids)
    rows = read_table(args.table, ids)
    os.makedirs(args.out, exist_ok=True)

    paths = {row["name"]: locate(row, args) for row in rows}
    atlas_path = next((paths[r["name"]] for r in rows if r["check"] == "atlas"), None)
    problems = []
    jobs = []
    for row in rows:
        path = paths[row["name"]]
        if path is None:
            problems.append("%s: missing (resource %d)" % (row["file"], row["id"]))
            continue
        data = open(path, "rb").read()
        problems += check_row(row, path, data, atlas_path, ids)
        jobs.append((path, data))
    if problems:
        for problem in problems:
            print("error: " + problem, file=sys.stderr)
        return 1

    start = time.monotonic()
    results = compress_all(jobs, args.compressor)
    print("%5s  %-22s %9s %9s  %-10s %5s" % ("id", "file", "input", "stream", "method", "s"))
    for row, (path, data), (stream, method, seconds) in zip(rows, jobs, results):
        write_if_changed(os.path.join(args.out, "%d.z" % row["id"]), stream)
        print("%5d  %-22s %9d %9d  %-10s %5.2f"
              % (row["id"], row["file"], len(data), len(stream), method, seconds))
    print("%5s  %-22s %9d %9d  %-10s %5.2f (wall clock, %d cores)"
          % ("", "total", sum(len(d) for _, d in jobs), sum(len(r[0]) for r in results),
             args.compressor, time.monotonic() - start, os.cpu_count() or 1))
    write_if_changed(os.path.join(args.out, "text_resources.rc"),
                     script_text(rows, os.path.abspath(args.out)).encode("ascii"))
    write_if_changed(os.path.join(args.out, "text_resources_table.h"),
                     table_header(rows).encode("ascii"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
