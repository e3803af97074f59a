#!/usr/bin/env python3
"""Checks what the core folders include.

Their libraries get no Qt include folder but QtCore's in files/, so most widget headers fail
to compile there already. What still compiles is caught here: a header of a ui/ folder or of
the programs that happens to need no Qt, and another Qt module named through the qt6 folder
that QtCore's include path brings into files/.

    core_includes.py SOURCE QTCORE_HEADERS   check SOURCE's core folders
    core_includes.py --self-test             the check against planted includes
"""
import pathlib
import re
import sys
import tempfile

CORE = ("common", "device", "lapdata", "files", "tools", "library", "sheet", "messages", "corrections",
        "runjson", "pit")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# A core folder's own header, not one from a folder below it.
CORE_HEADER = re.compile(r"^(%s)/[^/]+$" % "|".join(CORE))
# Qt's headers, and lower-case ones such as qcustomplot.h.
QT_HEADER = re.compile(r"^(Q|q\w*\.h$)")


def qtcore_header(name, qtcore):
    if name.startswith("QtCore/"):
        return True
    return "/" not in name and (qtcore / name).is_file()


def allowed(folder, kind, name, qtcore):
    if kind == '"':
        return CORE_HEADER.match(name) is not None
    if not QT_HEADER.match(name):
        return True
    # The memo's text encoding.
    return folder == "files" and qtcore_header(name, qtcore)


def problems(root, qtcore):
    found = []
    checked = 0
    for folder in CORE:
        for path in sorted((root / folder).glob("*")):
            if path.suffix not in (".cpp", ".h"):
                continue
            checked += 1
            for n, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                m = INCLUDE.match(line)
                if m and not allowed(folder, m.group(1), m.group(2), qtcore):
                    found.append(f"{path.relative_to(root)}:{n}: {line.strip()}")
    if checked == 0:
        found.append(f"no core source found under {root}")
    return found


def self_test():
    cases = [
        ("lapdata", '#include "lapdata/lap_data.h"', True),
        ("sheet", '#include "library/run_library.h"', True),
        ("device", "#include <termios.h>", True),
        ("files", "#include <QStringDecoder>", True),
        ("files", "#include <QtCore/QString>", True),
        ("lapdata", "#include <QString>", False),
        ("files", "#include <QWidget>", False),
        ("files", "#include <QtGui/QPainter>", False),
        ("files", "#include <qcustomplot.h>", False),
        ("tools", '#include "library/ui/library_texts.h"', False),
        ("device", '#  include "device/settings/port_paths.h"', False),
        ("sheet", '#include "commandline/cli_texts.h"', False),
        ("sheet", '#include "shell/ui/main_window.h"', False),
        ("tools", '#include "messages/ui/window_messages.h"', False),
        ("pit", '#include "runjson/show_json.h"', True),
        ("pit", '#include "cli/verbs.h"', False),
        ("pit", '#include "pit/server/pit_server.h"', False),
        ("runjson", "#include <QJsonObject>", False),
    ]
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        qtcore = pathlib.Path(work, "QtCore")
        qtcore.mkdir()
        for name in ("QString", "QStringDecoder"):
            (qtcore / name).write_text("")
        for i, (folder, line, clean) in enumerate(cases):
            root = pathlib.Path(work, f"case{i}")
            for f in CORE:
                (root / f).mkdir(parents=True)
            (root / folder / "planted.cpp").write_text(f"{line}\n\nint x;\n")
            found = problems(root, qtcore)
            if (not found) != clean:
                failures += 1
                print(f"{folder}: {line}: expected {'clean' if clean else 'refused'}, got {found}")
    print(f"{len(cases) - failures} passed, {failures} failed")
    return 1 if failures else 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    found = problems(pathlib.Path(argv[1]), pathlib.Path(argv[2]))
    for f in found:
        print(f)
    if found:
        print("core folders include only core headers, the standard library and, in files/, QtCore")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
