import math
import os
import tempfile
import unittest

from support import Sailplane, fixture, read_fixture, run_tool, with_sideslip
from aeroquin_report.report import (
    ReportError, RatePoint, grid_problems, parse_report, read_report,
)

HEADER = (
    "Aeroquin version: 1.0\n"
    "Vessel Class: Glider\n"
    "System time at simulation start: 2024/03/05::14:07:09\n"
    "Number of AOA points = 2\n"
    "Number of Mach points = 1\n"
    "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D\n"
)


SIDESLIP = HEADER.replace("L/D", "L/D; Sideslip; CY*S")
CONTROL = HEADER.replace("L/D", "L/D; CY*S; Control Level; CL*S total; CD*S total")
RATES = HEADER.replace("L/D", "L/D; CM*S*c; CY*S; Cl*S*b; Cn*S*b; Pitch Rate; Roll Rate; Yaw Rate")
# Mach 0.08 and 0.12 x pitch, roll and yaw rates of -10, 0 and 10 deg/s x AOA 0 and 4; its first
# row is line 15.
SMALL_RATES = Sailplane.report(machs=(0.08, 0.12), aoas=(0, 4), rates=(-10, 0, 10))


class ParseTest(unittest.TestCase):
    def test_header_and_rows(self):
        report = read_report(fixture("glider.csv"))
        self.assertEqual(report.version, "1.0")
        self.assertEqual(report.vessel_class, "Glider")
        self.assertEqual(report.start_time, "2024/03/05::14:07:09")
        self.assertEqual((report.aoa_count, report.mach_count), (4, 2))
        self.assertEqual(len(report.rows), 8)
        first = report.rows[0]
        self.assertEqual(first.line, 7)
        self.assertEqual(first.values(), (0.5, -5.0, 3151.45, 147.535, -1.0, 0.5, -2.0))

    def test_crlf_lines_and_non_finite_values(self):
        report = read_report(fixture("flagged.csv"))
        self.assertEqual(report.start_time, "2024/03/05::14:07:09")
        self.assertEqual(len(report.rows), 6)
        self.assertTrue(math.isnan(report.rows[0].cl_s))
        self.assertEqual(report.rows[0].cd_s, math.inf)
        self.assertTrue(math.isnan(report.rows[2].lift_to_drag))  # "-nan(ind)"

    def test_eight_columns_with_the_pitching_moment(self):
        self.assertFalse(read_report(fixture("glider.csv")).has_moment)
        report = read_report(fixture("moment.csv"))
        self.assertTrue(report.has_moment)
        self.assertEqual(len(report.rows), 8)
        self.assertEqual(
            report.rows[0].values(), (0.5, -5.0, 3151.45, 147.535, -1.0, 0.5, -2.0, 0.9)
        )
        self.assertEqual(report.rows[7].cm_s_c, 0.9)

    def test_optional_columns_by_the_column_line(self):
        report = read_report(fixture("sideslip-moment.csv"))
        self.assertEqual((report.has_moment, report.has_sideslip, report.has_side_moments),
                         (True, True, True))
        row = report.rows[0]
        self.assertEqual((row.cm_s_c, row.sideslip, row.cy_s, row.roll_s_b, row.yaw_s_b),
                         (0, -10, 1.79768, 2.62673, -6.02138))
        self.assertEqual(row.values()[-5:], (0, -10, 1.79768, 2.62673, -6.02138))
        report = read_report(fixture("sideslip.csv"))
        self.assertEqual((report.has_moment, report.has_sideslip, report.has_side_moments),
                         (False, True, False))
        self.assertEqual((report.rows[3].sideslip, report.rows[3].cy_s), (5, -0.9))
        # a control-surface axis: its level, and the lift and drag with the control surfaces'
        text = (HEADER.replace("L/D", "L/D; CY*S; Control Level; CL*S total; CD*S total")
                + "0.5; 0; 1; 2; 3; 4; 0.75; 0.1; 0.5; 3.2; 4.1\n")
        row = parse_report(text, "r.csv").rows[0]
        self.assertEqual((row.cy_s, row.control_level, row.cl_total_s, row.cd_total_s),
                         (0.1, 0.5, 3.2, 4.1))

    def test_header_items_say_what_was_captured(self):
        report = read_report(fixture("elevator-header.csv"))
        self.assertEqual(
            (report.altitude, report.control_surface, report.level_count, report.sideslip_count,
             report.thrust_held, report.column_line, report.rows[0].line),
            (1000, "Elevator", 5, None, 0, 11, 12),
        )
        self.assertEqual(report.controls_held, {"Rudder": 0, "Aileron": 0, "Flap": 0,
                                                "ElevatorTrim": 0.3, "RudderTrim": 0})
        self.assertEqual(len(report.rows), 40)
        report = read_report(fixture("sideslip-header.csv"))
        self.assertEqual((report.altitude, report.sideslip_count, report.control_surface,
                          report.level_count), (20000, 3, None, None))
        # labels that this tool does not know are kept as written
        lines = read_fixture("rudder.csv").splitlines(True)
        text = "".join(lines[:11] + ["Fuel (kg) = 1.2e+03\n", "Inertia (m^2) = 1, 2, 3\n"]
                       + lines[11:])
        report = parse_report(text, "r.csv")
        self.assertEqual(list(report.items.items())[-3:], [
            ("Thrust held (N)", "0"), ("Fuel (kg)", "1.2e+03"), ("Inertia (m^2)", "1, 2, 3")])
        self.assertEqual((report.control_surface, report.sideslip_count, report.column_line,
                          len(report.rows)), ("Rudder", 3, 14, 30))
        # mass properties, the rate axis's count and the step
        report = parse_report(SMALL_RATES, "r.csv")
        self.assertEqual(
            (report.mass, report.inertia, report.gravity, report.rate_count, report.time_step,
             report.altitude, report.column_line),
            (850, (3200, 1100, 4100), 9.80349, 3, 0.02, 1000, 14),
        )
        # the rate axis's points, each cell's first 0 the pitch axis's, its second the roll's
        self.assertEqual(
            [row.rate_point for row in report.rows[:18:2]],
            [RatePoint(axis, rate) for axis in (0, 1, 2) for rate in (-10, 0, 10)],
        )
        self.assertEqual(report.rows[2].where(), "Mach 0.08, pitch rate 0 deg/s, AOA 0")
        # a report without optional items has none
        report = read_report(fixture("elevator.csv"))
        self.assertEqual((report.items, report.altitude, report.control_surface,
                          report.level_count, report.controls_held, report.column_line),
                         ({}, None, None, None, None, 6))

    def test_empty_class_name_keeps_its_blank_line(self):
        report = parse_report(HEADER.replace("Vessel Class: Glider", "Vessel Class: "), "r.csv")
        self.assertEqual(report.vessel_class, "")
        self.assertEqual(report.rows, [])

    def test_trailing_blank_lines_are_ignored(self):
        report = parse_report(HEADER + "0.5; 0; 1; 2; 3; 4; 0.75\n\n\n", "r.csv")
        self.assertEqual(len(report.rows), 1)

    def test_a_last_line_without_its_line_end_is_cut_and_left_out(self):
        row = "0.5; 0; 1; 2; 3; 4; 0.75"
        cases = [
            ("whole lines", HEADER + row + "\n", 1, None),
            ("cut mid-row", HEADER + row + "\n0.5; 5; 1; 2", 1, 8),
            # the last number may have lost digits: "0.75" cut to "0.7" still reads
            ("cut before the line end", HEADER + row[:-1], 0, 7),
            ("cut between CR and LF", HEADER + row + "\r", 0, 7),
            ("column line without its line end", HEADER[:-1], 0, None),
            ("trailing blank lines", HEADER + row + "\n\n \n", 1, None),
        ]
        for name, text, rows, cut_line in cases:
            with self.subTest(name):
                report = parse_report(text, "r.csv")
                self.assertEqual((len(report.rows), report.cut_line), (rows, cut_line))

    def test_malformed_reports_name_file_and_line(self):
        row = "0.5; 0; 1; 2; 3; 4; 0.75\n"
        cases = [
            ("", "r.csv: ends after 0 lines; a report begins with six header lines"),
            (HEADER[:43], "r.csv: ends after 2 lines; a report begins with six header lines"),
            (
                HEADER.replace("Vessel Class:", "Vessel class:"),
                'r.csv:2: expected a line beginning with "Vessel Class: "',
            ),
            (
                HEADER.replace("AOA points = 2", "AOA points = two"),
                'r.csv:4: "two" is not a count of points after "Number of AOA points = "',
            ),
            (
                HEADER.replace("Mach points = 1", "Mach points = -1"),
                'r.csv:5: "-1" is not a count of points after "Number of Mach points = "',
            ),
            (
                HEADER.replace("; L/D", ""),
                'r.csv:6: expected the column line'
                ' "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D"',
            ),
            (
                HEADER + row + "0.5; 5; 1; 2; 3; 4\n",
                'r.csv:8: expected 7 numbers separated by "; ", found 6 fields',
            ),
            (
                HEADER + row.replace("\n", "; 0.1\n"),
                'r.csv:7: expected 7 numbers separated by "; ", found 8 fields',
            ),
            (
                HEADER.replace("L/D", "L/D; CM*S*c") + row,
                'r.csv:7: expected 8 numbers separated by "; ", found 7 fields',
            ),
            (
                HEADER.replace("L/D", "L/D; CM*S"),
                'r.csv:6: unknown column "CM*S"; expected the column line'
                ' "Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D; CM*S*c"',
            ),
            (
                HEADER.replace("L/D", "L/D; Beta; CY*S"),
                'r.csv:6: unknown column "Beta"; expected the column line "Mach Number; AOA;'
                ' Dynamic Pressure; Airspeed; CL*S; CD*S; L/D; Sideslip; CY*S"',
            ),
            # the moments about the other axes come with CM*S*c only
            (
                HEADER.replace("L/D", "L/D; Sideslip; CY*S; Cl*S*b; Cn*S*b"),
                'r.csv:6: expected the column line "Mach Number; AOA; Dynamic Pressure;'
                ' Airspeed; CL*S; CD*S; L/D; CM*S*c; Sideslip; CY*S; Cl*S*b; Cn*S*b"',
            ),
            (
                HEADER.replace("L/D", "L/D; Sideslip; CY*S") + "0.5; 0; 1; 2; 3; 4; 0.75; inf; 0\n",
                "r.csv:7: the sideslip must be finite",
            ),
            # header items between line 5 and the column line
            (
                SIDESLIP.replace("Mach Number;", "Altitude (m) 1000\nMach Number;"),
                'r.csv:6: "Altitude (m) 1000" is neither a header item "Label = value" nor the'
                ' column line (beginning "Mach Number")',
            ),
            (
                SIDESLIP.replace("Mach Number;", "Altitude (m) = 1 km\nMach Number;"),
                'r.csv:6: "1 km" is not a finite number after "Altitude (m) = "',
            ),
            (
                SIDESLIP.replace("Mach Number;", "Thrust held (N) = nan\nMach Number;"),
                'r.csv:6: "nan" is not a finite number after "Thrust held (N) = "',
            ),
            (
                SIDESLIP.replace("Mach Number;", "Number of sideslip points = 3.0\nMach Number;"),
                'r.csv:6: "3.0" is not a count of points after "Number of sideslip points = "',
            ),
            (
                SIDESLIP.replace("Mach Number;", "Altitude (m) = 0\nAltitude (m) = 0\n"
                                 "Mach Number;"),
                'r.csv:7: the header item "Altitude (m)" repeats line 6',
            ),
            (
                SIDESLIP.replace("Mach Number;", "Controls held = Elevator 0, Rudder\n"
                                 "Mach Number;"),
                'r.csv:6: "Rudder" is not "Surface level" (one of each surface, levels finite)'
                ' after "Controls held = "',
            ),
            (
                SIDESLIP.replace("Mach Number;", "Controls held = Canard 0\nMach Number;"),
                'r.csv:6: "Canard 0" is not "Surface level" (one of each surface, levels finite)'
                ' after "Controls held = "',
            ),
            (
                SIDESLIP.replace("Mach Number;", "Number of control levels = 3\nMach Number;"),
                'r.csv:6: "Number of control levels" without the column "Control Level"',
            ),
            (
                CONTROL.replace("Mach Number;", "Control surface = Canard\nMach Number;"),
                'r.csv:6: "Canard" is not a control surface; one of Elevator, Rudder, Aileron,'
                " Flap, ElevatorTrim, RudderTrim",
            ),
            (
                SIDESLIP.replace("Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D;"
                                 " Sideslip; CY*S\n", "Altitude (m) = 1000\n"),
                'r.csv: ends after 6 lines without the column line (beginning "Mach Number")',
            ),
            # the rates need the moments
            (
                HEADER.replace("L/D", "L/D; CY*S; Pitch Rate; Roll Rate; Yaw Rate"),
                'r.csv:6: expected the column line "Mach Number; AOA; Dynamic Pressure;'
                ' Airspeed; CL*S; CD*S; L/D; CM*S*c; CY*S; Cl*S*b; Cn*S*b; Pitch Rate; Roll Rate;'
                ' Yaw Rate"',
            ),
            (
                RATES + "0.5; 0; 1; 2; 3; 4; 0.75; 0; 0; 0; 0; 5; 0; -5\n",
                "r.csv:7: Pitch Rate and Yaw Rate are not 0 together; a rate axis turns the"
                " vessel about one body axis at a time",
            ),
            (
                RATES + "0.5; 0; 1; 2; 3; 4; 0.75; 0; 0; 0; 0; 0; nan; 0\n",
                "r.csv:7: the roll rate must be finite",
            ),
            (
                SIDESLIP.replace("Mach Number;", "Number of rate points = 3\nMach Number;"),
                'r.csv:6: "Number of rate points" without the column "Pitch Rate"',
            ),
            (
                RATES.replace("Mach Number;", "Inertia roll, pitch, yaw (kg m^2) = 3200 1100\n"
                              "Mach Number;"),
                'r.csv:6: "3200 1100" is not three finite numbers separated by blanks after'
                ' "Inertia roll, pitch, yaw (kg m^2) = "',
            ),
            (
                RATES.replace("Mach Number;", "Time step (s) = 1/50\nMach Number;"),
                'r.csv:6: "1/50" is not a finite number after "Time step (s) = "',
            ),
            (
                HEADER + "0.5; 0; 1_0; 2; 3; 4; 0.75\n",
                'r.csv:7: Dynamic Pressure: "1_0" is not a number',
            ),
            (HEADER + row + "\n" + row, "r.csv:8: empty line where a row of numbers belongs"),
            (
                HEADER + "nan; 0; 1; 2; 3; 4; 0.75\n",
                "r.csv:7: the Mach number and the AOA must be finite",
            ),
        ]
        for text, message in cases:
            with self.subTest(message=message):
                with self.assertRaises(ReportError) as caught:
                    parse_report(text, "r.csv")
                self.assertEqual(str(caught.exception), message)


MOVED = (
    "the control levels as written do not form a grid: the vessel may have moved the control at"
    " some points (the capture's status then counts the points that ran at another level than"
    " commanded); each row counts at the level written in it"
)


class GridTest(unittest.TestCase):
    def test_complete_grid_has_no_problems(self):
        self.assertEqual(grid_problems(read_report(fixture("glider.csv"))), [])

    def test_cut_short_repeated_and_missing_points(self):
        glider = read_fixture("glider.csv")
        lines = glider.splitlines(True)
        two_mach = HEADER.replace("Mach points = 1", "Mach points = 2")
        row = "1; 5; 12605.8; 295.07; 1.5; 1; 1.5\n"
        sideslip = read_fixture("sideslip-moment.csv").splitlines(True)
        elevator = read_fixture("elevator.csv").splitlines(True)
        sideslip_header = read_fixture("sideslip-header.csv").splitlines(True)
        cases = [
            (
                "repeated point",
                two_mach + "0.5; 0; 1; 2; 3; 4; 0.75\n0.5; 0; 1; 2; 3; 4; 0.75\n"
                "1; 5; 1; 2; 3; 4; 0.75\n",
                [
                    "line 8 repeats Mach 0.5, AOA 0 of line 7",
                    "2 of the 4 points of the 2 Mach x 2 AOA grid are missing",
                    "the header announces 2 AOA x 2 Mach = 4 points, the report holds 3 rows",
                ],
            ),
            (
                "complete rows",
                read_fixture("cut-short.csv"),
                ["report cut short: 3 of 8 rows missing"],
            ),
            (
                "cut mid-row",
                read_fixture("cut-mid-row.csv"),
                ["report cut short: 3 of 8 rows missing; the last line was cut mid-row"],
            ),
            (
                "no rows",
                "".join(lines[:6]),
                ["report cut short: 8 of 8 rows missing"],
            ),
            # a hole in the middle is no capture cut short
            (
                "hole",
                glider.replace(row, ""),
                [
                    "1 of the 8 points of the 2 Mach x 4 AOA grid are missing",
                    "the header announces 4 AOA x 2 Mach = 8 points, the report holds 7 rows",
                ],
            ),
            (
                "hole and cut mid-row",
                glider.replace("0.5; 5; 3151.45; 147.535; 3; 0.4; 7.5\n", "")[:-4],
                [
                    "2 of the 8 points of the 2 Mach x 4 AOA grid are missing",
                    "the header announces 4 AOA x 2 Mach = 8 points, the report holds 6 rows",
                    "report cut short: the last line was cut mid-row",
                ],
            ),
            (
                "other AOAs at the second Mach number",
                "".join(glider.replace("1; -5;", "1; -4;").splitlines(True)[:12]),
                [
                    "4 of the 10 points of the 2 Mach x 5 AOA grid are missing",
                    "the header announces 4 AOA x 2 Mach = 8 points, the report holds 6 rows",
                ],
            ),
            (
                "repeated point of a sideslip axis",
                read_fixture("sideslip.csv").replace("0.5; 2; 3151.45; 147.535; 1.5; 0.3; 5; 5;",
                                                     "0.5; 2; 3151.45; 147.535; 1.5; 0.3; 5; 0;"),
                [
                    "line 10 repeats Mach 0.5, sideslip 0, AOA 2 of line 8",
                    "1 of the 6 points of the 1 Mach x 3 sideslip x 2 AOA grid are missing",
                ],
            ),
            # the header does not count the sideslips: the rows of one Mach number may lack some
            (
                "cut short at the first Mach number's sideslips",
                "".join(sideslip[:9]),
                ["report cut short: at least 5 of at least 8 rows missing"],
            ),
            (
                "cut short at the second Mach number's sideslips",
                "".join(sideslip[:15]),
                ["report cut short: 3 of 12 rows missing"],
            ),
            (
                "sideslips out of sweep order",
                "".join(sideslip[i] for i in (*range(12), 14, 15, 12)),
                [
                    "3 of the 12 points of the 2 Mach x 3 sideslip x 2 AOA grid are missing",
                    "the header announces 2 AOA x 2 Mach and the rows show 3 sideslip values:"
                    " 12 points, the report holds 9 rows",
                ],
            ),
            # rows carry the level the step used: a vessel may move it at some points
            (
                "control levels the vessel moved",
                read_fixture("elevator-moved.csv"),
                [
                    MOVED,
                    "points (Mach x AOA) per control level as written, of 8: -1: 8, -0.5: 8 (9"
                    " rows), 0: 7, 0.25: 1, 0.5: 7, 1: 8",
                ],
            ),
            (
                "every point at one level",
                "".join(elevator[:6] + [
                    line.replace("; -1; ", "; 0; ").replace("; -0.5; ", "; 0; ")
                    .replace("; 0.5; ", "; 0; ").replace("; 1; ", "; 0; ")
                    for line in elevator[6:]
                ]),
                [
                    MOVED,
                    "points (Mach x AOA) per control level as written, of 8: 0: 8 (40 rows)",
                ],
            ),
            (
                "control levels cut short",
                "".join(elevator[:20]),
                ["report cut short: at least 18 of at least 32 rows missing"],
            ),
            # swept Mach, control level, sideslip, AOA: 2 x 5 x 3 x 4, cut in the second Mach
            (
                "control levels and sideslips cut short",
                "".join(with_sideslip("".join(elevator)).splitlines(True)[:76]),
                ["report cut short: 50 of 120 rows missing"],
            ),
            # the header counts the values of the middle axes: no "at least"
            (
                "control levels cut short, counted by the header",
                read_fixture("elevator-header.csv")[:-1].rsplit("\n", 26)[0] + "\n",
                ["report cut short: 26 of 40 rows missing"],
            ),
            (
                "levels and sideslips cut short at the first Mach number, counted by the header",
                "".join(read_fixture("rudder.csv").splitlines(True)[:22]),
                ["report cut short: 20 of 30 rows missing"],
            ),
            # the sweep takes each axis's values ascending
            (
                "sideslips descending within the first Mach number",
                "".join(sideslip_header[i] for i in (*range(10), 14, 15, 12, 13, 10, 11)),
                ["the header announces 2 AOA x 2 Mach x 3 sideslip = 12 points, the report holds"
                 " 6 rows"],
            ),
            (
                "more sideslips announced than the rows hold",
                read_fixture("sideslip-header.csv").replace("sideslip points = 3",
                                                            "sideslip points = 5"),
                ["the header announces 2 AOA x 2 Mach x 5 sideslip = 20 points, the report holds"
                 " 12 rows"],
            ),
            # a point missing at every level is a hole in the grid, not a moved level
            (
                "control levels with a hole at every level",
                "".join(line for line in elevator if not line.startswith("1; 10;")),
                [
                    "5 of the 40 points of the 2 Mach x 5 control level x 4 AOA grid are missing",
                    "the header announces 4 AOA x 2 Mach and the rows show 5 control level"
                    " values: 40 points, the report holds 35 rows",
                ],
            ),
            # the rate axis: 3 x 3 points per Mach number and AOA
            (
                "rates cut short, counted by the header",
                "".join(SMALL_RATES.splitlines(True)[:24]),
                ["report cut short: 26 of 36 rows missing"],
            ),
            (
                "rates in sweep order but another body axis's first",
                "".join(SMALL_RATES.splitlines(True)[i] for i in (*range(14), *range(20, 24))),
                ["the header announces 2 AOA x 2 Mach x 9 rate = 36 points, the report holds"
                 " 4 rows"],
            ),
            # a roll rate of -10 written as 0 makes a fourth 0 at Mach 0.08, AOA 0
            (
                "a rate 0 once more at a Mach number and AOA",
                SMALL_RATES.replace("; 7.80536; -0; 0; -10; 0\n0.08; 4;",
                                    "; 7.80536; -0; 0; 0; 0\n0.08; 4;"),
                [
                    "line 29 repeats Mach 0.08, yaw rate 0 deg/s, AOA 0 of line 23",
                    "1 of the 36 points of the 2 Mach x 9 rate x 2 AOA grid are missing",
                ],
            ),
            (
                "Mach numbers descending",
                "".join(lines[:6] + lines[10:] + lines[6:10]).replace("points = 2", "points = 3"),
                ["the header announces 4 AOA x 3 Mach = 12 points, the report holds 8 rows"],
            ),
        ]
        for name, text, problems in cases:
            with self.subTest(name):
                self.assertEqual(grid_problems(parse_report(text, "r.csv")), problems)


class CommandLineErrorTest(unittest.TestCase):
    def test_missing_report_exits_2_with_clear_message(self):
        for command in (["summary"], ["plot"], ["table", "--area", "1"]):
            with self.subTest(command=command[0]):
                status, out, err = run_tool(command[0], "no/such.csv", *command[1:])
                self.assertEqual(status, 2)
                self.assertEqual(out, "")
                self.assertEqual(
                    err,
                    "aeroquin-report: error: cannot read report no/such.csv:"
                    " No such file or directory\n",
                )

    def test_malformed_report_exits_2(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "bad.csv")
            with open(path, "w", encoding="utf-8") as file:
                file.write(read_fixture("glider.csv").replace("0.5; 5;", "0.5; five;"))
            status, out, err = run_tool("summary", path)
        self.assertEqual(status, 2)
        self.assertEqual(out, "")
        self.assertEqual(err, 'aeroquin-report: error: %s:9: AOA: "five" is not a number\n' % path)

    def test_bad_arguments_exit_2(self):
        cases = [
            ["table", fixture("glider.csv")],
            ["table", fixture("glider.csv"), "--area", "0"],
            ["table", fixture("glider.csv"), "--area", "nan"],
            ["summary", fixture("glider.csv"), "--chord", "1"],
            ["summary", fixture("glider.csv"), "--area", "2", "--span", "0"],
            ["compare", fixture("glider.csv"), fixture("glider.csv"), "--tolerance", "-1"],
            ["frobnicate"],
        ]
        for args in cases:
            with self.subTest(args=args):
                status, out, err = run_tool(*args)
                self.assertEqual(status, 2)
                self.assertEqual(out, "")
                self.assertIn("aeroquin-report", err)


if __name__ == "__main__":
    unittest.main()
