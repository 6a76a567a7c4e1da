"""A capture turned into a vessel table gives the vessel's own table, and captured again
gives the same report.

Runs the real aeroquin-host with the real module (paths from AEROQUIN_HOST and
AEROQUIN_MODULE) on the examples/flat body, which does not turn and has isothermal air, with a
small step, where a capture reproduces the vessel's table exactly.
"""

import bisect
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


def read_table(path):
    """A vessel table of the host: {(mach, aoa): (cl, cd)}."""
    with open(path) as file:
        lines = [line.strip() for line in file]
    lines = [line for line in lines if line and not line.startswith("#")]
    if lines[0].lower() != "mach,aoa,cl,cd":
        raise AssertionError("%s: no header line mach,aoa,cl,cd" % path)
    points = {}
    for line in lines[1:]:
        mach, aoa, cl, cd = (float(value) for value in line.split(","))
        points[(mach, aoa)] = (cl, cd)
    return points


def interpolate(points, mach, aoa):
    """(cl, cd) bilinear in Mach and AOA, edge values held beyond the grid, as the host flies."""
    def locate(axis, x):
        x = min(max(x, axis[0]), axis[-1])
        i = min(bisect.bisect_right(axis, x) - 1, len(axis) - 2)
        return i, (x - axis[i]) / (axis[i + 1] - axis[i])

    machs = sorted({m for m, _ in points})
    aoas = sorted({a for _, a in points})
    i, fm = locate(machs, mach)
    j, fa = locate(aoas, aoa)

    def blend(k):
        def along_aoa(m):
            return points[m, aoas[j]][k] * (1 - fa) + points[m, aoas[j + 1]][k] * fa

        return along_aoa(machs[i]) * (1 - fm) + along_aoa(machs[i + 1]) * fm

    return blend(0), blend(1)


# A report keeps 6 significant digits; Probe.csv is linear, so interpolation adds no error.
TABLE_TOLERANCE = 1e-5


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

            # A sign or a unit lost between capture and table shows only against the source.
            source = read_table(os.path.join(FLAT, "Config", "Vessels", "Probe.csv"))
            exported = read_table(os.path.join(vessels, "Replay.csv"))
            self.assertEqual(len(exported), 6 * 11)
            off = []
            for (mach, aoa), got in sorted(exported.items()):
                want = interpolate(source, mach, aoa)
                if any(abs(g - w) > TABLE_TOLERANCE * max(1, abs(w)) for g, w in zip(got, want)):
                    off.append("Mach %g, AOA %g: cl, cd %g, %g; vessel %g, %g"
                               % (mach, aoa, *got, *want))
            self.assertEqual(off, [], "table differs from the vessel's:\n" + "\n".join(off))

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
