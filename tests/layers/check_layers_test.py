#!/usr/bin/env python3
"""The layer checker against a planted tree: every way of writing an include of a folder is judged
as an include of that folder, and the checker reports exactly the planted violations.

usage: check_layers_test.py CHECK_LAYERS_PY
"""
import pathlib
import subprocess
import sys
import tempfile
import unittest

CHECKER = None

# (file, include line, violation?): one planted file a row, each holding the one include.
CASES = [
    # The folder named from the source root, in quotes and in angle brackets.
    ("comm/quoted_sibling.cpp", '#include "rules/r.h"', True),
    ("comm/angled_sibling.cpp", "#include <rules/r.h>", True),
    ("ui/angled_lower.cpp", "#include <rules/r.h>", False),
    ("rules/angled_higher.h", "#include <ui/u.h>", True),
    ("model/angled_own.cpp", "#include <model/m.h>", False),
    # The folder reached from the including file by ../
    ("comm/up_sibling.cpp", '#include "../rules/r.h"', True),
    ("ui/main/up_higher.cpp", '#include "../../app/a.h"', True),
    ("ui/main/up_lower.cpp", '#include "../../rules/r.h"', False),
    ("ui/main/up_own.cpp", '#include "../u.h"', False),
    ("files/dot_up_sibling.cpp", '#include "./../comm/c.h"', True),
    # A header beside the file, or in a folder below it, is its own folder.
    ("ui/main/beside.cpp", '#include "u2.h"', False),
    ("ui/below.cpp", '#include "main/u2.h"', False),
    # Qt modules a layer does not link.
    ("model/widgets.cpp", "#include <QWidget>", True),
    ("comm/serial.cpp", "#include <QtSerialPort/QSerialPort>", False),
    ("rules/serial.cpp", "#include <QSerialPort>", True),
    # The tools: the simulator uses nothing of the program, the benchmark model/ and comm/ only,
    # the program driver and simulator control nothing of the program.
    ("tools/sim/angled.cpp", "#include <model/m.h>", True),
    ("tools/sim/up.cpp", '#include "../../comm/c.h"', True),
    ("tools/sim/own.cpp", '#include "s.h"', False),
    ("tools/bench/comm.cpp", '#include "../../comm/c.h"', False),
    ("tools/bench/ui.cpp", "#include <ui/u.h>", True),
    ("tools/driver/model.cpp", '#include "model/m.h"', True),
    ("tools/driver/up.cpp", '#include "../../files/f.h"', True),
    ("tools/measure/ui.cpp", '#include "ui/u.h"', False),
]

# Headers the planted includes name.
HEADERS = ["model/m.h", "comm/c.h", "files/f.h", "rules/r.h", "ui/u.h", "ui/main/u2.h",
           "app/a.h", "tools/sim/s.h"]
QT_HEADERS = ["QtCore/QString", "QtWidgets/QWidget", "QtSerialPort/QSerialPort"]


class PlantedTree(unittest.TestCase):
    def test_reports_exactly_the_planted_violations(self):
        with tempfile.TemporaryDirectory() as tmp:
            root = pathlib.Path(tmp)
            src, qt = root / "src", root / "qt"
            for header in HEADERS:
                (src / header).parent.mkdir(parents=True, exist_ok=True)
                (src / header).write_text("#pragma once\n")
            for header in QT_HEADERS:
                (qt / header).parent.mkdir(parents=True, exist_ok=True)
                (qt / header).write_text("")
            for file, line, _ in CASES:
                (src / file).parent.mkdir(parents=True, exist_ok=True)
                (src / file).write_text(f"// planted\n{line}\n")
            run = subprocess.run([sys.executable, CHECKER, str(src), str(qt)],
                                 capture_output=True, text=True)
            reported = {l.split(":", 1)[0] for l in run.stdout.splitlines() if ": includes " in l}
            for file, line, violation in CASES:
                with self.subTest(file=file, include=line):
                    self.assertEqual(file in reported, violation, run.stdout)
            self.assertEqual(run.returncode, 1)


if __name__ == "__main__":
    CHECKER = sys.argv.pop(1)
    unittest.main()
