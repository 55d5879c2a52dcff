#!/usr/bin/env python3
"""The layer check over small made-up trees: it passes what the layers allow and names each
include and link that goes the wrong way. Usage: check_include_layers_test.py CHECKER"""

import os
import subprocess
import sys
import tempfile
import unittest

CHECKER = None


class Tree:
    """A src/ folder and a stand-in for the Qt headers, both in a temporary folder."""

    def __init__(self, root):
        self.root = root
        self.src = os.path.join(root, "src")
        self.qt = os.path.join(root, "qt")
        for module, header in [("QtCore", "QString"), ("QtCore", "QtEndian"),
                               ("QtGui", "QFont"), ("QtGui", "QPainter"),
                               ("QtWidgets", "QWidget"), ("QtPrintSupport", "QPrinter")]:
            self.write(os.path.join(self.qt, module, header), "")
        # A sound tree: each layer includes what it may, transitively reached layers too.
        self.source("core/error.h", "#include <QString>\n#include <vector>\n")
        self.source("model/logbook.h", '#include "core/error.h"\n#include <QtEndian>\n')
        self.source("model/logbook.cpp", '#include "logbook.h"\n#include "moc_logbook.cpp"\n')
        self.source("xls/cells.h", '#include "core/error.h"\n#include <gsf/gsf.h>\n')
        self.source("export/trip_export.cpp",
                    '#include "model/logbook.h"\n#include "xls/cells.h"\n#include "core/error.h"\n')
        self.source("print/page_layout.cpp", '#include "model/logbook.h"\n#include <QString>\n')
        self.source("print/printer_canvas.cpp",
                    '#include "model/logbook.h"\n#include <QPainter>\n#include <QPrinter>\n')
        self.source("ui/main_form.cpp",
                    '#include "export/trip_export.h"\n#include "core/error.h"\n#include <QWidget>\n')
        self.source("app/main.cpp", '#include "ui/main_form.h"\n#include <QtWidgets/QWidget>\n')
        self.source("model/CMakeLists.txt",
                    "add_library(fahrtenbuch_model STATIC logbook.cpp)\n"
                    "target_link_libraries(fahrtenbuch_model PUBLIC fahrtenbuch_core Qt6::Core)\n")
        self.source("core/CMakeLists.txt", "add_library(fahrtenbuch_core STATIC error.cpp)\n")
        self.source("xls/CMakeLists.txt",
                    "add_library(fahrtenbuch_xls STATIC cells.cpp)\n"
                    "target_link_libraries(fahrtenbuch_xls\n  PUBLIC fahrtenbuch_core)\n")

    @staticmethod
    def write(path, text):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as file:
            file.write(text)

    def source(self, relative, text):
        self.write(os.path.join(self.src, relative), text)

    def check(self):
        result = subprocess.run([sys.executable, CHECKER, self.src, "--qt-headers", self.qt],
                                capture_output=True, text=True, check=False)
        return result.returncode, result.stdout + result.stderr


class CheckIncludeLayersTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.tree = Tree(self.folder.name)

    def tearDown(self):
        self.folder.cleanup()

    def assertCaught(self, *expected_lines):
        code, output = self.tree.check()
        self.assertEqual(code, 1, output)
        for expected in expected_lines:
            self.assertIn(expected, output)
        self.assertIn(f"{len(expected_lines)} layer violation(s)", output)

    def test_allowed_directions_pass(self):
        code, output = self.tree.check()
        self.assertEqual(code, 0, output)

    def test_a_lower_layer_including_a_higher_one_is_caught(self):
        self.tree.source("xls/cells.cpp", '#include "cells.h"\n  #  include "model/logbook.h"\n')
        self.tree.source("core/error.cpp", '#include "error.h"\n#include "ui/main_form.h"\n')
        self.assertCaught("src/xls/cells.cpp:2: xls must not include model/logbook.h",
                          "src/core/error.cpp:2: core must not include ui/main_form.h")

    def test_sibling_layers_stay_apart(self):
        self.tree.source("print/footer.h", '#include "export/trip_export.h"\n')
        self.tree.source("model/odometer.cpp", '#include "xls/cells.h"\n')
        self.assertCaught("src/print/footer.h:1: print must not include export/trip_export.h",
                          "src/model/odometer.cpp:1: model must not include xls/cells.h")

    def test_a_relative_path_into_another_layer_is_caught(self):
        self.tree.source("model/sub/deep.h", '#include "../../ui/main_form.h"\n')
        self.tree.source("ui/main_form.h", "")
        self.assertCaught("src/model/sub/deep.h:1: model must not include ../../ui/main_form.h")

    def test_gui_modules_below_the_windows_are_caught(self):
        self.tree.source("core/colour.h", "#include <QFont>\n")
        self.tree.source("export/sheet.cpp", "#include <QtWidgets/QWidget>\n")
        self.tree.source("print/page_layout.h", "#include <QPainter>\n")
        self.tree.source("print/printer_canvas.h", "#include <QWidget>\n")
        self.assertCaught("src/core/colour.h:1: core must not include <QFont>",
                          "src/export/sheet.cpp:1: export must not include <QtWidgets/QWidget>",
                          "src/print/page_layout.h:1: print must not include <QPainter>",
                          "src/print/printer_canvas.h:1: print must not include <QWidget>")

    def test_a_link_line_against_the_direction_is_caught(self):
        self.tree.source("export/CMakeLists.txt", "add_library(fahrtenbuch_export STATIC x.cpp)\n")
        self.tree.source("xls/CMakeLists.txt",
                         "add_library(fahrtenbuch_xls STATIC cells.cpp)\n"
                         "target_link_libraries(fahrtenbuch_xls\n"
                         "  PUBLIC fahrtenbuch_core fahrtenbuch_model)\n")
        self.tree.source("core/CMakeLists.txt",
                         "add_library(fahrtenbuch_core STATIC error.cpp)\n"
                         "target_link_libraries(fahrtenbuch_core PRIVATE fahrtenbuch_export)\n")
        self.assertCaught(
            "src/xls/CMakeLists.txt:2: fahrtenbuch_xls must not link fahrtenbuch_model",
            "src/core/CMakeLists.txt:2: fahrtenbuch_core must not link fahrtenbuch_export")

    def test_an_unknown_layer_needs_its_rule_first(self):
        self.tree.source("plugins/extra.cpp", '#include "core/error.h"\n')
        self.assertCaught("src/plugins: no known layer")


if __name__ == "__main__":
    CHECKER = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
