#!/usr/bin/env python3
"""Checks the #include lines of src/ against the allowed-includes table of
docs/architecture.md: a file of one folder may include headers of its own
folder and of the folders the table names, nothing else. Only src/ui/wx and
src/app may include wxWidgets.

    tools/check_includes.py [SOURCE_ROOT]
    tools/check_includes.py --self-test

Prints one line per forbidden include and exits with 1 when there is any.
The self-test runs the check on a small tree with known faults.
"""
import pathlib
import re
import sys
import tempfile

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
WX_FOLDERS = {"ui/wx", "app"}


def allowed_table(doc):
    text = doc.read_text(encoding="utf-8")
    start = text.index("<!-- allowed-includes -->")
    end = text.index("<!-- end -->", start)
    table = {}
    for line in text[start:end].splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) != 2 or cells[0] in ("folder", "") or set(cells[0]) <= {"-"}:
            continue
        table[cells[0]] = {c.strip() for c in cells[1].split(",") if c.strip()}
    return table


def folder_of(path_in_src, folders):
    """The longest folder of the table that holds `path_in_src` (ui/wx before ui)."""
    parts = pathlib.PurePosixPath(path_in_src).parts
    for n in range(len(parts) - 1, 0, -1):
        candidate = "/".join(parts[:n])
        if candidate in folders:
            return candidate
    return None


def check(root):
    table = allowed_table(root / "docs" / "architecture.md")
    src = root / "src"
    problems = []
    for f in sorted(src.rglob("*")):
        if f.suffix not in (".h", ".cpp"):
            continue
        rel = f.relative_to(src).as_posix()
        here = folder_of(rel, table)
        if here is None:
            problems.append(f"src/{rel}: folder not in the table of docs/architecture.md")
            continue
        for number, line in enumerate(f.read_text(encoding="utf-8").splitlines(), 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            kind, target = m.groups()
            if kind == "<":
                if target.startswith("wx/") and here not in WX_FOLDERS:
                    problems.append(f"src/{rel}:{number}: wxWidgets outside ui/wx and app")
                continue
            there = folder_of(target, table)
            if there is None:
                problems.append(f"src/{rel}:{number}: {target} is in no folder of the table")
            elif there != here and there not in table[here]:
                problems.append(f"src/{rel}:{number}: {here} may not include {there} ({target})")
    return problems


def self_test():
    """A tree with one allowed and three forbidden includes must give exactly three problems."""
    with tempfile.TemporaryDirectory() as tmp:
        root = pathlib.Path(tmp)
        (root / "docs").mkdir()
        (root / "docs" / "architecture.md").write_text(
            "<!-- allowed-includes -->\n| folder | may include |\n|---|---|\n"
            "| text | |\n| ui | text |\n| ui/wx | text, ui |\n| map | text |\n| app | text, ui, ui/wx, map |\n"
            "<!-- end -->\n", encoding="utf-8")
        files = {
            "map/a.cpp": '#include "map/a.h"\n#include "text/t.h"\n#include "ui/ui.h"\n',
            "map/a.h": "#include <wx/frame.h>\n",
            "ui/wx/w.cpp": '#include <wx/frame.h>\n#include "ui/ui.h"\n',
            "text/t.h": '#include "ui/wx/w.h"\n',
            "app/m.cpp": '#include "ui/wx/w.h"\n#include <wx/app.h>\n',
        }
        for name, body in files.items():
            path = root / "src" / name
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(body, encoding="utf-8")
        found = check(root)
        expected = ["src/map/a.cpp:3", "src/map/a.h:1", "src/text/t.h:1"]
        if [p.split(": ")[0] for p in found] != expected:
            print("self-test: expected problems at", expected, "found", found)
            return 1
    return 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    problems = check(root)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
