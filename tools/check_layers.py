#!/usr/bin/env python3
"""Checks that the installer's layers run one way: every #include "..." of a
source file names a header of its own layer or of a layer beneath it. A
layer is a folder:

    base/      the foundation: depends on nothing of ours
    render/    base
    message/   base, render
    install/   base, render, message
    app/       base, render, message, install
    sample/    everything above

resources/ (ids and capacities) and the generated headers (texts.h, the
tables of TEXT resources and payload rows, the atlas's cells) may be
included anywhere. And
render/ draws and names what a dialog's description hands it: it names no
dialog's control (IDC_, IDD_ or a standard button id). Exits 1 with one line
per problem.

Usage: check_layers.py SOURCE_DIR [STAMP]
"""
import os
import re
import sys

ORDER = ["base", "render", "message", "install", "app", "sample"]
SHARED = ("resources/", "texts.h", "text_resources_table.h", "payload_rows.h", "atlas_cells.h",
          "atlas_packed_cells.h")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
CONTROL_ID = re.compile(r"\b(IDC_\w+|IDD_\w+|IDOK|IDCANCEL|IDYES|IDNO)\b")


def layer_of(path):
    """The layer of a file or header path relative to the source folder."""
    top = path.split("/", 1)[0]
    return top if top in ORDER else None


def problems_in(source_dir):
    problems = []
    for folder in ORDER:
        for name in sorted(os.listdir(os.path.join(source_dir, folder))):
            if not name.endswith((".cpp", ".h", ".c")):
                continue
            path = folder + "/" + name
            mine = ORDER.index(layer_of(path))
            with open(os.path.join(source_dir, path), encoding="utf-8") as f:
                for number, line in enumerate(f, 1):
                    code = line.split("//", 1)[0]
                    if folder == "render" and CONTROL_ID.search(code):
                        problems.append("%s:%d: names control %s: render/ knows no dialog's"
                                        " controls" % (path, number,
                                                       CONTROL_ID.search(code).group(1)))
                    m = INCLUDE.match(line)
                    if not m or m.group(1).startswith(SHARED):
                        continue
                    included = m.group(1)
                    theirs = layer_of(included)
                    if theirs is None or ORDER.index(theirs) > mine:
                        allowed = ", ".join(ORDER[:mine + 1])
                        problems.append("backwards include: %s:%d: includes %s: %s may include only %s"
                                        % (path, number, included, layer_of(path), allowed))
    return problems


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__)
    problems = problems_in(argv[1])
    for problem in problems:
        print("error: " + problem, file=sys.stderr)
    if problems:
        return 1
    if len(argv) == 3:
        open(argv[2], "w").close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
