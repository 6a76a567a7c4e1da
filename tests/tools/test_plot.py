import math
import os
import shutil
import tempfile
import unittest
from unittest import mock

from support import PYTHON, columns, fixture, read_fixture, run_tool, with_sideslip

import importlib.util

from aeroquin_report.cli import matplotlib_missing_note
from aeroquin_report.plot import write_figure
from aeroquin_report.report import read_report

HAVE_MATPLOTLIB = importlib.util.find_spec("matplotlib") is not None
if HAVE_MATPLOTLIB:
    from matplotlib.figure import Figure


@unittest.skipUnless(HAVE_MATPLOTLIB, "matplotlib is not installed")
class PlotTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)

    def test_png_next_to_the_report_by_default(self):
        shutil.copy(fixture("glider.csv"), self.folder.name)
        status, out, err = run_tool("plot", "glider.csv", cwd=self.folder.name)
        self.assertEqual((status, out, err), (0, "Figure written: glider.png\n", ""))
        with open(os.path.join(self.folder.name, "glider.png"), "rb") as file:
            self.assertEqual(file.read(8), b"\x89PNG\r\n\x1a\n")

    def test_svg_with_title_axes_units_and_legend(self):
        target = os.path.join(self.folder.name, "figure.svg")
        status, _, err = run_tool("plot", fixture("flagged.csv"), "-o", target)
        self.assertEqual((status, err), (0, ""))
        with open(target, encoding="utf-8") as file:
            svg = file.read()
        self.assertIn("<svg", svg)
        for text in (
            "Glider: Aeroquin capture of 2 Mach numbers × 3 angles of attack, started"
            " 2024-03-05 14:07:09 UTC",
            "AOA [deg]",
            "CL*S [m²]",
            "CD*S [m²]",
            "L/D",
            "Drag polar",
            ">Mach number<",
            ">Mach 0 (no finite values)<",
            ">Mach 0.5<",
            "5 of 6 rows flagged",
        ):
            with self.subTest(text=text):
                self.assertTrue(text in svg, "%r is not in the SVG" % text)

    def test_pitching_moment_panels(self):
        target = os.path.join(self.folder.name, "figure.svg")
        status, _, err = run_tool("plot", fixture("moment.csv"), "-o", target)
        self.assertEqual((status, err), (0, ""))
        with open(target, encoding="utf-8") as file:
            svg = file.read()
        for text in ("Pitching moment (nose-up positive)", "Pitching moment against lift",
                     "CM*S*c [m³]"):
            with self.subTest(text=text):
                self.assertTrue(text in svg, "%r is not in the SVG" % text)

    def write(self, name, text):
        path = os.path.join(self.folder.name, name)
        with open(path, "w", encoding="utf-8") as file:
            file.write(text)
        return path

    def drawn(self, name, *args):
        """Each panel's labelled curves by its title, read when the figure is saved:
        write_figure closes it then."""
        drawn = {}

        def keep(figure, *args, **kwargs):
            for axes in figure.axes:
                drawn[axes.get_title()] = [
                    (line.get_label(), list(line.get_xdata()), list(line.get_ydata()))
                    for line in axes.get_lines() if not line.get_label().startswith("_")
                ]

        with mock.patch.object(Figure, "savefig", keep):
            write_figure(read_report(fixture(name)), os.path.join(self.folder.name, "f.svg"), *args)
        return drawn

    @unittest.skipUnless(importlib.util.find_spec("numpy"), "numpy is not installed")
    def test_root_map_of_a_report_with_what_modes_needs(self):
        from test_modes import capture
        from aeroquin_report import modes

        report = read_report(self.write("rates.csv", capture()))
        expected = modes.analyse(report, modes.trims(report)[0][2]).modes
        drawn = self.drawn(os.path.join(self.folder.name, "rates.csv"))
        root_map = drawn["Modes of motion at the level-flight trim (aeroquin-report modes)"]
        marked = {label: list(zip(x, y)) for label, x, y in root_map if not label.startswith("_")}
        # The roll subsidence lies beyond the view here: the panel names it instead.
        for mode in (m for m in expected if m.name != modes.ROLL_MODE_NAME):
            root = mode.roots[0]
            pair = (root, root.conjugate()) if root.imag else (root,)
            points = [(r.real, r.imag) for r in pair]
            with self.subTest(mode=mode.name):
                self.assertEqual([tuple(round(v, 9) for v in p) for p in marked[mode.name]],
                                 [tuple(round(v, 9) for v in p) for p in points])
        # Without the rates: no root map.
        self.assertNotIn("Modes of motion at the level-flight trim (aeroquin-report modes)",
                         self.drawn("moment.csv"))

    def test_pitching_moment_panels_draw_the_moment_column(self):
        drawn = self.drawn("moment.csv")
        aoa = [-5, 0, 5, 10]
        cm_low, cm_high = [0.9, 0.4, -0.1, -0.6], [-0.6, -0.1, 0.4, 0.9]
        self.assertEqual(
            drawn["Pitching moment (nose-up positive)"],
            [("Mach 0.5", aoa, cm_low), ("Mach 1", aoa, cm_high)],
        )
        self.assertEqual(
            drawn["Pitching moment against lift"],
            [("Mach 0.5", [-1, 0.5, 3, 2.5], cm_low), ("Mach 1", [-2, -0.5, 1.5, 4], cm_high)],
        )

    def test_sideslip_panels_draw_the_moments_per_aoa(self):
        beta = [-10, 0, 10]
        cases = [
            # Mach number chosen (the lowest by default) and as titled, Cn*S*b and Cl*S*b at
            # AOA 0 and 5
            (None, "0.5", [[-6.02138, 0, 6.02138], [-5, 0, 5]],
             [[2.62673, 0, -2.62673], [3, 0, -3]]),
            (1.0, "1", [[1, 0, -1], [2, 0, -2]], [[-0.5, 0, 0.5], [-1, 0, 1]]),
        ]
        for mach, text, yaw, roll in cases:
            with self.subTest(mach=text):
                drawn = self.drawn("sideslip-moment.csv", mach)
                self.assertEqual(
                    drawn["Yawing moment at Mach %s (nose right positive)" % text],
                    [("AOA 0", beta, yaw[0]), ("AOA 5", beta, yaw[1])],
                )
                self.assertEqual(
                    drawn["Rolling moment at Mach %s (right wing down positive)" % text],
                    [("AOA 0", beta, roll[0]), ("AOA 5", beta, roll[1])],
                )
        # the other panels hold the rows at sideslip 0
        self.assertEqual(
            drawn["Lift (CL*S = lift / dynamic pressure)"],
            [("Mach 0.5", [0, 5], [0.5, 3]), ("Mach 1", [0, 5], [-0.5, 1.5])],
        )

    def test_mach_number_of_the_sideslip_panels(self):
        target = os.path.join(self.folder.name, "figure.svg")
        status, _, err = run_tool("plot", "sideslip-moment.csv", "-o", target, "--mach", "1",
                                  cwd=fixture(""))
        self.assertEqual((status, err), (0, ""))
        with open(target, encoding="utf-8") as file:
            svg = file.read()
        for text in ("Finned: Aeroquin capture of 2 Mach numbers × 3 sideslip angles × 2 angles"
                     " of attack", "Yawing moment at Mach 1 (nose right positive)"):
            with self.subTest(text=text):
                self.assertTrue(text in svg, "%r is not in the SVG" % text)
        cases = [
            ("sideslip-moment.csv", "2", "sideslip-moment.csv has no rows at Mach 2; its Mach"
             " numbers are 0.5, 1"),
            ("sideslip.csv", "0.5", "--mach chooses the Mach number of the Cn*S*b and Cl*S*b"
             " panels and of the control level panels; sideslip.csv has no such panels"),
            ("elevator.csv", "0.7", "elevator.csv has no rows at Mach 0.7; its Mach numbers are"
             " 0.5, 1"),
        ]
        for name, mach, message in cases:
            with self.subTest(name):
                status, out, err = run_tool("plot", name, "-o", target, "--mach", mach,
                                            cwd=fixture(""))
                self.assertEqual((status, out, err), (2, "", "aeroquin-report: error: %s\n"
                                                      % message))

    def test_control_panels_draw_the_trims_and_the_moment_per_level(self):
        levels = [-1, -0.5, 0, 0.5, 1]
        cases = [
            # Mach number chosen (the lowest by default) and as titled, CM*S*c at AOA -5 ... 10
            # per level: m0 - ma AOA + md level
            (None, "0.5", [[0.4 + 0.2 * level - 0.1 * aoa for aoa in (-5, 0, 5, 10)]
                           for level in levels]),
            (1.0, "1", [[0.2 + 0.4 * level - 0.05 * aoa for aoa in (-5, 0, 5, 10)]
                        for level in levels]),
        ]
        for mach, text, moments in cases:
            with self.subTest(mach=text):
                drawn = self.drawn("elevator.csv", mach)
                per_level = drawn["Pitching moment per control level at Mach %s" % text]
                self.assertEqual([curve[:2] for curve in per_level],
                                 [("level %g" % level, [-5, 0, 5, 10]) for level in levels])
                for (_, _, got), expected in zip(per_level, moments):
                    for a, b in zip(got, expected):
                        self.assertAlmostEqual(a, b, places=12)
        # Mach 1 cannot trim at level 1: a gap
        self.assertEqual(
            [(label, x, [None if math.isnan(v) else round(v, 12) for v in y])
             for label, x, y in drawn["Trim AOA against control level (statically stable"
                                      " trims)"]],
            [("Mach 0.5", levels, [2, 3, 4, 5, 6]), ("Mach 1", levels, [-4, 0, 4, 8, None])],
        )
        # with a sideslip axis, of the rows at sideslip 0 (off it CM*S*c is 5)
        drawn = self.drawn(self.write("r.csv", with_sideslip(read_fixture("elevator.csv"))))
        self.assertEqual(
            drawn["Pitching moment per control level at Mach 0.5"][0],
            ("level -1", [-5, 0, 5, 10], [0.7, 0.2, -0.3, -0.8]),
        )
        # the other panels hold the rows at level 0
        self.assertEqual(
            drawn["Lift (CL*S = lift / dynamic pressure)"][1], ("Mach 1", [-5, 0, 5, 10],
                                                                [-2, -0.5, 1, 2.5]),
        )

    def test_control_panels_without_the_moments_draw_the_total_lift_and_drag(self):
        text = columns(read_fixture("elevator.csv"), (
            "Mach Number", "AOA", "Dynamic Pressure", "Airspeed", "CL*S", "CD*S", "L/D", "CY*S",
            "Control Level", "CL*S total", "CD*S total"))
        drawn = self.drawn(self.write("r.csv", text))
        self.assertEqual(
            drawn["Total lift per control level at Mach 0.5"][0],
            ("level -1", [-5, 0, 5, 10], [-0.2, 0.8, 1.8, 2.8]),
        )
        self.assertEqual(
            drawn["Total drag per control level at Mach 0.5"][4],
            ("level 1", [-5, 0, 5, 10], [0.6, 0.35, 0.6, 1.35]),
        )
        self.assertNotIn("Trim AOA against control level (statically stable trims)", drawn)

    def test_control_levels_the_vessel_moved_are_noted(self):
        target = os.path.join(self.folder.name, "figure.svg")
        status, out, err = run_tool("plot", "elevator-moved.csv", "-o", target, "--mach", "1",
                                    cwd=fixture(""))
        self.assertEqual((status, out), (0, "Figure written: %s\n" % target))
        self.assertEqual(
            err,
            "aeroquin-report: note: elevator-moved.csv: the control levels as written do not"
            " form a grid; points (Mach x AOA) per control level as written, of 8: -1: 8, -0.5:"
            " 8 (9 rows), 0: 7, 0.25: 1, 0.5: 7, 1: 8\n",
        )
        with open(target, encoding="utf-8") as file:
            svg = file.read()
        for text in ("Tailed: Aeroquin capture of 2 Mach numbers × 6 control levels × 4 angles of"
                     " attack", "Lift, drag and pitch at control level 0", "form a grid; each",
                     "Pitching moment per control level at Mach 1", ">level 0.25<"):
            with self.subTest(text=text):
                self.assertTrue(text in svg, "%r is not in the SVG" % text)

    def test_report_cut_short_is_noted(self):
        target = os.path.join(self.folder.name, "figure.svg")
        status, out, err = run_tool("plot", "cut-mid-row.csv", "-o", target, cwd=fixture(""))
        self.assertEqual((status, out), (0, "Figure written: %s\n" % target))
        self.assertEqual(
            err,
            "aeroquin-report: note: cut-mid-row.csv: report cut short: 3 of 8 rows missing;"
            " the last line was cut mid-row\n",
        )
        with open(target, encoding="utf-8") as file:
            svg = file.read()
        for text in ("report cut short:", "3 of 8 rows missing;", "the last line was cut mid-row"):
            with self.subTest(text=text):
                self.assertTrue(text in svg, "%r is not in the SVG" % text)

    def test_other_formats_are_refused(self):
        target = os.path.join(self.folder.name, "figure.pdf")
        status, out, err = run_tool("plot", fixture("glider.csv"), "-o", target)
        self.assertEqual((status, out), (2, ""))
        self.assertEqual(
            err,
            "aeroquin-report: error: cannot write a figure as %r: use a file name ending in"
            " .png or .svg\n" % target,
        )
        self.assertFalse(os.path.exists(target))

    def test_report_is_never_overwritten(self):
        report = os.path.join(self.folder.name, "capture.png")
        shutil.copy(fixture("glider.csv"), report)
        status, out, err = run_tool("plot", "capture.png", cwd=self.folder.name)
        self.assertEqual((status, out), (2, ""))
        self.assertEqual(
            err,
            "aeroquin-report: error: the figure capture.png would overwrite the report;"
            " choose another with -o\n",
        )
        with open(report, encoding="utf-8") as file, open(fixture("glider.csv")) as original:
            self.assertEqual(file.read(), original.read())

    def test_report_without_rows(self):
        path = os.path.join(self.folder.name, "empty.csv")
        with open(fixture("glider.csv"), encoding="utf-8") as file:
            header = "".join(file.readlines()[:6])
        with open(path, "w", encoding="utf-8") as file:
            file.write(header)
        status, out, err = run_tool("plot", "empty.csv", cwd=self.folder.name)
        self.assertEqual((status, out), (2, ""))
        self.assertEqual(err, "aeroquin-report: error: empty.csv holds no rows; nothing to plot\n")
        self.assertFalse(os.path.exists(os.path.join(self.folder.name, "empty.png")))

    def test_unwritable_target(self):
        target = os.path.join(self.folder.name, "missing", "figure.png")
        status, _, err = run_tool("plot", fixture("glider.csv"), "-o", target)
        self.assertEqual(status, 2)
        self.assertEqual(
            err, "aeroquin-report: error: cannot write %s: No such file or directory\n" % target
        )


class WithoutMatplotlibTest(unittest.TestCase):
    def test_note_and_exit_3(self):
        with tempfile.TemporaryDirectory() as folder:
            # A matplotlib that cannot be imported shadows the installed one.
            os.mkdir(os.path.join(folder, "matplotlib"))
            with open(os.path.join(folder, "matplotlib", "__init__.py"), "w") as file:
                file.write("raise ImportError('No module named matplotlib')\n")
            env = dict(os.environ, PYTHONPATH=folder)
            target = os.path.join(folder, "figure.png")
            status, out, err = run_tool("plot", fixture("glider.csv"), "-o", target, env=env)
            self.assertFalse(os.path.exists(target))
        self.assertEqual((status, out), (3, ""))
        # The note names the interpreter that ran and how to install matplotlib for it.
        self.assertEqual(
            err, matplotlib_missing_note(PYTHON, "No module named matplotlib") + "\n"
        )
        self.assertEqual(
            matplotlib_missing_note("/usr/bin/python3", "No module named matplotlib", True),
            "aeroquin-report: note: no figure written: matplotlib is not installed for"
            " /usr/bin/python3 (No module named matplotlib); install it: apt-get install"
            " python3-matplotlib",
        )
        self.assertEqual(
            matplotlib_missing_note("/opt/venv/bin/python", "No module named matplotlib", False),
            "aeroquin-report: note: no figure written: matplotlib is not installed for"
            " /opt/venv/bin/python (No module named matplotlib); install it:"
            " /opt/venv/bin/python -m pip install matplotlib",
        )


@unittest.skipUnless(HAVE_MATPLOTLIB, "matplotlib is not installed")
class ManyMachNumbersTest(unittest.TestCase):
    def test_a_colour_bar_of_mach_stands_for_a_legend_too_long_to_fit(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        machs = [0.1 * i for i in range(1, 41)]
        lines = [
            "Aeroquin version: 1.0",
            "Vessel Class: Glider",
            "System time at simulation start: 2024/03/05::14:07:09",
            "Number of AOA points = 2",
            "Number of Mach points = %d" % len(machs),
            "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D",
        ]
        for mach in machs:
            for aoa in (0, 10):
                lines.append(
                    "%g; %d; 1000; %g; %g; 0.5; %g"
                    % (mach, aoa, 300 * mach, aoa * 0.1, aoa * 0.2)
                )
        report = os.path.join(folder.name, "many.csv")
        with open(report, "w", encoding="utf-8") as file:
            file.write("\n".join(lines) + "\n")
        target = os.path.join(folder.name, "many.svg")
        status, _, err = run_tool("plot", report, "-o", target)
        self.assertEqual((status, err), (0, ""))
        with open(target, encoding="utf-8") as file:
            svg = file.read()
        self.assertIn(">Mach number<", svg)
        self.assertNotIn(">Mach 4<", svg, "no legend entries beside the colour bar")


if __name__ == "__main__":
    unittest.main()
