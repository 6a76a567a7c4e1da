"""A capture turned into a vessel table and captured again gives the same report.

Runs the real aeroquin-host with the real module (paths from AEROQUIN_HOST and
AEROQUIN_MODULE) on the examples/flat body, which does not turn and has isothermal air, with a
small step, where a capture reproduces the vessel's table exactly.
"""

import os
import shutil
import subprocess
import tempfile
import unittest

from support import run_tool

HERE = os.path.dirname(os.path.abspath(__file__))
FLAT = os.path.normpath(os.path.join(HERE, os.pardir, os.pardir, "examples", "flat"))
CONFIG = (
    "VesselName = P1\nSaveDirectory = Reports\nReportNameStyle = 0\n"
    "AoaIntervals = -20 0 40\nAoaIncrements = 4 6\n"
    "MachIntervals = 0.3 1 2.5\nMachIncrements = 2 3\n"
)


def capture(root):
    """Runs one capture on `root`; fails the test unless it completes."""
    done = subprocess.run(
        [os.environ["AEROQUIN_HOST"], "--root", root, "--module", os.environ["AEROQUIN_MODULE"],
         "--display", "none", "--step", "0.0005"],
        capture_output=True, text=True, timeout=300)
    if done.returncode != 0:
        raise AssertionError("capture failed (%d): %s" % (done.returncode, done.stderr))


def make_root(parent, name):
    root = os.path.join(parent, name)
    shutil.copytree(FLAT, root)
    with open(os.path.join(root, "Config", "Modules", "Plugin", "Aeroquin.cfg"), "w") as cfg:
        cfg.write(CONFIG)
    return root


class RoundTripTest(unittest.TestCase):
    def test_table_from_a_capture_flies_the_same_report(self):
        with tempfile.TemporaryDirectory() as parent:
            first = make_root(parent, "first")
            capture(first)
            first_report = os.path.join(first, "Reports", "Probe.csv")

            second = make_root(parent, "second")
            vessels = os.path.join(second, "Config", "Vessels")
            status, _, err = run_tool("table", first_report, "--area", "10",
                                      "-o", os.path.join(vessels, "Replay.csv"))
            self.assertEqual(status, 0, err)
            with open(os.path.join(vessels, "Replay.cfg"), "w") as cls:
                cls.write("Mass = 1000\nReferenceArea = 10\nAeroTable = Replay.csv\n")
            scenario = os.path.join(second, "Scenarios", "Default.scn")
            with open(scenario) as file:
                text = file.read().replace("P1:Probe", "P1:Replay")
            with open(scenario, "w") as file:
                file.write(text)
            capture(second)
            second_report = os.path.join(second, "Reports", "Replay.csv")

            status, out, err = run_tool("compare", first_report, second_report,
                                        "--tolerance", "0.005")
            self.assertEqual(status, 0, out + err)
            with open(second_report) as file:
                self.assertEqual(len(file.readlines()), 6 + 6 * 11)


if __name__ == "__main__":
    unittest.main()
