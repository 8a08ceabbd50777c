#!/usr/bin/env python3
"""Draws the rooms of the source tree and the includes between them.

    tools/architecture_graph.py [OUT.svg]
    tools/architecture_graph.py --check [COMMITTED.svg]


Reads every #include of src/ and writes a Graphviz picture (default docs/architecture.svg):
one box per room (a library folder, and the engine's own folders), an arrow where files of
one room include headers of another, thicker the more they do. Qt-free rooms are white,
rooms that use Qt grey; files kept per system (*_posix.cpp, *_windows.cpp, *_macos.cpp) are
listed under their room. --check draws the picture afresh and fails where the committed one
differs from it (a test runs it). Needs `dot` (Debian package graphviz, installed by scripts/setup).
"""

import collections
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SRC = ROOT / "src"
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')
PLATFORM_FILE = re.compile(r"^(\w+)_(posix|windows|macos)\.cpp$")

# The engine's folders are rooms of their own; every other library is one room.
ROOMS = ["ui", "printing", "workbook", "billbook", "tally", "xls/layout", "xls", "xls/formula",
         "xls/number_format", "xls/biff", "xls/cfb", "xls/file", "base/little_endian.h", "base"]
ENGINE = [room for room in ROOMS if room.startswith("xls")] + ["base/little_endian.h"]
WHAT = {
    "ui": "the window, its commands, start-up",
    "printing": "drawing a sheet on paper, PDF, preview",
    "workbook": "cell map, export, start-up load,\nthe Chinese texts of every failure",
    "billbook": "the bill book: every bill kept (SQLite)",
    "tally": "the tally and its rules",
    "xls": "the .xls document, typed failures",
    "xls/formula": "the formula evaluator and its functions",
    "xls/number_format": "number formats, as a cell shows a value",
    "xls/file": "save, backups, locks, whole-file read",
    "xls/layout": "a sheet's print layout and pages",
    "xls/biff": "BIFF8 records, one vocabulary",
    "xls/cfb": "the compound file",
    "base/little_endian.h": "byte order, shared by cfb and biff",
    "base": "digits, UTF-8/UTF-16, case fold",
}


def room_of_path(relative):
    """The room a path under src/ (or an include naming one) belongs to."""
    if relative in ROOMS:  # a header that is a room of its own
        return relative
    parts = pathlib.PurePosixPath(relative).parts
    if len(parts) < 2:
        return None
    if parts[0] == "xls" and len(parts) > 2 and f"xls/{parts[1]}" in ROOMS:
        return f"xls/{parts[1]}"
    return parts[0] if parts[0] in ROOMS else None


def scan():
    edges = collections.Counter()
    files = collections.Counter()
    uses_qt = set()
    platform = collections.defaultdict(set)
    for path in sorted(SRC.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        relative = path.relative_to(SRC).as_posix()
        room = room_of_path(relative)
        if room is None:
            continue
        files[room] += 1
        match = PLATFORM_FILE.match(path.name)
        if match:
            platform[room].add(match.group(1))
        for line in path.read_text(encoding="utf-8").splitlines():
            included = INCLUDE.match(line)
            if not included:
                continue
            name = included.group(1)
            if re.match(r"Q[A-Za-z]*$", name) or name.startswith("Qt"):
                uses_qt.add(room)
                continue
            target = room_of_path(name)
            if target and target != room:
                edges[(room, target)] += 1
    return edges, files, uses_qt, platform


def dot_text(edges, files, uses_qt, platform):
    out = [
        "digraph rooms {",
        '  graph [rankdir=TB, nodesep=0.35, ranksep=0.45, fontname="Helvetica", fontsize=11];',
        '  node [shape=box, style="rounded,filled", fillcolor=white, fontname="Helvetica",'
        " fontsize=10];",
        '  edge [color="#555555", arrowsize=0.7];',
        '  subgraph cluster_engine { label="src/xls: the .xls engine (no Qt)"; color="#888888";',
        "    style=dashed; " + " ".join(f'"{room}";' for room in ENGINE) + " }",
    ]
    for room in ROOMS:
        count = f"\\n{files[room]} files" if files[room] > 1 else ""
        label = f"src/{room}\\n{WHAT[room]}{count}".replace("\n", "\\n")
        if platform[room]:
            label += "\\nper system: " + ", ".join(sorted(platform[room]))
        fill = "#dddddd" if room in uses_qt else "white"
        out.append(f'  "{room}" [label="{label}", fillcolor="{fill}"];')
    out.append('  "Qt" [label="Qt 6", shape=ellipse, fillcolor="#dddddd"];')
    for room in sorted(uses_qt):
        out.append(f'  "{room}" -> "Qt" [style=dashed];')
    for (source, target), count in sorted(edges.items()):
        width = 1 + min(count, 40) / 10
        plural = "s" if count > 1 else ""
        out.append(
            f'  "{source}" -> "{target}" [penwidth={width:.1f}, tooltip="{count} include{plural}"];'
        )
    out.append("}")
    return "\n".join(out) + "\n"


def main():
    arguments = sys.argv[1:]
    check = bool(arguments) and arguments[0] == "--check"
    if check:
        arguments = arguments[1:]
    out = pathlib.Path(arguments[0]) if arguments else ROOT / "docs" / "architecture.svg"
    text = dot_text(*scan())
    if check:
        drawn = subprocess.run(["dot", "-Tsvg"], input=text.encode(), check=True,
                               capture_output=True).stdout
        if drawn != out.read_bytes():
            sys.exit(f"{out} is not the picture of the tree: run tools/architecture_graph.py")
        return
    fmt = out.suffix.lstrip(".")
    if fmt == "dot":
        out.write_text(text, encoding="utf-8")
        return
    subprocess.run(["dot", f"-T{fmt}", "-o", str(out)], input=text.encode(), check=True)


if __name__ == "__main__":
    main()
