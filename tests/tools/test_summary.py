import math
import re
import unittest

from support import Sailplane, columns, fixture, read_fixture, run_tool, with_sideslip
from aeroquin_report.numtext import g6
from aeroquin_report.report import parse_report, read_report
from aeroquin_report.stability import (
    Crossing,
    MachSummary,
    slope_at_zero,
    summarize,
    trim_range,
    zero_lift_aoa,
)
from aeroquin_report.performance import Air, Balance, Gap, Outside, Polar, balance, lift_of
from aeroquin_report.summary import References, summary_lines, yaw_with_roll
from aeroquin_report.table import coefficient_grid

HEADER = (
    "Aeroquin version: 1.0\n"
    "Vessel Class: Glider\n"
    "System time at simulation start: 2024/03/05::14:07:09\n"
    "Number of AOA points = 4\n"
    "Number of Mach points = 1\n"
    "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D\n"
)


# How the summary of a report without rates, mass and gravity ends.
NEEDS = [
    "",
    "Damping derivatives: need RateIntervals and RateIncrements with ReportMoments = 1",
    "",
    "Flight speeds: need the vessel's mass and gravity, which the header of a report with any"
    " optional item gives",
]


def summary(report, references=None):
    """summary_lines without the closing NEEDS."""
    lines = summary_lines(report, references)
    return lines[:-4] if lines[-4:] == NEEDS else lines


def body(out):
    """The summary's output without the closing NEEDS."""
    tail = "".join(line + "\n" for line in NEEDS)
    return out[:-len(tail)] if out.endswith(tail) else out


class ZeroLiftTest(unittest.TestCase):
    def test_hand_computed_zeros(self):
        cases = [
            # -1 at -5 deg, 0.5 at 0 deg: zero at -5 + 5 * 1 / 1.5
            ("rising through zero", [(-5, -1.0), (0, 0.5), (5, 3.0)], -5 + 5 / 1.5),
            ("zero on a grid point", [(-5, -1.0), (0, 0.0), (5, 3.0)], 0.0),
            ("zero at the first point", [(2, 0.0), (4, 1.0)], 2.0),
            ("no zero within the points", [(0, 0.5), (5, 3.0)], None),
            ("single point, no lift", [(3, 0.0)], 3.0),
            ("single point with lift", [(3, 1.0)], None),
            # post-stall fall through zero at 17.5 deg loses to the rising zero at 1 deg
            ("rising zero first", [(-4, -1.0), (6, 1.0), (15, 2.0), (20, -2.0)], 1.0),
            # only falling zeros: the one nearest 0 deg
            ("falling only", [(-10, 1.0), (-6, -1.0), (10, 1.0 - 2.0)], -8.0),
            # two rising zeros: the one nearest 0 deg
            ("two rising", [(-20, -2.0), (-15, 2.0), (-10, -2.0), (0, -1.0), (10, 1.0)], 5.0),
        ]
        for name, points, expected in cases:
            with self.subTest(name):
                if expected is None:
                    self.assertIsNone(zero_lift_aoa(points))
                else:
                    self.assertAlmostEqual(zero_lift_aoa(points), expected, places=12)

    def test_rounding_residue_at_a_grid_point_is_that_point(self):
        self.assertEqual(zero_lift_aoa([(-2, -6.4), (0, -8e-14), (10, 32.6)]), 0.0)
        # between two rows: -5 + 0.3 * 9 / 0.54 is -8.9e-16 in floating point
        self.assertEqual(zero_lift_aoa([(-5, -0.3), (4, 0.24)]), 0.0)


class SummarizeTest(unittest.TestCase):
    def test_known_extremes_per_mach(self):
        low, high = summarize(read_report(fixture("glider.csv")))
        self.assertEqual(
            (low.mach, low.max_cl_s, low.stall_aoa, low.min_cd_s, low.min_cd_aoa),
            (0.5, 3.0, 5.0, 0.25, 0.0),
        )
        self.assertEqual((low.best_lift_to_drag, low.best_lift_to_drag_aoa), (7.5, 5.0))
        self.assertAlmostEqual(low.zero_lift_aoa, -5.0 / 3.0, places=12)
        self.assertEqual(
            (high.mach, high.max_cl_s, high.stall_aoa, high.min_cd_s, high.min_cd_aoa),
            (1.0, 4.0, None, 0.8, 0.0),
        )
        self.assertEqual((high.best_lift_to_drag, high.best_lift_to_drag_aoa), (2.0, 10.0))
        self.assertAlmostEqual(high.zero_lift_aoa, 1.25, places=12)
        self.assertEqual((low.rows, low.flagged, high.rows, high.flagged), (4, 0, 4, 0))

    def test_flagged_rows_are_counted_and_kept_out(self):
        zero, half = summarize(read_report(fixture("flagged.csv")))
        self.assertEqual((zero.mach, zero.rows, zero.flagged, zero.max_cl_s), (0.0, 3, 3, None))
        # Only AOA 5 is sound at Mach 0.5: AOA 0 has negative drag, AOA 10 an infinite L/D.
        self.assertEqual((half.rows, half.flagged), (3, 2))
        self.assertEqual((half.max_cl_s, half.stall_aoa, half.min_cd_s), (3.0, None, 0.4))
        self.assertEqual((half.best_lift_to_drag, half.zero_lift_aoa), (7.5, None))

    def test_stall_and_best_lift_to_drag_of_signed_lift(self):
        # (AOA, CL*S, L/D) per row, CD*S 1; expected stall AOA, best L/D, its AOA
        cases = [
            ("peak inside", [(-5, -1, -1), (5, 3, 3), (10, 2, 2)], (5, 3, 5)),
            ("peak at the last AOA", [(-5, -1, -1), (5, 3, 3), (10, 4, 4)], (None, 4, 10)),
            ("peak at the first AOA", [(0, 3, 3), (5, 2, 2)], (None, 3, 0)),
            ("plateau at the end", [(0, 1, 1), (5, 3, 3), (10, 3, 3)], (None, 3, 5)),
            ("single row", [(5, 3, 3)], (None, 3, 5)),
            # the steepest ratio lies below zero lift; the best is on the lifting side
            ("lifting side", [(-10, -9, -9), (0, -1, -1), (5, 2, 2), (10, 1, 1)], (5, 2, 5)),
            ("no lifting side", [(-10, -3, -3), (-5, -1, -1), (0, -2, -2)], (None, None, None)),
        ]
        for name, points, expected in cases:
            with self.subTest(name):
                rows = "".join("0.5; %s; 1; 2; %s; 1; %s\n" % point for point in points)
                (entry,) = summarize(parse_report(HEADER + rows, "r.csv"))
                self.assertEqual(
                    (entry.stall_aoa, entry.best_lift_to_drag, entry.best_lift_to_drag_aoa),
                    expected,
                )


class TrimTest(unittest.TestCase):
    def trim(self, points):
        """summarize() of one Mach number's (AOA, CM*S*c) rows, CL*S = 0.5 + 0.2 AOA."""
        rows = "".join(
            "0.5; %s; 1; 2; %r; 1; 1; %s\n" % (aoa, 0.5 + 0.2 * aoa, cm) for aoa, cm in points
        )
        text = HEADER.replace("L/D", "L/D; CM*S*c") + rows
        (entry,) = summarize(parse_report(text, "r.csv"))
        trim = entry.trim
        if trim is None:
            return None
        return (round(trim.aoa, 12), trim.going_down, round(trim.neutral_point, 12),
                entry.trims_going_down)

    def test_trim_and_neutral_point(self):
        # CL*S rises 0.2 m^2 per degree; a CM*S*c falling 0.1 m^3 per degree puts the neutral
        # point 0.5 m behind the centre of gravity.
        cases = [
            # 0.4 - 0.1 AOA is zero at 4 deg
            ("linear, stable", [(-5, 0.9), (0, 0.4), (5, -0.1), (10, -0.6)], (4, True, 0.5, 1)),
            ("linear, unstable", [(-5, -0.9), (0, -0.4), (5, 0.1), (10, 0.6)],
             (4, False, -0.5, 0)),
            ("no trim", [(-5, -0.1), (0, -0.4), (5, -0.6)], None),
            ("zero on a row", [(-5, 0.5), (0, 0.0), (5, -0.5)], (0, True, 0.5, 1)),
            # From the rows on either side of the zero: -(-1.5 - 0.5) / (1.5 - -0.5), not 0.5
            # or 1.5 from one side alone.
            ("zero on a row, slopes differ", [(-5, 0.5), (0, 0.0), (5, -1.5)], (0, True, 1, 1)),
            ("zeros on two rows", [(-5, 0.5), (0, 0.0), (5, 0.0), (10, -2.5)], (0, True, 1, 1)),
            ("zero at the first row", [(0, 0.0), (5, -0.5)], (0, True, 0.5, 1)),
            ("zero touched, not crossed", [(-5, 0.5), (0, 0.0), (5, 0.5)], None),
            ("several going down: the first", [(0, 1), (5, -1), (10, 1), (15, -1)],
             (2.5, True, 2, 2)),
            ("going up, then down", [(0, -1), (5, 1), (10, -1)], (7.5, True, 2, 1)),
        ]
        for name, points, expected in cases:
            with self.subTest(name):
                self.assertEqual(self.trim(points), expected)

    def test_texts_without_a_trim(self):
        cases = [([-0.1, -0.4], "no trim within the range"), ([0, 0], "CM*S*c 0 throughout")]
        for moments, text in cases:
            rows = "".join("0.5; %d; 1; 2; 1; 1; 1; %s\n" % row for row in enumerate(moments))
            report = parse_report(HEADER.replace("L/D", "L/D; CM*S*c") + rows, "r.csv")
            self.assertIn("  %s  -  " % text, summary(report)[-1])

    def test_several_trims_are_noted(self):
        rows = "".join("0.5; %d; 1; 2; 1; 1; 1; %d\n" % (5 * i, (-1) ** i) for i in range(4))
        report = parse_report(HEADER.replace("L/D", "L/D; CM*S*c") + rows, "r.csv")
        self.assertEqual(
            summary(report)[-2:],
            ["", "Note: at Mach 0.5 CM*S*c crosses zero going down 2 times; the trim given is"
             " the first, at the lowest AOA"],
        )


class SideslipTest(unittest.TestCase):
    def test_slope_at_zero_sideslip(self):
        cases = [
            # the rows nearest 0 on either side, with or without a row at 0
            ("either side", [(-10, 2.0), (-5, 1.5), (0, 0.0), (5, -0.5), (10, -3.0)], -0.2),
            ("either side, none at 0", [(-4, 1.0), (2, -2.0), (6, -9.0)], -0.5),
            ("one side with 0", [(0, 1.0), (5, 0.5), (10, -3.0)], -0.1),
            ("one side only", [(5, 0.5), (10, -3.0)], None),
            ("0 alone", [(0, 1.0)], None),
        ]
        for name, points, expected in cases:
            with self.subTest(name):
                self.assertEqual(slope_at_zero(points), expected)

    def test_verdicts_of_slopes_zero_as_printed(self):
        # Mach 0.5's Cl*S*b and Cn*S*b 0 on every row (fins on the centreline, no fin at all),
        # "-0" at sideslip 10: the slope reads 0, not -0.
        lines = read_fixture("sideslip-moment.csv").splitlines(True)
        text = "".join(lines[:6]) + "".join(
            line.rsplit("; ", 2)[0] + ("; -0; -0\n" if "; 10; " in line else "; 0; 0\n")
            for line in lines[6:12]
        ) + "".join(lines[12:])
        self.assertEqual(
            summary(parse_report(text, "r.csv"))[-2],
            "0.5   0             -0.179768            0                      directionally"
            " neutral   0                      no dihedral effect",
        )


class ResidueTest(unittest.TestCase):
    def test_rounding_residue_is_0(self):
        # The level meant to be 0 written as -1.11022e-16 (levels -1 to 1 in steps of 0.5 summed
        # in floating point); the table takes its rows as those at level 0.
        text = read_fixture("elevator-header.csv")
        text = text.replace("; 0; 0; 0; 0; ", "; 0; 0; 0; -1.11022e-16; ")
        self.assertEqual(text.count("e-16"), 8)
        report = parse_report(text, "r.csv")
        lines = summary(report)
        self.assertIn("Control power per unit level around control level 0, at its trim AOA or,"
                      " without a trim, at the AOA nearest 0; trim range over the levels:", lines)
        self.assertNotIn("e-", "\n".join(lines))
        self.assertEqual(coefficient_grid(report, 2).machs, [0.5, 1])
        # A column that is residue throughout (the rolling moment of a symmetric vessel over its
        # elevator) is residue against its unit's other columns, the pitching moment's m^3.
        rows = read_fixture("elevator-header.csv").splitlines(True)
        for i, line in enumerate(rows):
            fields = line.rstrip("\n").split("; ")
            if len(fields) == 14 and not line.startswith("Mach"):
                fields[9] = "%.6g" % ((-1) ** i * 8.31713e-15 * (1 + i % 3))
                rows[i] = "; ".join(fields) + "\n"
        self.assertNotIn("e-", "\n".join(summary(parse_report("".join(rows), "r.csv"))))
        # Mach 1's Cn_beta*S*b: -0.04 at AOA 0, 0.01 at AOA 5; 4/5 of the way to the trim at 4
        # it is 0, not 6.9e-18 in floating point, and "neutral".
        lines = read_fixture("sideslip-header.csv").splitlines(True)
        yaw = {("1; 0;", "-10"): "0.4", ("1; 0;", "10"): "-0.4",
               ("1; 5;", "-10"): "-0.1", ("1; 5;", "10"): "0.1"}
        for i, line in enumerate(lines):
            fields = line.rstrip("\n").split("; ")
            key = ("; ".join(fields[:2]) + ";", fields[8] if len(fields) > 8 else "")
            if key in yaw:
                lines[i] = "; ".join(fields[:-1] + [yaw[key]]) + "\n"
        self.assertEqual(
            summary(parse_report("".join(lines), "r.csv"))[-1],
            "1     4             -0.18                0                      directionally"
            " neutral  0.09                   rolls into the sideslip",
        )


class ControlTest(unittest.TestCase):
    def test_trim_range_over_the_levels(self):
        def level(trim, going_down=True, span=(-5, 10)):
            entry = MachSummary(0.5, 4, 0, aoa_span=span)
            entry.trim = None if trim is None else Crossing(trim, going_down, 0.5)
            return entry

        cases = [
            ("every level trims", [level(2), level(4), level(6)], [(2, 6)]),
            ("trims falling with the level", [level(6), level(4), level(2)], [(2, 6)]),
            ("an end level cannot trim", [level(None), level(0), level(4)], [(0, 4)]),
            ("a middle level cannot trim", [level(2), level(None), level(6), level(8)],
             [(2, 2), (6, 8)]),
            # a level written at part of the AOAs only tells nothing where it has no rows
            ("a level at some AOAs only", [level(2), level(None, span=(5, 5)), level(6)],
             [(2, 6)]),
            # rows from one end of the AOAs but not to the other: it parts nothing either
            ("a level from the lowest AOA only", [level(2), level(None, span=(-5, 5)), level(6)],
             [(2, 6)]),
            ("a level to the highest AOA only", [level(2), level(None, span=(0, 10)), level(6)],
             [(2, 6)]),
            ("unstable trims do not count", [level(2, False), level(4), level(6, False)],
             [(4, 4)]),
            ("overlapping pieces merge", [level(2), level(6), level(None), level(4), level(8)],
             [(2, 8)]),
            ("no level trims", [level(None), level(None)], []),
        ]
        for name, levels, expected in cases:
            with self.subTest(name):
                self.assertEqual(trim_range([(0, entry) for entry in levels]), expected)

    def test_reference_of_axes_without_0_is_the_lower_value(self):
        # levels -0.5 and 0.5, sideslips -3 and 3: CL*S at AOA 5 is 3 + level + sideslip / 10
        lines = summary(read_report(fixture("aileron.csv")))
        start = lines.index("At control level -0.5, sideslip -3 deg:")
        self.assertEqual(lines[start + 2].split()[:2], ["0.5", "2.2"])
        self.assertIn("Control power per unit level around control level -0.5, at its trim AOA"
                      " or, without a trim, at the AOA nearest 0; at sideslip -3 deg:", lines)

    def control_lines(self, text):
        """The summary's lines from its control power's title on."""
        lines = summary(parse_report(text, "r.csv"))
        return lines[[line.startswith("Control power") for line in lines].index(True):]

    def test_each_surface_its_own_power(self):
        # Rudder: Cn*S*b = 0.06 sideslip + (0.4 + 0.02 AOA) level, at the trim AOA 2.5 it trims
        # at -0.45 level / 0.06 deg, beyond the sideslips of +-5 at the levels +-1.
        self.assertEqual(self.control_lines(read_fixture("rudder.csv")), [
            "Control power per unit level around control level 0, at its trim AOA or, without a"
            " trim, at the AOA nearest 0; at sideslip 0 deg:",
            "Mach  at AOA [deg]  dCY*S [m^2]  dCl*S*b [m^3]  dCn*S*b [m^3]",
            "0.5   2.5           0.1          0.03           0.45",
            "",
            "Sideslip trimmed per control level (Cn*S*b 0; stable when it rises with the"
            " sideslip), at the AOA above:",
            "Mach  control level  trim sideslip [deg]",
            "0.5   -1             no trim within the sideslips",
            "0.5   -0.5           3.75",
            "0.5   0              0",
            "0.5   0.5            -3.75",
            "0.5   1              no trim within the sideslips",
        ])
        # Aileron: roll to the right with the nose to the left
        self.assertEqual(self.control_lines(read_fixture("aileron.csv"))[1:], [
            "Mach  at AOA [deg]  dCl*S*b [m^3]  dCn*S*b [m^3]  yaw with the roll",
            "0.5   2.5           0.4            -0.04          adverse yaw",
        ])
        # Flap: the elevator's capture, named a flap: lift, drag and pitch, no trim range
        elevator = read_fixture("elevator-header.csv")
        self.assertEqual(self.control_lines(elevator.replace("= Elevator", "= Flap"))[1:], [
            "Mach  at AOA [deg]  dCL*S total [m^2]  dCD*S total [m^2]  dCM*S*c [m^3]",
            "0.5   4             -0.3               0                  0.2",
            "1     4             -0.52              0                  0.4",
        ])
        # Elevator trim: the elevator's text, as without the surface's name
        self.assertEqual(self.control_lines(elevator.replace("= Elevator", "= ElevatorTrim")),
                         self.control_lines(read_fixture("elevator.csv")))

    def test_yaw_with_the_roll(self):
        cases = [(0.4, -0.04, "adverse yaw"), (-0.4, 0.04, "adverse yaw"),
                 (0.4, 0.04, "proverse yaw"), (-0.4, -0.04, "proverse yaw"),
                 (0.4, 0.0, "no yaw"), (0.0, 0.1, "-"), (None, 0.1, "-")]
        for roll, yaw, text in cases:
            with self.subTest(roll=roll, yaw=yaw):
                self.assertEqual(yaw_with_roll(roll, yaw), text)

    def test_a_control_that_changed_no_force(self):
        # every level's rows those of level 0 (Mach 0's nan alike), but for the level
        lines = read_fixture("elevator-header.csv").replace("= Elevator", "= Flap").splitlines()
        rows = [line.split("; ") for line in lines[11:]]
        rows = [row[:11] + [level] + row[12:] for row in rows for level in ("-1", "0", "1")
                if row[11] == "0"]
        rows += [["0", "0", "0", "0", "nan", "nan", "-nan", "nan", "0", "0", "0", level, "nan",
                  "nan"] for level in ("-1", "0", "1")]
        text = "\n".join(lines[:11] + ["; ".join(row) for row in rows]) + "\n"
        note = ("Note: the Flap changed no force: every level gives the same rows; the vessel has"
                " no such control surface, or its levels do not move it")
        self.assertEqual(summary(parse_report(text, "r.csv"))[-2:], ["", note])
        unnamed = "\n".join(lines[:5] + lines[10:11] + ["; ".join(row) for row in rows]) + "\n"
        self.assertEqual(summary(parse_report(unnamed, "r.csv"))[-1],
                         note.replace("the Flap", "the control"))
        # one number changed at one level is a force
        changed = text.replace("; 0.9; 0; 0; 0; 1;", "; 0.9; 0; 0; 0.001; 1;")
        self.assertEqual(changed.count("0.001"), 1)
        self.assertNotEqual(summary(parse_report(changed, "r.csv"))[-1], note)

    def test_no_level_trims_at_a_mach_number(self):
        # CM*S*c 1 at every row of Mach 1: no trim; the power is then taken at AOA 0.
        text = "".join(
            line if not line.startswith("1; ") else "; ".join(
                field if i != 7 else "1" for i, field in enumerate(line.split("; "))
            )
            for line in read_fixture("elevator.csv").splitlines(True)
        )
        lines = summary(parse_report(text, "r.csv"))
        start = lines.index("Mach  at AOA [deg]  dCL*S total [m^2]  dCM*S*c [m^3]  dCl*S*b [m^3]"
                            "  dCn*S*b [m^3]  trim range [deg]")
        self.assertEqual(
            lines[start + 2],
            "1     0             -0.6               0              0.1            -0.02      "
            "    cannot trim within the levels",
        )
        self.assertEqual(
            lines[-5:],
            ["1     -1             no trim within the range  -                            4     0",
             "1     -0.5           no trim within the range  -                            4     0",
             "1     0              no trim within the range  -                            4     0",
             "1     0.5            no trim within the range  -                            4     0",
             "1     1              no trim within the range  -                            4     0"],
        )

    def test_without_the_moments_the_power_of_the_total_lift_only(self):
        text = columns(read_fixture("elevator.csv"), (
            "Mach Number", "AOA", "Dynamic Pressure", "Airspeed", "CL*S", "CD*S", "L/D", "CY*S",
            "Control Level", "CL*S total", "CD*S total"))
        self.assertEqual(
            summary(parse_report(text, "r.csv"))[-5:],
            [
                "",
                "Control power per unit level around control level 0, at the AOA nearest 0:",
                "Mach  at AOA [deg]  dCL*S total [m^2]",
                "0.5   0             -0.3",
                "1     0             -0.6",
            ],
        )

    def test_with_a_sideslip_axis_at_sideslip_0(self):
        lines = summary(parse_report(with_sideslip(read_fixture("elevator.csv")), "r.csv"))
        self.assertEqual(lines[4], "Grid: 2 Mach x 5 control level x 3 sideslip x 4 AOA = 120"
                                   " points, 120 rows")
        start = lines.index("Control power per unit level around control level 0, at its trim AOA"
                            " or, without a trim, at the AOA nearest 0; trim range over the"
                            " levels; at sideslip 0 deg:")
        self.assertEqual(
            lines[start + 2:start + 6],
            [
                "0.5   4             -0.3               0.2            0.09           -0.01      "
                "    2 to 6",
                "1     4             -0.52              0.4            0.18           -0.02      "
                "    -4 to 8",
                "",
                "Trim AOA per control level, at sideslip 0 deg:",
            ],
        )
        self.assertEqual(
            [line.split()[2] for line in lines[start + 7:]],
            ["2", "3", "4", "5", "6", "-4", "0", "4", "8", "no"],
        )


class SummaryCommandTest(unittest.TestCase):
    def test_text(self):
        status, out, err = run_tool("summary", "glider.csv", cwd=fixture(""))
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(
            out,
            "Report: glider.csv\n"
            "Vessel class: Glider\n"
            "Capture started: 2024/03/05::14:07:09 (UTC)\n"
            "Grid: 2 Mach x 4 AOA = 8 points, 8 rows\n"
            "Flagged rows: 0\n"
            "\n"
            "Mach  max CL*S [m^2]  stall AOA [deg]            min CD*S [m^2]  at AOA [deg]"
            "  best L/D  at AOA [deg]  zero-lift AOA [deg]  rows  flagged\n"
            "0.5   3               5                          0.25            0           "
            "  7.5       5             -1.66667             4     0\n"
            "1     4               no stall within the range  0.8             0           "
            "  2         10            1.25                 4     0\n"
            "\n"
            "Damping derivatives: need RateIntervals and RateIncrements with ReportMoments = 1\n"
            "\n"
            "Flight speeds: need the vessel's mass and gravity, which the header of a report"
            " with any optional item gives\n",
        )

    def test_text_with_the_pitching_moment(self):
        status, out, err = run_tool("summary", "moment.csv", cwd=fixture(""))
        self.assertEqual((status, err), (0, ""))
        table = body(out).splitlines()[-3:]
        start = table[0].index("zero-lift AOA")
        self.assertEqual(
            [line[start:] for line in table],
            [
                "zero-lift AOA [deg]  trim AOA [deg]  neutral point behind CG [m]  rows  flagged",
                "-1.66667             4               0.2                          4     0",
                "1.25                 unstable at 1   -0.25                        4     0",
            ],
        )

    def test_text_with_a_sideslip_axis(self):
        # Mach 0.5 trims at AOA 0: the fin's CY_beta*S = -10.3 m^2/rad, Cn_beta*S*b = 34.5 m^3/rad
        # and Cl_beta*S*b = -15.05 m^3/rad, per degree. Mach 1 trims at AOA 4: 4/5 of the way
        # from the slopes at AOA 0 to those at AOA 5.
        status, out, err = run_tool("summary", "sideslip-moment.csv", cwd=fixture(""))
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(
            out,
            "Report: sideslip-moment.csv\n"
            "Vessel class: Finned\n"
            "Capture started: 2024/03/05::14:07:09 (UTC)\n"
            "Grid: 2 Mach x 3 sideslip x 2 AOA = 12 points, 12 rows\n"
            "Flagged rows: 0\n"
            "\n"
            "At sideslip 0 deg:\n"
            "Mach  max CL*S [m^2]  stall AOA [deg]            min CD*S [m^2]  at AOA [deg]"
            "  best L/D  at AOA [deg]  zero-lift AOA [deg]  trim AOA [deg]"
            "  neutral point behind CG [m]  rows  flagged\n"
            "0.5   3               no stall within the range  0.25            0           "
            "  7.5       5             -                    0             "
            "  0.2                          2     0\n"
            "1     1.5             no stall within the range  0.8             0           "
            "  1.5       5             1.25                 4             "
            "  0.25                         2     0\n"
            "\n"
            "Sideslip derivatives per degree, at the trim AOA or, without a trim, at the AOA"
            " nearest 0:\n"
            "Mach  at AOA [deg]  CY_beta*S [m^2/deg]  Cn_beta*S*b [m^3/deg]  directional"
            " stability   Cl_beta*S*b [m^3/deg]  dihedral effect\n"
            "0.5   0             -0.179768            0.602138               directionally"
            " stable    -0.262673              rolls away from the sideslip\n"
            "1     4             -0.18                -0.18                  directionally"
            " unstable  0.09                   rolls into the sideslip\n"
            + "".join(line + "\n" for line in NEEDS),
        )
        # Without the moments, without a trim: at AOA 2, nearest 0, from sideslip 0 and 5 only.
        status, out, err = run_tool("summary", "sideslip.csv", cwd=fixture(""))
        self.assertEqual(
            body(out).splitlines()[-3:],
            [
                "Sideslip derivatives per degree, at the trim AOA or, without a trim, at the AOA"
                " nearest 0:",
                "Mach  at AOA [deg]  CY_beta*S [m^2/deg]",
                "0.5   2             -0.18",
            ],
        )

    def test_text_with_a_control_axis(self):
        # CM*S*c = m0 - ma AOA + md level: Mach 0.5 trims at 4 + 2 level, Mach 1 at 4 + 8 level
        # (level 1 beyond AOA 10). At the trim of level 0 (AOA 4, between the rows of 0 and 5):
        # dCl*S*b = 0.05 + 0.01 AOA (Mach 0.5), 0.1 + 0.02 AOA (Mach 1); Cn*S*b = -0.04 (-0.08)
        # level^3, whose chord between the levels -0.5 and 0.5 is a quarter of that.
        status, out, err = run_tool("summary", "elevator.csv", cwd=fixture(""))
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(
            out.split("Flagged rows: 0\n\nAt control level 0:\n")[0],
            "Report: elevator.csv\n"
            "Vessel class: Tailed\n"
            "Capture started: 2024/03/05::14:07:09 (UTC)\n"
            "Control surface: not named in the report's header (an older report); summarised as"
            " an elevator\n"
            "Grid: 2 Mach x 5 control level x 4 AOA = 40 points, 40 rows\n",
        )
        self.assertEqual(
            body(out).split("\n\n", 2)[2],
            "Control power per unit level around control level 0, at its trim AOA or, without a"
            " trim, at the AOA nearest 0; trim range over the levels:\n"
            "Mach  at AOA [deg]  dCL*S total [m^2]  dCM*S*c [m^3]  dCl*S*b [m^3]  dCn*S*b [m^3]"
            "  trim range [deg]\n"
            "0.5   4             -0.3               0.2            0.09           -0.01        "
            "  2 to 6\n"
            "1     4             -0.52              0.4            0.18           -0.02        "
            "  -4 to 8\n"
            "\n"
            "Trim AOA per control level:\n"
            "Mach  control level  trim AOA [deg]            neutral point behind CG [m]  rows"
            "  flagged\n"
            "0.5   -1             2                         0.5                          4     0\n"
            "0.5   -0.5           3                         0.5                          4     0\n"
            "0.5   0              4                         0.5                          4     0\n"
            "0.5   0.5            5                         0.5                          4     0\n"
            "0.5   1              6                         0.5                          4     0\n"
            "1     -1             -4                        0.166667                     4     0\n"
            "1     -0.5           0                         0.166667                     4     0\n"
            "1     0              4                         0.166667                     4     0\n"
            "1     0.5            8                         0.166667                     4     0\n"
            "1     1              no trim within the range  -                            4     0\n",
        )

    def test_what_the_header_says_of_the_capture(self):
        text = read_fixture("elevator-header.csv").replace("Thrust held (N) = 0\n",
                                                           "Thrust held (N) = 0\nFuel (kg) = 90\n")
        self.assertEqual(summary(parse_report(text, "r.csv"))[3:9], [
            "Altitude: 1000 m",
            "Control surface: Elevator",
            "Controls held: Rudder 0, Aileron 0, Flap 0, ElevatorTrim 0.3, RudderTrim 0",
            "Thrust held: 0 N",
            "Header: Fuel (kg) = 90",
            "Grid: 2 Mach x 5 control level x 4 AOA = 40 points, 40 rows",
        ])

    def test_coefficients_without_dimensions(self):
        # At Mach 0.5's trim (AOA 0) CL*S rises 0.5 m^2/deg, CM*S*c falls 0.1 m^3/deg: per rad
        # over S = 2 and S c = 1; Cm_alpha / CL_alpha = -0.4 = -(neutral point 0.2 m) / c.
        status, out, err = run_tool("summary", "sideslip-header.csv", "--area", "2", "--span",
                                    "10", "--chord", "0.5", cwd=fixture(""))
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(out.splitlines()[-4:], [
            "Coefficients without dimensions with S = 2 m^2, b = 10 m, c = 0.5 m, per radian, at"
            " the AOAs above:",
            "Mach  at AOA [deg]  CL_alpha [1/rad]  Cm_alpha [1/rad]  CY_beta [1/rad]"
            "  Cn_beta [1/rad]  Cl_beta [1/rad]",
            "0.5   0             14.3239           -5.72958          -5.14997         1.725"
            "            -0.752503",
            "1     4             11.4592           -5.72958          -5.15662         -0.515662"
            "        0.257831",
        ])
        # the control power per unit level over S, S c and S b; without --span no dCl, dCn
        status, out, err = run_tool("summary", "elevator-header.csv", "--area", "2", "--chord",
                                    "0.5", cwd=fixture(""))
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(out.splitlines()[-5:], [
            "",
            "Control power without dimensions per unit level, with S = 2 m^2, c = 0.5 m:",
            "Mach  at AOA [deg]  dCL total  dCm",
            "0.5   4             -0.15      0.2",
            "1     4             -0.26      0.4",
        ])
        status, out, err = run_tool("summary", "sideslip.csv", "--area", "2", cwd=fixture(""))
        self.assertEqual(out.splitlines()[-3:], [
            "Coefficients without dimensions with S = 2 m^2, per radian, at the AOAs above:",
            "Mach  at AOA [deg]  CL_alpha [1/rad]  CY_beta [1/rad]",
            # from AOA -4 to 2, CL*S -1 to 1.5
            "0.5   2             %s           -5.15662" % g6(2.5 / 6 * 180 / math.pi / 2),
        ])
        # the slopes between the rows around the trim at AOA 4, 0 to 5, not around AOA 0; the
        # unstable one's at AOA 1
        status, out, err = run_tool("summary", "moment.csv", "--area", "1", "--chord", "1",
                                    cwd=fixture(""))
        self.assertEqual(out.splitlines()[-2:], [
            "0.5   4             %s           -5.72958" % g6(0.5 * 180 / math.pi),
            "1     1             %s           5.72958" % g6(0.4 * 180 / math.pi),
        ])

    def test_levels_the_vessel_moved(self):
        # Mach 0.5's point at level 0 and AOA 0 ran at -0.5, Mach 1's at 0.5 and AOA 5 at 0.25.
        status, out, err = run_tool("summary", "elevator-moved.csv", cwd=fixture(""))
        self.assertEqual((status, err), (0, ""))
        lines = out.splitlines()
        self.assertEqual(lines[4], "Grid: 2 Mach x 6 control level (as written) x 4 AOA, 40 rows")
        # as written, whatever the header counts
        items = "Control surface = Elevator\nNumber of control levels = 5\n"
        text = read_fixture("elevator-moved.csv").replace("Mach Number;", items + "Mach Number;")
        self.assertIn("Grid: 2 Mach x 6 control level (as written) x 4 AOA, 40 rows",
                      summary(parse_report(text, "r.csv")))
        # the notes of grid_problems (test_report)
        self.assertEqual([line[:56] for line in lines[5:8]], [
            "Note: the control levels as written do not form a grid: ",
            "Note: points (Mach x AOA) per control level as written, ",
            "Flagged rows: 0",
        ])
        # Mach 1's Cn*S*b from the levels -0.5 and 0.25 at AOA 5; the level 0.25, at AOA 5 only,
        # does not part the trim range.
        self.assertIn(
            "1     4             -0.52              0.4            0.18           -0.016       "
            "  -4 to 8\n",
            out,
        )
        self.assertIn(
            "0.5   -0.5           3                         0.5                          5     0\n"
            "0.5   0              4                         0.5                          3     0\n",
            out,
        )
        self.assertIn(
            "1     0.25           no trim within the range  -                            1     0\n"
            "1     0.5            8                         0.166667                     3     0\n",
            out,
        )

    def test_flagged_rows_listed(self):
        status, out, err = run_tool("summary", "flagged.csv", cwd=fixture(""))
        self.assertEqual((status, err), (0, ""))
        self.assertIn(
            "Flagged rows: 5 (non-finite values: 4, negative drag: 1), left out of the figures"
            " below:\n"
            "  line 7: Mach 0, AOA 0: non-finite CL*S, CD*S, L/D\n"
            "  line 8: Mach 0, AOA 5: non-finite CL*S, CD*S, L/D\n"
            "  line 9: Mach 0, AOA 10: non-finite CL*S, CD*S, L/D\n"
            "  line 10: Mach 0.5, AOA 0: negative drag (CD*S = -0.1)\n"
            "  line 12: Mach 0.5, AOA 10: non-finite L/D\n",
            out,
        )
        self.assertIn("\n0     -  ", out)

    def test_capture_cut_short_is_noted(self):
        cases = [
            ("cut-short.csv", "report cut short: 3 of 8 rows missing"),
            (
                "cut-mid-row.csv",
                "report cut short: 3 of 8 rows missing; the last line was cut mid-row",
            ),
        ]
        for name, note in cases:
            with self.subTest(name):
                status, out, err = run_tool("summary", name, cwd=fixture(""))
                self.assertEqual((status, err), (0, ""))
                self.assertIn(
                    "Grid: 2 Mach x 4 AOA = 8 points, 5 rows\nNote: %s\nFlagged rows: 0\n" % note,
                    out,
                )
                self.assertTrue(
                    body(out).endswith(
                        "1     -2              no stall within the range  1               -5  "
                        "          -         -             -                    1     0\n"
                    )
                )


# Not an exponent of a unit, as in m^2.
NUMBER = re.compile(r"(?<![\w^.])-?\d+(?:\.\d+)?(?:e[-+]\d+)?")


def numbers(line):
    """The line's text with each number as "#", and its numbers."""
    return NUMBER.sub("#", line), [float(n) for n in NUMBER.findall(line)]


class RateTest(unittest.TestCase):
    def test_damping_derivatives(self):
        # At the step 0.1 s the damping reaches I/dt in pitch from Mach 0.12 and in roll from
        # Mach 0.16; Cl*S*b grows 0.01 m^3 per deg/s of yaw rate, Cn*S*b as much per roll rate.
        for step, coupling in ((0.02, 0.0), (0.1, 0.01)):
            with self.subTest(step=step):
                report = parse_report(Sailplane.report(step=step, coupling=coupling), "r.csv")
                lines = summary(report, References(10, span=15, chord=0.7))
                start = lines.index("Damping derivatives per rad/s at the trim AOA or, without a"
                                    " trim, at the AOA nearest 0:")
                self.assertEqual(lines[start + 1].split("  ")[-1], "limited by the step")
                notes = []
                for i, mach in enumerate((0.08, 0.12, 0.16, 0.2)):
                    q, speed = 0.5 * 1.1 * (336.4 * mach) ** 2, 336.4 * mach
                    # per rad/s: pitch, roll, yaw, then Cl*S*b by r and Cn*S*b by p
                    own = [-Sailplane.damping(mach, axis, step) / q for axis in (1, 0, 2)]
                    cross = [math.degrees(coupling)] * 2
                    at = [axis for axis, name in ((1, "pitch"), (0, "roll"), (2, "yaw"))
                          if Sailplane.damping(mach, axis, step) == Sailplane.inertia[axis] / step]
                    limit = ", ".join(("roll", "pitch", "yaw")[axis] for axis in sorted(
                        at, key=(1, 0, 2).index))
                    cells = lines[start + 2 + i].split()
                    values = [float(cell) for cell in cells[:7]]
                    expected = [mach, Sailplane.trim(mach)] + own + cross
                    for value, wanted in zip(values, expected):
                        self.assertAlmostEqual(value, wanted, delta=2e-5 * abs(wanted) + 1e-12)
                    self.assertEqual(" ".join(cells[7:]), limit or "-")
                    notes += [(axis, mach) for axis in at]
                    # without dimensions: 2V / (S c^2), 2V / (S b^2)
                    row = lines[-4 + i].split()
                    lengths = [0.7, 15, 15, 15, 15]
                    for value, slope, length in zip(row[2:], own + cross, lengths):
                        wanted = slope * 2 * speed / (10 * length ** 2)
                        self.assertAlmostEqual(float(value), wanted, delta=2e-5 * abs(wanted))
                self.assertEqual(lines[-5].split("  ")[-1], "Cn_p [1/rad]")
                self.assertEqual(lines[-5].split()[4:12:2], ["Cm_q", "Cl_p", "Cn_r", "Cl_r"])
                texts = [
                    "Note: %s damping limited by the step at Mach %s: the simulator damps with at"
                    " most I/dt = %g kg m^2 / %g s = %g N m s, which stops the rotation in one"
                    " step; there the derivative depends on the step, not on the air"
                    % (name, ", ".join("%g" % m for a, m in notes if a == axis),
                       Sailplane.inertia[axis], step, Sailplane.inertia[axis] / step)
                    for axis, name in ((1, "pitch"), (0, "roll"), (2, "yaw"))
                    if any(a == axis for a, _ in notes)
                ]
                self.assertEqual(len(texts), 2 if step == 0.1 else 0)
                end = lines.index("", start + 2)
                self.assertEqual(lines[start + 6:end], texts)


class SpeedTest(unittest.TestCase):
    weight = Sailplane.mass * Sailplane.gravity

    @classmethod
    def mach(cls, force):
        """Where 1/2 rho V^2 force = W, V = a M."""
        return math.sqrt(2 * cls.weight / (Sailplane.density * force)) / Sailplane.sound

    def assert_line(self, line, text, values):
        shape, found = numbers(line)
        self.assertEqual(shape, text)
        self.assertEqual(len(found), len(values))
        for value, wanted in zip(found, values):
            self.assertAlmostEqual(value, wanted, delta=2e-5 * abs(wanted))

    def test_speeds(self):
        lines = summary(parse_report(Sailplane.report(), "r.csv"))
        start = lines.index(
            "Flight speeds at 1000 m, mass 850 kg, gravity 9.80349 m/s^2 (weight 8332.97 N),"
            " density 1.1 kg/m^3 (2 q / V^2), from CL*S and CD*S at rate 0; each where its lift"
            " equals the weight (at the least sink, lift and drag together), linear between the"
            " Mach numbers named:")
        # The trim's lift rises with the Mach number: 3 + trim AOA, linear in it.
        trim = lines[start + 1]
        mach = numbers(trim)[1][0]
        aoa = Sailplane.trim(mach)
        self.assert_line(trim, "  level flight at the trim: Mach #, # m/s, trim AOA # deg (from"
                         " Mach # and #)", [mach, 336.4 * mach, aoa, 0.12, 0.16])
        lift = 0.5 * Sailplane.density * (336.4 * mach) ** 2 * Sailplane.lift(aoa)
        self.assertAlmostEqual(lift / self.weight, 1, delta=1e-5)
        stall = self.mach(15)
        self.assert_line(lines[start + 2], "  stall: Mach #, # m/s, CL*S # m^2 at AOA # deg (from"
                         " Mach # and #)", [stall, 336.4 * stall, 15, 12, 0.08, 0.12])
        # best L/D at AOA 4; least sink at AOA 8, where lift and drag together carry the weight
        glide, angle = self.mach(7), math.atan2(Sailplane.drag(4), 7)
        self.assert_line(lines[start + 3], "  best glide: Mach #, # m/s at AOA # deg: L/D #, glide"
                         " angle # deg, sink rate # m/s (from Mach # and #)",
                         [glide, 336.4 * glide, 4, 7 / Sailplane.drag(4), math.degrees(angle),
                          336.4 * glide * math.sin(angle), 0.12, 0.16])
        force, angle = math.hypot(11, Sailplane.drag(8)), math.atan2(Sailplane.drag(8), 11)
        sink = self.mach(force)
        self.assert_line(lines[start + 4], "  least sink: # m/s at Mach #, # m/s, AOA # deg, glide"
                         " angle # deg (from Mach # and #)",
                         [336.4 * sink * math.sin(angle), sink, 336.4 * sink, 8,
                          math.degrees(angle), 0.08, 0.12])

    def test_speeds_per_control_level(self):
        # the totals hold the elevator's lift: level 1 adds 1 m^2 to the largest CL*S total
        lines = summary(parse_report(Sailplane.report(levels=(-1, 0, 1)), "r.csv"))
        start = lines.index("At control level 1:")
        title = lines[lines.index("At control level -1:") - 1]
        self.assertIn("from CL*S total and CD*S total at rate 0;", title)
        stall = self.mach(16)
        self.assert_line(lines[start + 2], "  stall: Mach #, # m/s, CL*S total # m^2 at AOA # deg"
                         " (from Mach # and #)", [stall, 336.4 * stall, 16, 12, 0.08, 0.12])

    def test_what_the_grid_lacks(self):
        report = Sailplane.report()
        lines = summary(parse_report(report.replace("Mass (kg) = 850", "Mass (kg) = 8500"),
                                     "r.csv"))
        top = 0.5 * 1.1 * (336.4 * 0.2) ** 2
        self.assert_line(lines[-4], "  level flight at the trim: above Mach #: the trimmed lift"
                         " there is # times the weight",
                         [0.2, top * Sailplane.lift(Sailplane.trim(0.2)) / self.weight / 10])
        lines = summary(parse_report(report.replace("Mass (kg) = 850", "Mass (kg) = 85"),
                                     "r.csv"))
        low = 0.5 * 1.1 * (336.4 * 0.08) ** 2
        self.assert_line(lines[-3], "  stall: below Mach #: the largest lift there is # times the"
                         " weight", [0.08, low * 15 / self.weight * 10])
        lines = summary(parse_report(Sailplane.report(aoas=(-4, 0, 4, 8, 12)), "r.csv"))
        self.assertEqual(lines[-3], "  stall: no stall within the AOA range")
        lines = summary(parse_report(Sailplane.report(stiffness=-0.2), "r.csv"))
        self.assertEqual(lines[-4], "  level flight at the trim: no Mach number with a statically"
                                    " stable trim")
        # without the moments no trim; the other figures stand
        text = read_fixture("sideslip.csv").replace(
            "Mach Number;", "Mass (kg) = 850\nGravity (m/s^2) = 9.80349\nMach Number;")
        lines = summary(parse_report(text, "r.csv"))
        self.assertEqual(lines[-4], "  level flight at the trim: needs the trim AOA, which needs"
                                    " CM*S*c (ReportMoments = 1)")
        self.assertTrue(lines[-1].startswith("  least sink: "))

    def test_balance_between_the_mach_numbers(self):
        # 1/2 rho V^2 = 500 M^2 N/m^2 per m^2: a lift of 2 m^2 carries 1000 N at Mach 1
        def air(mach):
            return Air(mach, 1.0, math.sqrt(1000) * mach)

        def polar(lift):
            return Polar(0, lift, 0.1) if lift is not None else None

        cases = [
            ("between two", [(0.5, 2), (2, 2)], Balance, (1, (0.5, 2))),
            ("on a Mach number", [(1, 2), (2, 2)], Balance, (1, (1,))),
            ("below", [(2, 2), (3, 2)], Outside, (True, 2, 4)),
            ("above", [(0.25, 2), (0.5, 2)], Outside, (False, 0.5, 0.25)),
            ("across one without", [(0.5, 2), (1, None), (2, 2)], Gap, (0.5, 2)),
            ("none has it", [(0.5, None), (1, None)], type(None), ()),
        ]
        for name, points, kind, expected in cases:
            with self.subTest(name):
                found = balance([(air(m), polar(c)) for m, c in points], 1000.0, lift_of)
                self.assertIsInstance(found, kind)
                if kind is Balance:
                    self.assertAlmostEqual(found.air.mach, expected[0], places=12)
                    self.assertEqual(found.machs, expected[1])
                elif kind is Outside:
                    self.assertEqual((found.below, found.mach, found.ratio), expected)
                elif kind is Gap:
                    self.assertEqual((found.low, found.high), expected)


if __name__ == "__main__":
    unittest.main()
