import os
import shutil
import subprocess
import tempfile
import unittest

from support import Sailplane, fixture, read_fixture, run_tool
from aeroquin_report.table import default_name, valid_name

GLIDER_TABLE_AREA_2 = (
    "# Aeroquin capture of Glider, started 2024/03/05::14:07:09 UTC (report glider.csv)\n"
    "# cl = CL*S / S, cd = CD*S / S with the reference area S = 2 m^2\n"
    "mach,aoa,cl,cd\n"
    "0.5,-5,-0.5,0.25\n"
    "0.5,0,0.25,0.125\n"
    "0.5,5,1.5,0.2\n"
    "0.5,10,1.25,0.5\n"
    "1,-5,-1,0.5\n"
    "1,0,-0.25,0.4\n"
    "1,5,0.75,0.5\n"
    "1,10,2,1\n"
)


def write(folder, name, text):
    path = os.path.join(folder, name)
    with open(path, "w", encoding="utf-8") as file:
        file.write(text)
    return path


class CsvTableTest(unittest.TestCase):
    def test_exact_text(self):
        status, out, err = run_tool("table", "glider.csv", "--area", "2", cwd=fixture(""))
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(out, GLIDER_TABLE_AREA_2)

    def test_pitching_moment_with_and_without_chord(self):
        # cm = CM*S*c / (2 m^2 * 0.25 m): twice the report's column
        status, out, err = run_tool(
            "table", "moment.csv", "--area", "2", "--chord", "0.25", cwd=fixture("")
        )
        self.assertEqual((status, err), (0, ""))
        lines = GLIDER_TABLE_AREA_2.replace("glider.csv", "moment.csv").splitlines(True)
        cm = ["1.8", "0.8", "-0.2", "-1.2", "-1.2", "-0.2", "0.8", "1.8"]
        self.assertEqual(
            out,
            "".join(lines[:2])
            + "# cm = CM*S*c / (S c) with the reference chord c = 0.25 m; positive nose-up\n"
            + "mach,aoa,cl,cm,cd\n"
            + "".join(
                ",".join(line.split(",")[:3] + [value] + line.split(",")[3:])
                for line, value in zip(lines[3:], cm)
            ),
        )
        status, out, err = run_tool("table", "moment.csv", "--area", "2", cwd=fixture(""))
        self.assertEqual(out, GLIDER_TABLE_AREA_2.replace("glider.csv", "moment.csv"))
        self.assertEqual(
            (status, err),
            (0, "aeroquin-report: note: moment.csv has CM*S*c; the table leaves out cm, which"
                " needs --chord C\n"),
        )
        status, out, err = run_tool(
            "table", "glider.csv", "--area", "2", "--chord", "1", cwd=fixture("")
        )
        self.assertEqual((status, out), (2, ""))
        self.assertEqual(
            err,
            "aeroquin-report: error: glider.csv: --chord gives cm = CM*S*c / (S c), but the"
            " report has no CM*S*c column\n",
        )

    def test_a_sideslip_axis_gives_the_rows_at_sideslip_0(self):
        status, out, err = run_tool("table", "sideslip-moment.csv", "--area", "2", cwd=fixture(""))
        self.assertEqual((status, out.splitlines()[2:]), (0, [
            "# the report's rows at sideslip 0; its other rows are left out",
            "mach,aoa,cl,cd",
            "0.5,0,0.25,0.125",
            "0.5,5,1.5,0.2",
            "1,0,-0.25,0.4",
            "1,5,0.75,0.5",
        ]))
        with tempfile.TemporaryDirectory() as folder:
            write(folder, "r.csv", read_fixture("sideslip.csv").replace("; 0; 0\n", "; 1; 0\n"))
            status, out, err = run_tool("table", "r.csv", "--area", "2", cwd=folder)
        self.assertEqual((status, out), (2, ""))
        self.assertEqual(
            err,
            "aeroquin-report: error: r.csv: cannot make a table: a table holds the rows at"
            " sideslip 0, and the report has none\n",
        )

    def test_a_control_axis_gives_the_rows_at_control_level_0(self):
        status, out, err = run_tool(
            "table", "elevator.csv", "--area", "2", "--chord", "0.5", cwd=fixture("")
        )
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(out.splitlines()[3:], [
            "# the report's rows at control level 0; its other rows are left out",
            "mach,aoa,cl,cm,cd",
            "0.5,-5,-0.25,0.9,0.25",
            "0.5,0,0.25,0.4,0.125",
            "0.5,5,0.75,-0.1,0.25",
            "0.5,10,1.25,-0.6,0.625",
            "1,-5,-1,0.45,0.65",
            "1,0,-0.25,0.2,0.4",
            "1,5,0.5,-0.05,0.65",
            "1,10,1.25,-0.3,1.4",
        ])

    def test_a_rate_axis_gives_the_rows_at_rate_0(self):
        # at every rate the same lift and drag; CM*S*c without the damping only at rate 0
        with tempfile.TemporaryDirectory() as folder:
            write(folder, "r.csv", Sailplane.report(machs=(0.08, 0.12), aoas=(0, 4),
                                                    rates=(-10, 0, 10)))
            status, out, err = run_tool("table", "r.csv", "--area", "10", "--chord", "1",
                                        cwd=folder)
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(out.splitlines()[3:], [
            "# the report's rows at rate 0; its other rows are left out",
            "mach,aoa,cl,cm,cd",
        ] + [
            "%g,%g,%g,%g,%g" % (mach, aoa, Sailplane.lift(aoa) / 10,
                                0.2 * (Sailplane.trim(mach) - aoa) / 10, Sailplane.drag(aoa) / 10)
            for mach in (0.08, 0.12) for aoa in (0, 4)
        ])

    def test_rows_out_of_sweep_order_come_out_sorted(self):
        lines = read_fixture("glider.csv").splitlines(keepends=True)
        shuffled = "".join(lines[:6] + lines[6:][::-1])
        with tempfile.TemporaryDirectory() as folder:
            write(folder, "glider.csv", shuffled)
            status, out, _ = run_tool("table", "glider.csv", "--area", "2", cwd=folder)
        self.assertEqual((status, out), (0, GLIDER_TABLE_AREA_2))

    def test_output_file(self):
        with tempfile.TemporaryDirectory() as folder:
            target = os.path.join(folder, "Glider.csv")
            status, out, _ = run_tool(
                "table", fixture("glider.csv"), "--area", "2", "-o", target
            )
            self.assertEqual((status, out), (0, ""))
            with open(target, encoding="utf-8") as file:
                self.assertEqual(file.read(), GLIDER_TABLE_AREA_2)

    def test_report_is_never_overwritten(self):
        with tempfile.TemporaryDirectory() as folder:
            write(folder, "r.csv", read_fixture("glider.csv"))
            status, out, err = run_tool(
                "table", "r.csv", "--area", "2", "-o", "./r.csv", cwd=folder
            )
            self.assertEqual((status, out), (2, ""))
            self.assertEqual(
                err, "aeroquin-report: error: the table ./r.csv would overwrite the report\n"
            )
            with open(os.path.join(folder, "r.csv"), encoding="utf-8") as file:
                self.assertEqual(file.read(), read_fixture("glider.csv"))

    def test_reports_that_make_no_table(self):
        glider = read_fixture("glider.csv")
        one_mach = "".join(glider.splitlines(keepends=True)[:10]).replace(
            "Mach points = 2", "Mach points = 1"
        )
        cases = [
            (
                "flagged.csv",
                read_fixture("flagged.csv"),
                "flagged.csv: cannot make a table: 3 rows have a non-finite CL*S or CD*S:"
                " line 7 (Mach 0, AOA 0: CL*S nan, CD*S inf), line 8 (Mach 0, AOA 5: CL*S inf,"
                " CD*S inf), line 9 (Mach 0, AOA 10: CL*S inf, CD*S inf)",
            ),
            (
                "hole.csv",
                glider.replace("1; 5; 12605.8; 295.07; 1.5; 1; 1.5\n", ""),
                "hole.csv: cannot make a table, the grid is not complete: 1 of the 8 points of"
                " the 2 Mach x 4 AOA grid are missing",
            ),
            (
                "twice.csv",
                glider.replace("1; 10;", "1; 5;"),
                "twice.csv: cannot make a table, the grid is not complete: line 14 repeats"
                " Mach 1, AOA 5 of line 13; 1 of the 8 points of the 2 Mach x 4 AOA grid are"
                " missing",
            ),
            (
                "one-mach.csv",
                one_mach,
                "one-mach.csv: cannot make a vessel table: the host needs at least 2 Mach"
                " numbers and 2 AOAs, the report has 1 and 4 (--format cpp has no such limit)",
            ),
            (
                "empty.csv",
                "".join(glider.splitlines(keepends=True)[:6]),
                "empty.csv: cannot make a table: the report holds no rows",
            ),
            (
                "cut-mid-row.csv",
                read_fixture("cut-mid-row.csv"),
                "cut-mid-row.csv: cannot make a table: report cut short: 3 of 8 rows missing;"
                " the last line was cut mid-row",
            ),
            # points that ran at another level: level 0 lacks one, and the rows are no grid
            (
                "elevator-moved.csv",
                read_fixture("elevator-moved.csv"),
                "elevator-moved.csv: cannot make a table: the control levels as written do not"
                " form a grid; points (Mach x AOA) per control level as written, of 8: -1: 8,"
                " -0.5: 8 (9 rows), 0: 7, 0.25: 1, 0.5: 7, 1: 8",
            ),
            # the rows make a complete grid of two Mach numbers, the header announces three
            (
                "two-of-three.csv",
                glider.replace("Number of Mach points = 2", "Number of Mach points = 3"),
                "two-of-three.csv: cannot make a table: report cut short: 4 of 12 rows missing",
            ),
        ]
        with tempfile.TemporaryDirectory() as folder:
            for name, text, message in cases:
                with self.subTest(name):
                    write(folder, name, text)
                    status, out, err = run_tool("table", name, "--area", "2", cwd=folder)
                    self.assertEqual((status, out), (2, ""))
                    self.assertEqual(err, "aeroquin-report: error: %s\n" % message)

    def test_negative_drag_and_header_mismatch_warn(self):
        text = read_fixture("glider.csv").replace("0.5; 0; 3151.45; 147.535; 0.5; 0.25;",
                                                  "0.5; 0; 3151.45; 147.535; 0.5; -0.25;")
        text = text.replace("Number of Mach points = 2", "Number of Mach points = 3")
        # Out of sweep order, the rows are no capture cut short.
        lines = text.splitlines(keepends=True)
        text = "".join(lines[:6] + lines[6:][::-1])
        with tempfile.TemporaryDirectory() as folder:
            write(folder, "r.csv", text)
            status, out, err = run_tool("table", "r.csv", "--area", "2", cwd=folder)
        self.assertEqual(status, 0)
        self.assertIn("0.5,0,0.25,-0.125\n", out)
        self.assertEqual(
            err,
            "aeroquin-report: warning: r.csv: the header announces 4 AOA x 3 Mach = 12 points,"
            " the report holds 8 rows; the table covers the rows only\n"
            "aeroquin-report: warning: r.csv: 1 rows have negative drag, first line 13"
            " (Mach 0.5, AOA 0)\n",
        )


class CppNameTest(unittest.TestCase):
    def test_default_names(self):
        cases = [
            ("Glider", "Glider_aero"),
            ("Delta-Glider MkII", "Delta_Glider_MkII_aero"),
            ("_x__y_", "x_y_aero"),
            ("3Stage", "vessel_3Stage_aero"),
            ("", "vessel_aero"),
            ("Überflieger", "berflieger_aero"),
        ]
        for vessel_class, expected in cases:
            with self.subTest(vessel_class=vessel_class):
                self.assertEqual(default_name(vessel_class), expected)
                self.assertTrue(valid_name(expected))

    def test_reserved_or_malformed_names(self):
        for name in ("", "_Table", "a__b", "9lives", "a-b", "a b"):
            with self.subTest(name=name):
                self.assertFalse(valid_name(name))

    def test_bad_name_is_refused(self):
        status, out, err = run_tool(
            "table", fixture("glider.csv"), "--area", "2", "--format", "cpp", "--name", "a-b"
        )
        self.assertEqual((status, out), (2, ""))
        self.assertEqual(
            err, "aeroquin-report: error: --name 'a-b' is not a usable C++ identifier\n"
        )


DRIVER = """\
#include <cstdio>
#include "table.inc"

int main() {
    const double points[][2] = {%s};
    for (const auto& point : points) {
        double cl = 0.0, cd = 0.0;
        %s::coefficients(point[0], point[1], cl, cd);
        std::printf("%%.12g %%.12g\\n", cl, cd);
    }
    return 0;
}
"""

# The same with the overload that gives cm; prints cl, cd, cm.
DRIVER_WITH_MOMENT = """\
#include <cstdio>
#include "table.inc"

int main() {
    const double points[][2] = {%s};
    for (const auto& point : points) {
        double cl = 0.0, cm = 0.0, cd = 0.0;
        %s::coefficients(point[0], point[1], cl, cm, cd);
        std::printf("%%.12g %%.12g %%.12g\\n", cl, cd, cm);
    }
    return 0;
}
"""


@unittest.skipIf(shutil.which("g++") is None, "g++ is not installed")
class CppTableTest(unittest.TestCase):
    def evaluate(self, report_text, name, points, *chord):
        """Generates the table, compiles it into a driver and returns its (cl, cd) at `points`;
        (cl, cd, cm) with the options `chord`."""
        with tempfile.TemporaryDirectory() as folder:
            write(folder, "report.csv", report_text)
            status, out, err = run_tool(
                "table", "report.csv", "--area", "2", "--format", "cpp", "-o", "table.inc",
                *chord, cwd=folder,
            )
            self.assertEqual((status, out, err), (0, "", ""))
            points_text = ", ".join("{%r, %r}" % point for point in points)
            driver = DRIVER_WITH_MOMENT if chord else DRIVER
            write(folder, "driver.cpp", driver % (points_text, name))
            compiler = subprocess.run(
                ["g++", "-std=c++17", "-Wall", "-Wextra", "-Wpedantic", "-Werror", "-o",
                 "driver", "driver.cpp"],
                cwd=folder, capture_output=True, text=True, timeout=300,
            )
            self.assertEqual(compiler.returncode, 0, compiler.stderr)
            run = subprocess.run(
                [os.path.join(folder, "driver")], capture_output=True, text=True, timeout=60
            )
        self.assertEqual(run.returncode, 0)
        return [tuple(float(v) for v in line.split()) for line in run.stdout.splitlines()]

    def test_compiles_and_interpolates_bilinearly(self):
        # cl = CL*S / 2 of glider.csv; at (0.75, 2.5) the mean of the four corners
        # (0.25 + 1.5 - 0.25 + 0.75) / 4 = 0.5625, cd (0.125 + 0.2 + 0.4 + 0.5) / 4 = 0.30625.
        cases = [
            ((0.75, 2.5), (0.5625, 0.30625)),
            ((1.0, 0.0), (-0.25, 0.4)),  # grid point
            ((0.5, 7.5), (1.375, 0.35)),  # on the first Mach line, between AOA 5 and 10
            ((0.6, 0.0), (0.15, 0.18)),  # between Mach lines: 0.25 + 0.2 * (-0.5)
            ((2.0, 20.0), (2.0, 1.0)),  # beyond both ends: held at the corner
            ((0.1, -30.0), (-0.5, 0.25)),
            ((3.0, 2.5), (0.25, 0.45)),  # held in Mach, interpolated in AOA
        ]
        results = self.evaluate(
            read_fixture("glider.csv"), "Glider_aero", [point for point, _ in cases]
        )
        for (point, expected), got in zip(cases, results):
            with self.subTest(point=point):
                self.assertAlmostEqual(got[0], expected[0], places=12)
                self.assertAlmostEqual(got[1], expected[1], places=12)

    def test_single_mach_line(self):
        text = "".join(read_fixture("glider.csv").splitlines(keepends=True)[:10])
        text = text.replace("Number of Mach points = 2", "Number of Mach points = 1")
        results = self.evaluate(text, "Glider_aero", [(0.9, 2.5), (0.2, 12.0)])
        self.assertEqual(results, [(0.875, 0.1625), (1.25, 0.5)])

    def test_pitching_moment(self):
        # cm = CM*S*c / (2 m^2 * 0.5 m) of moment.csv; at (0.75, 2.5) the mean of the corners
        # (0.4 - 0.1 - 0.1 + 0.4) / 4 = 0.15; at (0.5, 7.5) between -0.1 and -0.6.
        results = self.evaluate(
            read_fixture("moment.csv"), "Glider_aero", [(0.75, 2.5), (0.5, 7.5)], "--chord", "0.5"
        )
        self.assertEqual([round(cm, 12) for _, _, cm in results], [0.15, -0.35])
        self.assertEqual([tuple(round(v, 12) for v in r[:2]) for r in results],
                         [(0.5625, 0.30625), (1.375, 0.35)])


if __name__ == "__main__":
    unittest.main()
