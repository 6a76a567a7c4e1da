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
