#!/usr/bin/env python3
"""Checks that the libraries under src/ use only the layers below them.

Usage: check_include_layers.py SRC_DIR [--qt-headers DIR]

The layers and the ones each may use directly (what those use counts too, so ui may use core):

    core    -> (nothing of ours; QtCore only)
    model   -> core
    storage -> model
    checks  -> model
    xls     -> core
    export  -> model, xls
    print   -> model, checks
    session -> storage
    ui      -> model, storage, checks, export, print, session
    app     -> all

A layer's subfolders belong to it: src/ui/fields/ is layer ui.

Three things are checked:
  1. every `#include "..."` in src/<layer>/: a header of another layer must be one the layer may
     use. An include is resolved next to the including file first, then below SRC_DIR; a name
     found in neither (a generated moc file, say) is no layer's and passes.
  2. every `#include <...>` of a Qt header (found under --qt-headers, or written QtModule/Name):
     core, model, storage, session, checks, xls and export use QtCore only; print uses QtCore only,
     except its QPrinter side (the files named printer_canvas.*, shaped_texts.*, pdf_output.*
     and qt_print_font.*: the canvas that paints on a QPrinter, the texts it shapes, the PDF job
     and the print fonts as QFont), which may also use QtGui and QtPrintSupport; the page layout
     itself stays QtCore only;
     ui and app may use any Qt module.
  3. every `target_link_libraries` in src/<layer>/CMakeLists.txt: a fahrtenbuch_ library must
     belong to a layer the linking one may use.
A directory under SRC_DIR that is no known layer is an error too: a new layer gets its rule here
first. Prints one line per violation and exits with 1 if there is any.
"""

import argparse
import os
import re
import sys

DIRECT_USES = {
    "core": [],
    "model": ["core"],
    "storage": ["model"],
    "checks": ["model"],
    "xls": ["core"],
    "export": ["model", "xls"],
    "print": ["model", "checks"],
    "session": ["storage"],
    "ui": ["model", "storage", "checks", "export", "print", "session"],
    "app": ["core", "model", "storage", "checks", "xls", "export", "print", "session", "ui"],
}

QT_CORE_ONLY = {"QtCore"}
QT_MODULES = {
    "core": QT_CORE_ONLY,
    "model": QT_CORE_ONLY,
    "storage": QT_CORE_ONLY,
    "checks": QT_CORE_ONLY,
    "xls": QT_CORE_ONLY,
    "export": QT_CORE_ONLY,
    "print": QT_CORE_ONLY,
    "session": QT_CORE_ONLY,
    "ui": None,  # any
    "app": None,
}
# The print layer's files that talk to Qt's printing; the page layout stays QtCore only.
PRINTER_FILE_STEMS = {"printer_canvas", "shaped_texts", "pdf_output", "qt_print_font"}
PRINTER_CANVAS_QT_MODULES = {"QtCore", "QtGui", "QtPrintSupport"}

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".cxx", ".inl")
INCLUDE_LINE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
LINK_CALL = re.compile(r"target_link_libraries\s*\(([^)]*)\)", re.S)
LIBRARY_CALL = re.compile(r"add_(?:library|executable)\s*\(\s*([A-Za-z0-9_]+)")


def usable_layers(layer):
    """The layer itself and every layer it reaches through DIRECT_USES."""
    seen = {layer}
    pending = list(DIRECT_USES[layer])
    while pending:
        used = pending.pop()
        if used not in seen:
            seen.add(used)
            pending.extend(DIRECT_USES[used])
    return seen


def layer_of_path(src_dir, path):
    relative = os.path.relpath(os.path.normpath(path), src_dir)
    first = relative.split(os.sep)[0]
    return first if first in DIRECT_USES else None


def included_layer(src_dir, including_file, name):
    beside = os.path.join(os.path.dirname(including_file), name)
    if os.path.exists(beside):
        return layer_of_path(src_dir, beside)
    first = name.split("/")[0]
    if first in DIRECT_USES:
        return first
    return None


class QtHeaders:
    def __init__(self, headers_dir):
        self.modules = []
        if headers_dir and os.path.isdir(headers_dir):
            self.modules = sorted(
                entry for entry in os.listdir(headers_dir)
                if entry.startswith("Qt") and os.path.isdir(os.path.join(headers_dir, entry)))
        self.headers_dir = headers_dir

    def module_of(self, name):
        parts = name.split("/")
        if len(parts) == 2 and parts[0].startswith("Qt"):
            return parts[0]
        for module in self.modules:
            if os.path.isfile(os.path.join(self.headers_dir, module, name)):
                return module
        return None


def allowed_qt_modules(layer, file_name):
    if layer == "print" and file_name.split(".")[0] in PRINTER_FILE_STEMS:
        return PRINTER_CANVAS_QT_MODULES
    return QT_MODULES[layer]


def check_sources(src_dir, layer, qt, problems):
    usable = usable_layers(layer)
    for root, _dirs, files in os.walk(os.path.join(src_dir, layer)):
        for file_name in sorted(files):
            if not file_name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(root, file_name)
            shown = os.path.relpath(path, os.path.dirname(src_dir))
            with open(path, encoding="utf-8", errors="replace") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE_LINE.match(line)
                    if not match:
                        continue
                    quote, name = match.groups()
                    if quote == '"':
                        target = included_layer(src_dir, path, name)
                        if target and target not in usable:
                            problems.append(
                                f"{shown}:{number}: {layer} must not include {name} "
                                f"(a header of {target}; {layer} may use "
                                f"{', '.join(sorted(usable - {layer})) or 'no other layer'})")
                        continue
                    module = qt.module_of(name)
                    allowed = allowed_qt_modules(layer, file_name)
                    if module and allowed is not None and module not in allowed:
                        problems.append(
                            f"{shown}:{number}: {layer} must not include <{name}> "
                            f"(from {module}; {file_name} may use {', '.join(sorted(allowed))})")


def libraries_by_layer(src_dir, layers):
    owner = {}
    for layer in layers:
        lists = os.path.join(src_dir, layer, "CMakeLists.txt")
        if os.path.isfile(lists):
            with open(lists, encoding="utf-8") as text:
                for name in LIBRARY_CALL.findall(text.read()):
                    owner[name] = layer
    return owner


def check_link_lines(src_dir, layers, problems):
    owner = libraries_by_layer(src_dir, layers)
    for layer in layers:
        lists = os.path.join(src_dir, layer, "CMakeLists.txt")
        if not os.path.isfile(lists):
            continue
        usable = usable_layers(layer)
        with open(lists, encoding="utf-8") as text:
            content = text.read()
        for call in LINK_CALL.finditer(content):
            words = call.group(1).split()
            number = content.count("\n", 0, call.start()) + 1
            for library in words[1:]:
                target = owner.get(library)
                if target and target not in usable:
                    problems.append(
                        f"{os.path.relpath(lists, os.path.dirname(src_dir))}:{number}: "
                        f"{words[0]} must not link {library} (a library of {target})")


def main():
    parser = argparse.ArgumentParser(description="Checks which layer of src/ uses which.")
    parser.add_argument("src_dir")
    parser.add_argument("--qt-headers", help="the folder holding QtCore/, QtGui/, ...")
    args = parser.parse_args()
    src_dir = os.path.abspath(args.src_dir)

    problems = []
    layers = []
    for entry in sorted(os.listdir(src_dir)):
        if not os.path.isdir(os.path.join(src_dir, entry)):
            continue
        if entry not in DIRECT_USES:
            problems.append(f"src/{entry}: no known layer; give it its rule in {sys.argv[0]}")
            continue
        layers.append(entry)

    qt = QtHeaders(args.qt_headers)
    if args.qt_headers and not qt.modules:
        problems.append(f"{args.qt_headers}: no Qt module folders found")
    for layer in layers:
        check_sources(src_dir, layer, qt, problems)
    check_link_lines(src_dir, layers, problems)

    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} layer violation(s)")
        return 1
    print(f"layers {', '.join(layers)}: every include and link goes the allowed way")
    return 0


if __name__ == "__main__":
    sys.exit(main())
