#!/usr/bin/env python3
"""usage: check_layers_test.py CHECK_LAYERS_PY -- the layer checker against a planted tree: however
an include names a folder, it is that folder's include, and just the planted violations are told."""
import pathlib
import subprocess
import sys
import tempfile

# (file, its one include, a violation?)
CASES = [
    ("comm/quoted_sibling.cpp", '#include "rules/r.h"', True),
    ("comm/angled_sibling.cpp", "#include <rules/r.h>", True),
    ("ui/angled_lower.cpp", "#include <rules/r.h>", False),
    ("comm/up_sibling.cpp", '#include "../rules/r.h"', True),
    ("ui/main/up_lower.cpp", '#include "../../rules/r.h"', False),
    ("files/dot_up_sibling.cpp", '#include "./../comm/c.h"', True),
    ("model/widgets.cpp", "#include <QWidget>", True),
    ("tools/sim/angled.cpp", "#include <model/m.h>", True),
    ("tools/driver/up.cpp", '#include "../../files/f.h"', True),
    ("ui/dialogs/up_main.cpp", '#include "ui/main/main_disp.h"', True),
    ("ui/chart/up_main.cpp", '#include "../main/main_disp.h"', True),
    ("ui/main/link/own.cpp", '#include "ui/main/main_disp.h"', False),
    ("ui/print/base.cpp", '#include "ui/main_services.h"', False),
]

with tempfile.TemporaryDirectory() as tmp:
    src, qt = pathlib.Path(tmp, "src"), pathlib.Path(tmp, "qt")
    for path, text in [(qt / "QtWidgets/QWidget", "")] + [(src / f, l + "\n") for f, l, _ in CASES]:
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)
    run = subprocess.run([sys.executable, sys.argv[1], str(src), str(qt)], capture_output=True,
                         text=True)
reported = {line.split(":", 1)[0] for line in run.stdout.splitlines() if ": includes " in line}
wrong = [f"{f}: {l} {'missed' if v else 'reported'}" for f, l, v in CASES if (f in reported) != v]
print("\n".join(wrong) or "all planted violations reported, nothing else", run.stdout, sep="\n")
sys.exit(1 if wrong or run.returncode != 1 else 0)
