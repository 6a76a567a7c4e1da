"""One capture report: six header lines, then one row of seven numbers per test point, or of
eight when the module also writes the pitching moment CM*S*c."""

import math
import os
from dataclasses import dataclass, field
from typing import Optional, cast

from .numtext import g6, parse_number

COLUMNS = ("Mach Number", "AOA", "Dynamic Pressure", "Airspeed", "CL*S", "CD*S", "L/D")
COLUMN_LINE = "; ".join(COLUMNS)
# The optional eighth column: pitching moment about the centre of gravity / dynamic pressure (m^3,
# moment coefficient x reference area x reference chord), positive nose-up.
MOMENT = "CM*S*c"
COLUMNS_WITH_MOMENT = COLUMNS + (MOMENT,)
COLUMN_LINE_WITH_MOMENT = "; ".join(COLUMNS_WITH_MOMENT)

_VERSION = "Aeroquin version: "
_CLASS = "Vessel Class: "
_TIME = "System time at simulation start: "
_AOA_COUNT = "Number of AOA points = "
_MACH_COUNT = "Number of Mach points = "


class ReportError(Exception):
    """A report that cannot be read, or whose text is not that of a capture report."""


@dataclass(frozen=True)
class Row:
    """One measured test point. `line` is the 1-based line number in the file."""

    line: int
    mach: float
    aoa: float  # deg
    dynamic_pressure: float  # Pa
    airspeed: float  # m/s
    cl_s: float  # m^2
    cd_s: float  # m^2
    lift_to_drag: float
    cm_s_c: Optional[float] = None  # m^3, None in a report of seven columns

    def values(self) -> tuple[float, ...]:
        """The row's numbers in the order of the report's columns: seven or eight."""
        seven = (
            self.mach,
            self.aoa,
            self.dynamic_pressure,
            self.airspeed,
            self.cl_s,
            self.cd_s,
            self.lift_to_drag,
        )
        return seven if self.cm_s_c is None else seven + (self.cm_s_c,)

    def key(self) -> tuple[float, float]:
        """The grid point of the row."""
        return (self.mach, self.aoa)

    def flags(self) -> list[str]:
        """Why the row is unfit for the extremes: non-finite columns, negative drag."""
        reasons = []
        bad = [COLUMNS_WITH_MOMENT[i] for i, v in enumerate(self.values()) if not math.isfinite(v)]
        if bad:
            reasons.append("non-finite " + ", ".join(bad))
        if self.cd_s < 0:
            reasons.append("negative drag (CD*S = %s)" % g6(self.cd_s))
        return reasons

    def has_non_finite(self) -> bool:
        return not all(math.isfinite(v) for v in self.values())


@dataclass
class Report:
    path: str
    version: str
    vessel_class: str
    start_time: str  # as the header gives it: YYYY/MM/DD::hh:mm:ss, UTC
    aoa_count: int
    mach_count: int
    rows: list[Row] = field(default_factory=list)
    # The line number of a last line that lacks its line end: the capture stopped while writing
    # it, so it is left out of the rows. None when the report ends with a whole line.
    cut_line: Optional[int] = None
    # The column line names CM*S*c: every row has eight numbers.
    has_moment: bool = False

    @property
    def columns(self) -> tuple[str, ...]:
        return COLUMNS_WITH_MOMENT if self.has_moment else COLUMNS


def _strip_prefix(path: str, number: int, line: str, prefix: str) -> str:
    if not line.startswith(prefix):
        raise ReportError('%s:%d: expected a line beginning with "%s"' % (path, number, prefix))
    return line[len(prefix):]


def _count(path: str, number: int, line: str, prefix: str) -> int:
    text = _strip_prefix(path, number, line, prefix)
    if not text.isdigit() or not text.isascii():
        raise ReportError(
            '%s:%d: "%s" is not a count of points after "%s"' % (path, number, text, prefix)
        )
    return int(text)


def _row(path: str, number: int, line: str, columns: tuple[str, ...]) -> Row:
    if not line.strip():
        raise ReportError("%s:%d: empty line where a row of numbers belongs" % (path, number))
    # Not csv.reader: it fails on a carriage return inside a line, which a field keeps here.
    fields = line.split(";")
    if len(fields) != len(columns):
        raise ReportError(
            '%s:%d: expected %d numbers separated by "; ", found %d fields'
            % (path, number, len(columns), len(fields))
        )
    values = []
    for column, text in zip(columns, fields):
        value = parse_number(text.strip())
        if value is None:
            raise ReportError(
                '%s:%d: %s: "%s" is not a number' % (path, number, column, text.strip())
            )
        values.append(value)
    if not (math.isfinite(values[0]) and math.isfinite(values[1])):
        raise ReportError("%s:%d: the Mach number and the AOA must be finite" % (path, number))
    return Row(number, *values)


def parse_report(text: str, path: str) -> Report:
    """The report in `text`; `path` names it in error messages. Raises ReportError."""
    if text.startswith("\ufeff"):
        text = text[1:]
    lines = [line.rstrip("\r") for line in text.split("\n")]
    # Every whole line ends with a line end; text after the last one is a line cut short.
    cut = bool(lines[-1].strip())
    while lines and not lines[-1].strip():
        lines.pop()
    if len(lines) < 6:
        raise ReportError(
            "%s: ends after %d lines; a report begins with six header lines" % (path, len(lines))
        )
    version = _strip_prefix(path, 1, lines[0], _VERSION)
    vessel_class = _strip_prefix(path, 2, lines[1], _CLASS)
    start_time = _strip_prefix(path, 3, lines[2], _TIME)
    aoa_count = _count(path, 4, lines[3], _AOA_COUNT)
    mach_count = _count(path, 5, lines[4], _MACH_COUNT)
    column_line = lines[5].strip()
    has_moment = column_line == COLUMN_LINE_WITH_MOMENT
    if column_line != COLUMN_LINE and not has_moment:
        # Name the form that the line's number of columns points to.
        expected = COLUMN_LINE_WITH_MOMENT if column_line.count(";") >= 7 else COLUMN_LINE
        raise ReportError('%s:6: expected the column line "%s"' % (path, expected))
    columns = COLUMNS_WITH_MOMENT if has_moment else COLUMNS
    cut_line = len(lines) if cut and len(lines) > 6 else None
    if cut_line:
        lines.pop()
    rows = [_row(path, number, line, columns) for number, line in enumerate(lines[6:], start=7)]
    return Report(
        path, version, vessel_class, start_time, aoa_count, mach_count, rows, cut_line, has_moment
    )


def read_report(path: str | os.PathLike[str]) -> Report:
    """Reads and parses the report file at `path`. Raises ReportError."""
    try:
        with open(path, "rb") as file:
            data = file.read()
    except OSError as error:
        raise ReportError("cannot read report %s: %s" % (path, error.strerror or error)) from None
    return parse_report(data.decode("utf-8", errors="replace"), str(path))


def grid_axes(rows: list[Row]) -> tuple[list[float], list[float]]:
    """Sorted distinct Mach numbers and AOAs of the rows."""
    return sorted({row.mach for row in rows}), sorted({row.aoa for row in rows})


def grid_holes(report: Report) -> list[str]:
    """Why the rows do not form one complete Mach x AOA grid, each point once; empty if they do."""
    problems = []
    seen: dict[tuple[float, float], int] = {}
    for row in report.rows:
        if row.key() in seen:
            problems.append(
                "line %d repeats Mach %s, AOA %s of line %d"
                % (row.line, g6(row.mach), g6(row.aoa), seen[row.key()])
            )
        else:
            seen[row.key()] = row.line
    machs, aoas = grid_axes(report.rows)
    missing = len(machs) * len(aoas) - len(seen)
    if missing:
        problems.append(
            "%d of the %d points of the %d Mach x %d AOA grid are missing"
            % (missing, len(machs) * len(aoas), len(machs), len(aoas))
        )
    return problems


def header_mismatch(report: Report) -> str | None:
    """A note when the number of rows is not what the header announces."""
    expected = report.aoa_count * report.mach_count
    if len(report.rows) == expected:
        return None
    return "the header announces %d AOA x %d Mach = %d points, the report holds %d rows" % (
        report.aoa_count,
        report.mach_count,
        expected,
        len(report.rows),
    )


def rows_missing(report: Report) -> int:
    """How many rows a capture cut short lacks: the points of the announced grid after its last
    row, when the rows are the start of the sweep (Mach outer and ascending, the same ascending
    AOAs for every Mach number). 0 when the rows are complete or not in that order."""
    expected = report.aoa_count * report.mach_count
    rows = report.rows
    if len(rows) >= expected:
        return 0
    n = report.aoa_count
    aoas = [row.aoa for row in rows[:n]]
    if any(b <= a for a, b in zip(aoas, aoas[1:])):
        return 0
    for k, row in enumerate(rows):
        mach_index, aoa_index = divmod(k, n)
        if row.aoa != aoas[aoa_index] or row.mach != rows[k - aoa_index].mach:
            return 0
        if aoa_index == 0 and mach_index > 0 and not row.mach > rows[k - n].mach:
            return 0
    return expected - len(rows)


def cut_short(report: Report) -> str | None:
    """The note for a capture that stopped early, or None."""
    parts = []
    missing = rows_missing(report)
    if missing:
        parts.append("%d of %d rows missing" % (missing, report.aoa_count * report.mach_count))
    if report.cut_line:
        parts.append("the last line was cut mid-row")
    return "report cut short: " + "; ".join(parts) if parts else None


def grid_problems(report: Report) -> list[str]:
    """Every way in which the rows differ from the complete grid that the header announces."""
    note = cut_short(report)
    if rows_missing(report):
        # The rows stop early; the note says all that is missing.
        return [cast(str, note)]  # never None when rows are missing
    mismatch = header_mismatch(report)
    return grid_holes(report) + [text for text in (mismatch, note) if text]
