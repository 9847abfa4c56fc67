#!/usr/bin/env python3
"""Fails when a source file includes a folder of a higher layer or a sibling layer, or a Qt module
that its layer does not link.

The layers, lowest first: model (0) < comm, files, rules (1, siblings) < ui (2) < app (3). A file
includes its own folder and lower ranks only, however the include names the folder ("rules/x.h",
<rules/x.h>, "../rules/x.h"). The tools are held to what they may use too: the simulator shares
nothing with the program, the benchmark uses model/ and comm/ only, the driver of the running
program and the simulator uses nothing of the program. Inside ui/ the main window is the top: the
other windows reach it through ui/main_services.h, so only ui/main/ includes ui/main/.

usage: check_layers.py SOURCE_DIR QT_INCLUDE_DIR
"""
import os
import pathlib
import re
import sys

RANK = {"model": 0, "comm": 1, "files": 1, "rules": 1, "ui": 2, "app": 3}
# Qt modules each layer links; ui and app link every module the program uses.
QT_MODULES = {
    "model": {"QtCore"},
    "files": {"QtCore"},
    "rules": {"QtCore"},
    "comm": {"QtCore", "QtSerialPort"},
}
# Program folders a tool may include.
TOOLS = {"tools/sim": set(), "tools/bench": {"model", "comm"}, "tools/driver": set()}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def qt_module(header, qt_root):
    """The Qt module a <QFoo> or <QtMod/QFoo> header belongs to, or None for a non-Qt header."""
    if "/" in header:
        mod = header.split("/", 1)[0]
        return mod if mod.startswith("Qt") else None
    if not header.startswith("Q"):
        return None
    for mod_dir in qt_root.iterdir():
        if (mod_dir / header).is_file():
            return mod_dir.name
    return None


def included_path(rel, kind, header, src):
    """The included file as a path from the source root, as the compiler finds it: a quoted header
    beside the including file (or reached from it by ./ or ../) first, else from the source root,
    which is where <folder/...> headers are found too."""
    if kind == '"':
        beside = pathlib.PurePosixPath(os.path.normpath((rel.parent / header).as_posix()))
        if header.startswith(("./", "../")) or (src / beside).is_file():
            return beside
    return pathlib.PurePosixPath(os.path.normpath(header))


def check_file(path, rel, src, qt_root, cache):
    top = rel.parts[0]
    problems = []
    text = path.read_text(encoding="utf-8", errors="replace")
    for kind, header in INCLUDE.findall(text):
        included = included_path(rel, kind, header, src)
        target = included.parts[0]
        if top == "ui" and included.parts[:2] == ("ui", "main") and rel.parts[1] != "main":
            problems.append(f"{rel}: includes {header} (only the main window includes ui/main/)")
        elif target in RANK:
            if top in RANK:
                if target != top and RANK[target] >= RANK[top]:
                    problems.append(f"{rel}: includes {header} (layer {target} is not below {top})")
            else:
                tool = "/".join(rel.parts[:2])
                if tool in TOOLS and target not in TOOLS[tool]:
                    problems.append(f"{rel}: includes {header} ({tool} may not use {target}/)")
        elif kind == "<" and top in QT_MODULES:
            if header not in cache:
                cache[header] = qt_module(header, qt_root)
            mod = cache[header]
            if mod is not None and mod not in QT_MODULES[top]:
                problems.append(f"{rel}: includes <{header}> of {mod}, which layer {top} does not link")
    return problems


def main():
    src = pathlib.Path(sys.argv[1]).resolve()
    qt_root = pathlib.Path(sys.argv[2])
    cache = {}
    problems = []
    checked = 0
    for folder in list(RANK) + list(TOOLS):
        for path in sorted((src / folder).rglob("*")):
            if path.suffix in (".h", ".cpp") and path.is_file():
                checked += 1
                problems += check_file(path, path.relative_to(src), src, qt_root, cache)
    for p in problems:
        print(p)
    print(f"{checked} files checked, {len(problems)} layer violations")
    return 1 if problems or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
