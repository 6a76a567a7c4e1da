"""Paths and helpers shared by the aeroquin-report tests."""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "fixtures")
TOOLS = os.path.normpath(os.path.join(HERE, os.pardir, os.pardir, "tools"))
TOOL = os.path.join(TOOLS, "aeroquin-report")
PACKAGE_ROOT = os.path.join(TOOLS, "report")
# The interpreter the tests run under, the one the build found.
PYTHON = sys.executable

if PACKAGE_ROOT not in sys.path:
    sys.path.insert(0, PACKAGE_ROOT)


def fixture(name):
    return os.path.join(FIXTURES, name)


def read_fixture(name):
    with open(fixture(name), encoding="utf-8", newline="") as file:
        return file.read()


def run_tool(*args, cwd=None, env=None):
    """Runs the tool as users do; returns (exit status, stdout, stderr)."""
    done = subprocess.run(
        [PYTHON, TOOL, *args], capture_output=True, text=True, cwd=cwd, env=env, timeout=300
    )
    return done.returncode, done.stdout, done.stderr


def columns(text, keep):
    """The report `text` with only the columns named in `keep`, in their order."""
    lines = text.splitlines()
    names = lines[5].split("; ")
    chosen = [names.index(name) for name in keep]
    rows = ["; ".join(line.split("; ")[i] for i in chosen) for line in lines[5:]]
    return "\n".join(lines[:5] + rows) + "\n"


def with_sideslip(text):
    """The elevator report with a sideslip axis of -5, 0 and 5 deg, swept inside the levels; off
    sideslip 0 CM*S*c is 5 (no trim) and CL*S total 9."""
    lines = text.splitlines()
    header = lines[5].replace("CM*S*c; CY*S", "CM*S*c; Sideslip; CY*S")
    out = lines[:5] + [header]
    rows = lines[6:]
    for start in range(0, len(rows), 4):  # one Mach number and level: four AOAs
        for beta in ("-5", "0", "5"):
            for line in rows[start:start + 4]:
                fields = line.split("; ")
                if beta != "0":
                    fields[7], fields[12] = "5", "9"
                out.append("; ".join(fields[:8] + [beta] + fields[8:]))
    return "\n".join(out) + "\n"
