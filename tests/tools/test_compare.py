import math
import os
import tempfile
import unittest

from support import Sailplane, read_fixture, run_tool
from aeroquin_report.compare import relative_deviation

GLIDER = read_fixture("glider.csv")
ROW = "1; 5; 12605.8; 295.07; 1.5; 1; 1.5\n"


class RelativeDeviationTest(unittest.TestCase):
    def test_table(self):
        cases = [
            (1.0, 1.0, 0.0),
            (0.0, 0.0, 0.0),
            (2.0, 1.0, 0.5),
            (1.0, 2.0, 0.5),
            (-1.0, 1.0, 2.0),
            (0.0, 1e-9, 1.0),
            (math.nan, math.nan, 0.0),
            (math.inf, math.inf, 0.0),
            (-math.inf, -math.inf, 0.0),
            (math.inf, -math.inf, math.inf),
            (1.0, math.nan, math.inf),
            (math.inf, 1e300, math.inf),
        ]
        for a, b, expected in cases:
            with self.subTest(a=a, b=b):
                self.assertEqual(relative_deviation(a, b), expected)


class CompareCommandTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.folder.cleanup)
        self.a = self.write("a.csv", GLIDER)

    def write(self, name, text):
        path = os.path.join(self.folder.name, name)
        with open(path, "w", encoding="utf-8") as file:
            file.write(text)
        return path

    def compare(self, text, *options):
        self.write("b.csv", text)
        return run_tool("compare", "a.csv", "b.csv", *options, cwd=self.folder.name)

    def test_identical_reports(self):
        status, out, err = self.compare(GLIDER)
        self.assertEqual((status, err), (0, ""))
        self.assertTrue(out.endswith("Result: within tolerance\n"))

    def test_within_and_beyond_tolerance(self):
        # CL*S 1.5 -> 1.503 at Mach 1, AOA 5: 0.003 / 1.503 = 0.00199601
        text = GLIDER.replace(ROW, ROW.replace("; 1.5; 1;", "; 1.503; 1;"))
        self.assertEqual(self.compare(text, "--tolerance", "0.005")[0], 0)
        status, out, err = self.compare(text, "--tolerance", "0.001")
        self.assertEqual((status, err), (1, ""))
        self.assertEqual(
            out,
            "A: a.csv (Glider, 2024/03/05::14:07:09)\n"
            "B: b.csv (Glider, 2024/03/05::14:07:09)\n"
            "Tolerance: 0.001 relative\n"
            "Rows compared: 8\n"
            "\n"
            "Column            largest deviation  at Mach  at AOA  A    B\n"
            "Dynamic Pressure  0                  -        -       -    -      ok\n"
            "Airspeed          0                  -        -       -    -      ok\n"
            "CL*S              0.00199601         1        5       1.5  1.503  beyond tolerance\n"
            "CD*S              0                  -        -       -    -      ok\n"
            "L/D               0                  -        -       -    -      ok\n"
            "\n"
            "Result: beyond tolerance in CL*S\n",
        )

    def test_default_tolerance_is_one_per_mille(self):
        # 1.5 -> 1.5014: 0.0014 / 1.5014 = 0.000932 passes; 1.5 -> 1.502: 0.001332 fails.
        ok = GLIDER.replace(ROW, ROW.replace("; 1.5; 1;", "; 1.5014; 1;"))
        bad = GLIDER.replace(ROW, ROW.replace("; 1.5; 1;", "; 1.502; 1;"))
        self.assertEqual(self.compare(ok)[0], 0)
        self.assertEqual(self.compare(bad)[0], 1)

    def test_absolute_tolerance_covers_values_near_zero(self):
        # CL*S -0.5 -> -0.5001 at Mach 1, AOA 0: 2e-4 relative, 1e-4 absolute
        text = GLIDER.replace("; -0.5; 0.8;", "; -0.5001; 0.8;")
        self.assertEqual(self.compare(text, "--tolerance", "1e-4")[0], 1)
        self.assertEqual(
            self.compare(text, "--tolerance", "1e-4", "--abs-tolerance", "2e-4")[0], 0
        )

    def test_non_finite_against_finite_is_beyond_any_tolerance(self):
        text = GLIDER.replace(ROW, ROW.replace("; 1.5\n", "; inf\n"))
        status, out, _ = self.compare(text, "--tolerance", "1000")
        self.assertEqual(status, 1)
        self.assertIn("L/D               inf ", out)

    def test_same_non_finite_values_agree(self):
        self.write("a.csv", read_fixture("flagged.csv"))
        status, out, _ = self.compare(read_fixture("flagged.csv").replace("-nan(ind)", "nan"))
        self.assertEqual(status, 0, out)

    def test_missing_row(self):
        status, out, _ = self.compare(GLIDER.replace(ROW, ""))
        self.assertEqual(status, 1)
        self.assertIn(
            "Grids differ:\n"
            "  A has 8 rows, B has 7\n"
            "  row 7 is Mach 1, AOA 5 in A (line 13) but Mach 1, AOA 10 in B (line 13)\n"
            "  7 grid points in common\n"
            "Rows compared: 7\n",
            out,
        )
        self.assertTrue(out.endswith("Result: grids differ\n"))

    def test_report_cut_short(self):
        cut = read_fixture("cut-mid-row.csv")
        status, out, err = self.compare(cut)
        self.assertEqual((status, err), (1, ""))
        self.assertIn(
            "Tolerance: 0.001 relative\n"
            "Note: B: report cut short: 3 of 8 rows missing; the last line was cut mid-row\n"
            "Grids differ:\n"
            "  A has 8 rows, B has 5\n"
            "  5 grid points in common\n"
            "Rows compared: 5\n",
            out,
        )
        self.assertTrue(out.endswith("Result: grids differ\n"))
        # Two reports cut at the same point share their grid.
        self.write("a.csv", read_fixture("cut-short.csv"))
        status, out, _ = self.compare(cut)
        self.assertEqual(status, 0)
        self.assertIn(
            "Note: A: report cut short: 3 of 8 rows missing\n"
            "Note: B: report cut short: 3 of 8 rows missing; the last line was cut mid-row\n"
            "Rows compared: 5\n",
            out,
        )

    def test_other_aoa_grid_with_equal_values(self):
        text = GLIDER.replace("1; 10; 12605.8", "1; 12; 12605.8")
        status, out, _ = self.compare(text)
        self.assertEqual(status, 1)
        self.assertIn("row 8 is Mach 1, AOA 10 in A (line 14) but Mach 1, AOA 12 in B", out)
        self.assertTrue(out.endswith("Result: grids differ\n"))

    def test_header_counts_differ(self):
        text = GLIDER.replace("Number of AOA points = 4", "Number of AOA points = 5")
        status, out, _ = self.compare(text)
        self.assertEqual(status, 1)
        self.assertIn("  the headers announce 2 Mach x 4 AOA (A) and 2 Mach x 5 AOA (B)\n", out)

    def test_pitching_moment_of_both_or_of_one(self):
        moment = read_fixture("moment.csv")
        self.write("a.csv", moment)
        # CM*S*c 0.4 -> 0.41 at Mach 1, AOA 5: 0.01 / 0.41 = 0.0243902
        status, out, _ = self.compare(moment.replace("1.5; 1; 1.5; 0.4", "1.5; 1; 1.5; 0.41"))
        self.assertEqual(status, 1)
        self.assertIn(
            "CM*S*c            0.0243902          1        5       0.4  0.41  beyond tolerance\n"
            "\n"
            "Result: beyond tolerance in CM*S*c\n",
            out,
        )
        status, out, _ = self.compare(GLIDER)
        self.assertEqual(status, 0)
        self.assertIn(
            "Note: only A has the column CM*S*c; the 7 columns of both are compared\n", out
        )
        self.assertNotIn("CM*S*c  ", out)

    def test_sideslip_columns_by_name(self):
        sideslip = read_fixture("sideslip-moment.csv")
        self.write("a.csv", sideslip)
        # Cn*S*b 2 -> 2.1 at Mach 1, sideslip -10, AOA 5: 0.1 / 2.1 = 0.047619
        status, out, _ = self.compare(sideslip.replace("-10; 2; -1; 2\n", "-10; 2; -1; 2.1\n"))
        self.assertEqual(status, 1)
        self.assertIn(
            "Column            largest deviation  at Mach  at sideslip  at AOA  A  B\n"
            "Dynamic Pressure  0                  -        -            -       -  -    ok\n",
            out,
        )
        # the sideslip is a grid column, not a compared one
        self.assertIn(
            "CM*S*c            0                  -        -            -       -  -    ok\n"
            "CY*S              0                  -        -            -       -  -    ok\n"
            "Cl*S*b            0                  -        -            -       -  -    ok\n"
            "Cn*S*b            0.047619           1        -10          5       2  2.1  beyond"
            " tolerance\n\nResult: beyond tolerance in Cn*S*b\n",
            out,
        )
        # B without the moments; A's Cl*S*b (the 11th number) 1 -> 9 is not compared
        lines = sideslip.splitlines()
        dropped = "\n".join(
            lines[:5]
            + ["; ".join(f for i, f in enumerate(line.split("; ")) if i not in (7, 10, 11))
               for line in lines[5:]]
        ) + "\n"
        self.write("a.csv", sideslip.replace("10; -2; 1; -2\n", "10; -2; 9; -2\n"))
        status, out, _ = self.compare(dropped)
        self.assertEqual(status, 0, out)
        self.assertIn(
            "Note: only A has the columns CM*S*c, Cl*S*b, Cn*S*b; the 9 columns of both are"
            " compared\n",
            out,
        )
        self.assertIn("\nCY*S              0     ", out)
        self.assertNotIn("Cl*S*b", out.split("compared\n", 1)[1])

    def test_control_level_is_a_grid_column(self):
        elevator = read_fixture("elevator.csv")
        self.write("a.csv", elevator)
        # CL*S total 0.75 -> 0.76 at Mach 1, level 0.5, AOA 5: 0.01 / 0.76 = 0.0131579
        status, out, _ = self.compare(elevator.replace("; 0.5; 0.75; 1.4\n", "; 0.5; 0.76; 1.4\n"))
        self.assertEqual(status, 1)
        self.assertIn(
            "Column            largest deviation  at Mach  at control level  at AOA  A     B\n"
            "Dynamic Pressure  0                  -        -                 -       -     -"
            "     ok\n",
            out,
        )
        self.assertIn(
            "CL*S total        0.0131579          1        0.5               5       0.75  0.76"
            "  beyond tolerance\n"
            "CD*S total        0                  -        -                 -       -     -"
            "     ok\n\nResult: beyond tolerance in CL*S total\n",
            out,
        )
        self.assertNotIn("\nControl Level ", out)
        # rows are paired by the level written in them
        status, out, _ = self.compare(read_fixture("elevator-moved.csv"))
        self.assertEqual(status, 1)
        self.assertIn(
            "Note: B: the control levels as written do not form a grid; points (Mach x AOA) per"
            " control level as written, of 8: -1: 8, -0.5: 8 (9 rows), 0: 7, 0.25: 1, 0.5: 7,"
            " 1: 8\n"
            "Grids differ:\n"
            "  row 10 is Mach 0.5, control level 0, AOA 0 in A (line 16) but Mach 0.5, control"
            " level -0.5, AOA 0 in B (line 16)\n"
            "  38 grid points in common\n"
            "Rows compared: 38\n",
            out,
        )
        self.assertTrue(out.endswith("\nResult: grids differ\n"))

    def test_rate_is_a_grid_column(self):
        rates = Sailplane.report(machs=(0.08,), aoas=(0, 4), rates=(-10, 0, 10))
        self.write("a.csv", rates)
        # Cl*S*b -7.80536 -> -7.9 at roll rate 10, AOA 4
        status, out, _ = self.compare(rates.replace("; 0; 0; -7.80536; 0; 0; 10; 0\n",
                                                    "; 0; 0; -7.9; 0; 0; 10; 0\n"))
        self.assertEqual(status, 1)
        self.assertIn(
            "Column            largest deviation  at Mach  at rate  at AOA  A         B\n",
            out,
        )
        self.assertIn(
            "Cl*S*b            %-18g 0.08     roll 10  4       -7.80536  -7.9  beyond"
            " tolerance\n" % ((7.9 - 7.80536) / 7.9),
            out,
        )
        self.assertNotIn("\nRoll Rate ", out)

    def test_unreadable_b_is_an_error_not_a_difference(self):
        status, out, err = run_tool("compare", "a.csv", "none.csv", cwd=self.folder.name)
        self.assertEqual(status, 2)
        self.assertEqual(
            err, "aeroquin-report: error: cannot read report none.csv: No such file or directory\n"
        )


if __name__ == "__main__":
    unittest.main()
