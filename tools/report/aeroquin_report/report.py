"""One capture report: five header lines, in a report with any optional item the header items
("Label = value", one a line), the column line, then one row per test point, one number per name
of the column line: the seven columns of every report, then the optional ones the capture asked
for."""

import dataclasses
import difflib
import math
import os
from dataclasses import dataclass, field
from typing import Any, NamedTuple, Optional, Union, cast

from .numtext import g6, parse_number, residue_free

COLUMNS = ("Mach Number", "AOA", "Dynamic Pressure", "Airspeed", "CL*S", "CD*S", "L/D")
COLUMN_LINE = "; ".join(COLUMNS)
# The optional eighth column: pitching moment about the centre of gravity / dynamic pressure (m^3,
# moment coefficient x reference area x reference chord), positive nose-up.
MOMENT = "CM*S*c"
COLUMNS_WITH_MOMENT = COLUMNS + (MOMENT,)
COLUMN_LINE_WITH_MOMENT = "; ".join(COLUMNS_WITH_MOMENT)
# With a sideslip axis: the sideslip (deg, positive with the air from the vessel's right) and the
# side force / dynamic pressure (m^2, positive to the right).
SIDESLIP = "Sideslip"
SIDE_FORCE = "CY*S"
# With a sideslip axis and the moments: rolling moment (positive right wing down) and yawing
# moment (positive nose right) about the centre of gravity / dynamic pressure, m^3.
ROLL = "Cl*S*b"
YAW = "Cn*S*b"
# With a control-surface axis: the level the step used, and the lift and drag / dynamic pressure
# of every aerodynamic force, the control surfaces' included (m^2). CY*S comes with that axis too,
# and so do Cl*S*b and Cn*S*b with the moments.
CONTROL = "Control Level"
LIFT_TOTAL = "CL*S total"
DRAG_TOTAL = "CD*S total"
# With a rate axis (and the moments), after every other column: the rates the step used, deg/s,
# aerospace sense: q positive nose up, p positive right wing down, r positive nose right. It
# brings CY*S, Cl*S*b and Cn*S*b as a sideslip or control axis does.
PITCH_RATE = "Pitch Rate"
ROLL_RATE = "Roll Rate"
YAW_RATE = "Yaw Rate"
RATES = (PITCH_RATE, ROLL_RATE, YAW_RATE)
ALL_COLUMNS = COLUMNS_WITH_MOMENT + (
    SIDESLIP, SIDE_FORCE, ROLL, YAW, CONTROL, LIFT_TOTAL, DRAG_TOTAL
) + RATES
# The Row field of each column.
FIELDS = dict(
    zip(
        ALL_COLUMNS,
        (
            "mach", "aoa", "dynamic_pressure", "airspeed", "cl_s", "cd_s", "lift_to_drag",
            "cm_s_c", "sideslip", "cy_s", "roll_s_b", "yaw_s_b", "control_level", "cl_total_s",
            "cd_total_s", "pitch_rate", "roll_rate", "yaw_rate",
        ),
    )
)
# The rate axis, which no single column holds: its points are every rate about the pitch axis,
# then about the roll axis, then about the yaw axis, each with the other two rates 0.
RATE = "Rate"
# The body axes of the rate axis in its sweep order, as texts name them.
BODY_AXES = ("pitch", "roll", "yaw")
PITCH, ROLL_AXIS, YAW_AXIS = range(3)
# The axes swept between the Mach number (outermost) and the AOA (innermost), outer first, and
# how texts name them.
MIDDLE_AXES = {CONTROL: "control level", SIDESLIP: "sideslip", RATE: "rate"}


class RatePoint(NamedTuple):
    """A point of the rate axis: its body axis (PITCH, ROLL_AXIS, YAW_AXIS) and the rate about
    it, deg/s. Ordered as the sweep runs."""

    axis: int
    rate: float


# A value of a middle axis: a level or sideslip, or a point of the rate axis.
AxisValue = Union[float, RatePoint]


def axis_text(value: AxisValue) -> str:
    """"0.5"; a rate point: "pitch 10"."""
    if isinstance(value, RatePoint):
        return "%s %s" % (BODY_AXES[value.axis], g6(value.rate))
    return g6(value)


def _column_lines() -> dict[str, tuple[str, ...]]:
    """Every column line that the module writes, and its columns."""
    lines = {}
    for moment in (False, True):
        for sideslip in (False, True):
            for control in (False, True):
                # Rates need the moments.
                for rate in (False, True) if moment else (False,):
                    lateral = sideslip or control or rate
                    names = (
                        COLUMNS
                        + ((MOMENT,) if moment else ())
                        + ((SIDESLIP,) if sideslip else ())
                        + ((SIDE_FORCE,) if lateral else ())
                        + ((ROLL, YAW) if moment and lateral else ())
                        + ((CONTROL, LIFT_TOTAL, DRAG_TOTAL) if control else ())
                        + (RATES if rate else ())
                    )
                    lines["; ".join(names)] = names
    # The same objects, which the row reader tells apart by identity.
    lines[COLUMN_LINE], lines[COLUMN_LINE_WITH_MOMENT] = COLUMNS, COLUMNS_WITH_MOMENT
    return lines


COLUMN_LINES = _column_lines()

_VERSION = "Aeroquin version: "
_CLASS = "Vessel Class: "
_TIME = "System time at simulation start: "
_AOA_COUNT = "Number of AOA points = "
_MACH_COUNT = "Number of Mach points = "
# The column line begins so; the header items before it do not.
_COLUMN_LINE_START = COLUMNS[0]

# The header items that this tool reads; a report may have others, kept as text.
ALTITUDE = "Altitude (m)"
# Read at the capture's start: the vessel's mass, its principal moments of inertia Ixx, Iyy, Izz
# about the body axes (x forward, y right, z down) and the acceleration of gravity there.
MASS = "Mass (kg)"
INERTIA = "Inertia roll, pitch, yaw (kg m^2)"
GRAVITY = "Gravity (m/s^2)"
SIDESLIP_COUNT = "Number of sideslip points"
SURFACE = "Control surface"
LEVEL_COUNT = "Number of control levels"
# Rate values per body axis: the rate axis has three times as many points.
RATE_COUNT = "Number of rate points"
# The level of each surface that the capture does not sweep, after its first step, and the
# magnitude of the engines' thrust then (N): what the moment and force-sum columns hold of them.
CONTROLS_HELD = "Controls held"
THRUST_HELD = "Thrust held (N)"
# The simulator's step in the capture's first frame, which limits the rotation damping.
TIME_STEP = "Time step (s)"
ITEM_SEPARATOR = " = "
# The items this tool reads, in the order the module writes them.
ITEMS = (
    ALTITUDE, MASS, INERTIA, GRAVITY, SIDESLIP_COUNT, SURFACE, LEVEL_COUNT, RATE_COUNT,
    CONTROLS_HELD, THRUST_HELD, TIME_STEP,
)
# The simulator's control surfaces, as the configuration and the header name them.
SURFACES = ("Elevator", "Rudder", "Aileron", "Flap", "ElevatorTrim", "RudderTrim")


class ReportError(Exception):
    """A report that cannot be read, or whose text is not that of a capture report."""


@dataclass(frozen=True)
class Row:
    """One measured test point. `line` is the 1-based line number in the file. The optional
    columns are None in a report without them."""

    line: int
    mach: float
    aoa: float  # deg
    dynamic_pressure: float  # Pa
    airspeed: float  # m/s
    cl_s: float  # m^2
    cd_s: float  # m^2
    lift_to_drag: float
    cm_s_c: Optional[float] = None  # m^3
    sideslip: Optional[float] = None  # deg
    cy_s: Optional[float] = None  # m^2
    roll_s_b: Optional[float] = None  # m^3, Cl*S*b
    yaw_s_b: Optional[float] = None  # m^3, Cn*S*b
    control_level: Optional[float] = None
    cl_total_s: Optional[float] = None  # m^2
    cd_total_s: Optional[float] = None  # m^2
    pitch_rate: Optional[float] = None  # deg/s
    roll_rate: Optional[float] = None  # deg/s
    yaw_rate: Optional[float] = None  # deg/s
    # With a rate axis: the body axis of the row's rate point (PITCH, ROLL_AXIS, YAW_AXIS); at
    # rate 0 the sweep's order tells it, not the row.
    rate_axis: Optional[int] = None

    def named(self) -> list[tuple[str, float]]:
        """(column, number) in the order of the report's columns."""
        pairs = ((name, getattr(self, attribute)) for name, attribute in FIELDS.items())
        return [(name, value) for name, value in pairs if value is not None]

    def values(self) -> tuple[float, ...]:
        """The row's numbers in the order of the report's columns."""
        # Spelt out, not from named(): the summary of a large report calls this per row.
        optional = (
            self.cm_s_c,
            self.sideslip,
            self.cy_s,
            self.roll_s_b,
            self.yaw_s_b,
            self.control_level,
            self.cl_total_s,
            self.cd_total_s,
            self.pitch_rate,
            self.roll_rate,
            self.yaw_rate,
        )
        return (
            self.mach,
            self.aoa,
            self.dynamic_pressure,
            self.airspeed,
            self.cl_s,
            self.cd_s,
            self.lift_to_drag,
        ) + tuple(value for value in optional if value is not None)

    def value(self, column: str) -> float:
        return cast(float, getattr(self, FIELDS[column]))

    @property
    def rates(self) -> tuple[float, float, float]:
        """Pitch, roll and yaw rate, deg/s, in the order of the body axes."""
        return cast(tuple[float, float, float], (self.pitch_rate, self.roll_rate, self.yaw_rate))

    @property
    def rate_point(self) -> RatePoint:
        axis = cast(int, self.rate_axis)
        return RatePoint(axis, self.rates[axis])

    def axis_value(self, axis: str) -> AxisValue:
        """The row's value of the middle axis `axis`."""
        return self.rate_point if axis == RATE else self.value(axis)

    def middle(self) -> tuple[AxisValue, ...]:
        """The values of the axes between Mach number and AOA that the report has."""
        result: tuple[AxisValue, ...] = tuple(
            value for value in (self.control_level, self.sideslip) if value is not None
        )
        return result + ((self.rate_point,) if self.rate_axis is not None else ())

    def key(self) -> tuple[AxisValue, ...]:
        """The grid point of the row: Mach number, the middle axes, AOA."""
        if self.sideslip is None and self.control_level is None and self.rate_axis is None:
            return (self.mach, self.aoa)
        return (self.mach,) + self.middle() + (self.aoa,)

    def where(self) -> str:
        """The grid point as text: "Mach 0.5, sideslip 2, pitch rate 10 deg/s, AOA 5"."""
        parts = ["Mach %s" % g6(self.mach)]
        for name, label in MIDDLE_AXES.items():
            if name == RATE:
                if self.rate_axis is not None:
                    point = self.rate_point
                    parts.append("%s rate %s deg/s" % (BODY_AXES[point.axis], g6(point.rate)))
                continue
            value = getattr(self, FIELDS[name])
            if value is not None:
                parts.append("%s %s" % (label, g6(value)))
        return ", ".join(parts + ["AOA %s" % g6(self.aoa)])

    def flags(self) -> list[str]:
        """Why the row is unfit for the extremes: non-finite columns, negative drag."""
        reasons = []
        if self.has_non_finite():
            bad = [name for name, value in self.named() if not math.isfinite(value)]
            reasons.append("non-finite " + ", ".join(bad))
        if self.cd_s < 0:
            reasons.append("negative drag (CD*S = %s)" % g6(self.cd_s))
        return reasons

    def has_non_finite(self) -> bool:
        return not all(map(math.isfinite, self.values()))


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
    # The names of the column line; every row has a number for each.
    columns: tuple[str, ...] = COLUMNS
    # The column line's number: 6, or more after header items.
    column_line: int = 6
    # Every header item as written, label: value, in the header's order.
    items: dict[str, str] = field(default_factory=dict)
    # The items read; None in a report without them (one without optional items, or older).
    altitude: Optional[float] = None  # m
    mass: Optional[float] = None  # kg
    inertia: Optional[tuple[float, float, float]] = None  # kg m^2: Ixx, Iyy, Izz (roll, pitch, yaw)
    gravity: Optional[float] = None  # m/s^2
    sideslip_count: Optional[int] = None
    control_surface: Optional[str] = None  # one of SURFACES
    level_count: Optional[int] = None
    controls_held: Optional[dict[str, float]] = None  # surface: level, the swept one left out
    thrust_held: Optional[float] = None  # N
    rate_count: Optional[int] = None  # per body axis
    time_step: Optional[float] = None  # s

    @property
    def has_moment(self) -> bool:
        return MOMENT in self.columns

    @property
    def has_sideslip(self) -> bool:
        return SIDESLIP in self.columns

    @property
    def has_side_moments(self) -> bool:
        """Cl*S*b and Cn*S*b against a sideslip axis."""
        return SIDESLIP in self.columns and ROLL in self.columns

    def moment_of_inertia(self, body: int) -> float | None:
        """kg m^2 about the body axis `body` (PITCH, ROLL_AXIS, YAW_AXIS); None without it."""
        if self.inertia is None:
            return None
        roll, pitch, yaw = self.inertia
        return (pitch, roll, yaw)[body]

    @property
    def has_rates(self) -> bool:
        return PITCH_RATE in self.columns

    def middle_axes(self) -> list[str]:
        """The axes between Mach number and AOA that the report has, outer first."""
        return [
            name for name in MIDDLE_AXES
            if name in self.columns or (name == RATE and self.has_rates)
        ]

    def header_count(self, axis: str) -> int | None:
        """The number of values of a middle axis that the header gives (of the rate axis: its
        points, three per rate value); None without it."""
        if axis == RATE:
            return None if self.rate_count is None else 3 * self.rate_count
        return self.level_count if axis == CONTROL else self.sideslip_count


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
    if columns is COLUMNS or columns is COLUMNS_WITH_MOMENT:
        # The first fields of a Row, in its order.
        return Row(number, *cast(list[Any], values))
    named = dict(zip(columns, values))
    axes = [(name, label) for name, label in MIDDLE_AXES.items() if name != RATE]
    for name, label in axes + [(name, name.lower()) for name in RATES]:
        if not math.isfinite(named.get(name, 0.0)):
            raise ReportError("%s:%d: the %s must be finite" % (path, number, label))
    return Row(number, **cast(dict[str, Any], {FIELDS[n]: value for n, value in named.items()}))


def _columns(path: str, number: int, line: str) -> tuple[str, ...]:
    """The columns of a column line that the module writes. Raises ReportError naming the known
    line nearest to it (first by the names it has of those given, then by its text), and any
    names that no report has."""
    if line in COLUMN_LINES:
        return COLUMN_LINES[line]
    names = [name.strip() for name in line.split(";")]
    nearest = max(
        COLUMN_LINES,
        key=lambda known: (
            len(set(names) & set(COLUMN_LINES[known])),
            difflib.SequenceMatcher(None, line, known).ratio(),
        ),
    )
    unknown = [name for name in names if name not in FIELDS]
    if unknown:
        raise ReportError(
            '%s:%d: unknown column%s %s; expected the column line "%s"'
            % (path, number, "s" if len(unknown) > 1 else "",
               ", ".join('"%s"' % n for n in unknown), nearest)
        )
    raise ReportError('%s:%d: expected the column line "%s"' % (path, number, nearest))


# Columns of one unit share a scale: a side force that is residue throughout (a symmetric vessel
# without sideslip) is residue against the lift, not against itself.
_UNITS = {
    "CL*S": "m^2", "CD*S": "m^2", "CY*S": "m^2", "CL*S total": "m^2", "CD*S total": "m^2",
    "CM*S*c": "m^3", "Cl*S*b": "m^3", "Cn*S*b": "m^3",
}


def _without_residue(rows: list[Row], columns: tuple[str, ...]) -> list[Row]:
    """The rows with each value that is rounding residue against the largest finite magnitude of
    its unit's columns (numtext.RESIDUE), and each -0, made 0: a level or sideslip meant to be 0
    is 0."""
    largest = {
        name: max((abs(v) for row in rows if math.isfinite(v := row.value(name))), default=0.0)
        for name in columns
    }
    scales = {
        FIELDS[name]: max(
            largest[other] for other in columns
            if _UNITS.get(other, other) == _UNITS.get(name, name)
        )
        for name in columns
    }
    result = []
    for row in rows:
        changes = {}
        for attribute, scale in scales.items():
            value = getattr(row, attribute)
            if value == 0 and math.copysign(1.0, value) > 0:
                continue
            if residue_free(value, scale) == 0:
                changes[attribute] = 0.0
        result.append(dataclasses.replace(row, **changes) if changes else row)
    return result


def _with_rate_axes(path: str, rows: list[Row]) -> list[Row]:
    """The rows with the body axis of their rate point: that of the one rate not 0; at rate 0
    the next of pitch, roll and yaw at the row's other values, in the order of the rows (the
    sweep sets 0 once per body axis). Raises ReportError for a row with two rates not 0."""
    zeros: dict[tuple[float, Optional[float], Optional[float], float], int] = {}
    result = []
    for row in rows:
        turning = [axis for axis, rate in enumerate(row.rates) if rate != 0]
        if len(turning) > 1:
            raise ReportError(
                "%s:%d: %s are not 0 together; a rate axis turns the vessel about one body axis"
                " at a time" % (path, row.line, " and ".join(RATES[axis] for axis in turning))
            )
        if turning:
            axis = turning[0]
        else:
            cell = (row.mach, row.control_level, row.sideslip, row.aoa)
            # A fourth 0 repeats the yaw axis's, which the grid's checks name.
            axis = min(zeros.get(cell, 0), YAW_AXIS)
            zeros[cell] = zeros.get(cell, 0) + 1
        result.append(dataclasses.replace(row, rate_axis=axis))
    return result


def _items(path: str, lines: list[str]) -> tuple[dict[str, tuple[int, str]], int]:
    """The header items after line 5, label: (line number, value text), and the column line's
    number: the first line that begins with "Mach Number" (or holds a "; ", a column line
    mistyped)."""
    items: dict[str, tuple[int, str]] = {}
    for number in range(6, len(lines) + 1):
        line = lines[number - 1]
        if line.startswith(_COLUMN_LINE_START) or ";" in line:
            return items, number
        label, separator, value = line.partition(ITEM_SEPARATOR)
        if not separator or not label.strip():
            raise ReportError(
                '%s:%d: "%s" is neither a header item "Label = value" nor the column line'
                ' (beginning "%s")' % (path, number, line, _COLUMN_LINE_START)
            )
        if label in items:
            raise ReportError(
                '%s:%d: the header item "%s" repeats line %d'
                % (path, number, label, items[label][0])
            )
        items[label] = (number, value)
    raise ReportError(
        '%s: ends after %d lines without the column line (beginning "%s")'
        % (path, len(lines), _COLUMN_LINE_START)
    )


def _item_number(path: str, number: int, label: str, text: str) -> float:
    value = parse_number(text)
    if value is None or not math.isfinite(value):
        raise ReportError(
            '%s:%d: "%s" is not a finite number after "%s%s"'
            % (path, number, text, label, ITEM_SEPARATOR)
        )
    return value


def _surface(path: str, number: int, text: str) -> str:
    if text not in SURFACES:
        raise ReportError(
            '%s:%d: "%s" is not a control surface; one of %s'
            % (path, number, text, ", ".join(SURFACES))
        )
    return text


def _levels(path: str, number: int, text: str) -> dict[str, float]:
    """"Elevator 0, Rudder 0.5": surface: level."""
    levels: dict[str, float] = {}
    for part in text.split(", "):
        name, _, level = part.partition(" ")
        value = parse_number(level)
        if name not in SURFACES or value is None or not math.isfinite(value) or name in levels:
            raise ReportError(
                '%s:%d: "%s" is not "Surface level" (one of each surface, levels finite) after'
                ' "%s%s"' % (path, number, part, CONTROLS_HELD, ITEM_SEPARATOR)
            )
        levels[name] = value
    return levels


def _read_items(report: Report, items: dict[str, tuple[int, str]]) -> None:
    """Sets the report's items from the header's; raises ReportError on a malformed one, or on
    an axis's count without the axis's column."""
    path = report.path
    report.items = {label: text for label, (_, text) in items.items()}
    axes = {SIDESLIP_COUNT: SIDESLIP, LEVEL_COUNT: CONTROL, RATE_COUNT: PITCH_RATE}
    for label, (number, text) in items.items():
        if label in axes:
            axis = axes[label]
            if axis not in report.columns:
                raise ReportError(
                    '%s:%d: "%s" without the column "%s"' % (path, number, label, axis)
                )
        if label == SURFACE and CONTROL not in report.columns:
            raise ReportError(
                '%s:%d: "%s" without the column "%s"' % (path, number, label, CONTROL)
            )
    numbers = (
        (ALTITUDE, "altitude"), (MASS, "mass"), (GRAVITY, "gravity"),
        (THRUST_HELD, "thrust_held"), (TIME_STEP, "time_step"),
    )
    for label, attribute in numbers:
        if label in items:
            number, text = items[label]
            setattr(report, attribute, _item_number(path, number, label, text))
    if INERTIA in items:
        number, text = items[INERTIA]
        moments = [parse_number(part) for part in text.split(" ")]
        if len(moments) != 3 or not all(m is not None and math.isfinite(m) for m in moments):
            raise ReportError(
                '%s:%d: "%s" is not three finite numbers separated by blanks after "%s%s"'
                % (path, number, text, INERTIA, ITEM_SEPARATOR)
            )
        report.inertia = cast(tuple[float, float, float], tuple(moments))
    counts = (
        (SIDESLIP_COUNT, "sideslip_count"), (LEVEL_COUNT, "level_count"),
        (RATE_COUNT, "rate_count"),
    )
    for label, attribute in counts:
        if label in items:
            number, text = items[label]
            prefix = label + ITEM_SEPARATOR
            setattr(report, attribute, _count(path, number, prefix + text, prefix))
    if SURFACE in items:
        report.control_surface = _surface(path, *items[SURFACE])
    if CONTROLS_HELD in items:
        report.controls_held = _levels(path, *items[CONTROLS_HELD])


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
    items, header = _items(path, lines)
    columns = _columns(path, header, lines[header - 1].strip())
    cut_line = len(lines) if cut and len(lines) > header else None
    if cut_line:
        lines.pop()
    rows = _without_residue([
        _row(path, number, line, columns)
        for number, line in enumerate(lines[header:], start=header + 1)
    ], columns)
    if PITCH_RATE in columns:
        rows = _with_rate_axes(path, rows)
    report = Report(
        path, version, vessel_class, start_time, aoa_count, mach_count, rows, cut_line, columns,
        header,
    )
    _read_items(report, items)
    return report


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


def middle_values(report: Report) -> list[list[AxisValue]]:
    """Per middle axis of the report, outer first: its sorted distinct values in the rows."""
    return [
        sorted({row.axis_value(name) for row in report.rows})  # type: ignore[type-var]
        for name in report.middle_axes()
    ]


def middle_counts(report: Report, from_rows: bool = False) -> list[tuple[int, bool]]:
    """Per middle axis of the report, outer first: its number of values and whether the header
    gives it; else (an older report, or `from_rows`) as many as the rows show, at least 1."""
    counts = []
    for name, values in zip(report.middle_axes(), middle_values(report)):
        given = None if from_rows else report.header_count(name)
        counts.append((max(1, len(values)), False) if given is None else (given, True))
    return counts


def grid_text(
    report: Report,
    machs: int,
    aoas: int,
    at_least: bool = False,
    as_written: bool = False,
    from_rows: bool = False,
) -> str:
    """"2 Mach x 3 sideslip x 4 AOA": the grid's counts, the middle axes' as middle_counts gives
    them, those from the rows as lower bounds with `at_least`; with `as_written` the control
    levels are marked so."""
    counts = zip(report.middle_axes(), middle_counts(report, from_rows))
    middle = [
        "%s%d %s%s"
        % (
            "at least " if at_least and not given else "",
            count,
            MIDDLE_AXES[name],
            " (as written)" if as_written and name == CONTROL else
            " (%d per body axis)" % (count // 3) if given and name == RATE else "",
        )
        for name, (count, given) in counts
    ]
    return " x ".join(["%d Mach" % machs] + middle + ["%d AOA" % aoas])


def middle_counts_unknown(report: Report) -> bool:
    """Whether the rows may lack values of a middle axis that the header does not count: they
    stop short of the grid within the first Mach number."""
    expected = report.aoa_count * report.mach_count * middle_size(report)
    one_mach = len({row.mach for row in report.rows}) <= 1
    guessed = any(not given for _, given in middle_counts(report))
    return guessed and one_mach and len(report.rows) < expected


def _nearest_0(value: AxisValue) -> tuple[float, float, int]:
    if isinstance(value, RatePoint):
        return (abs(value.rate), value.rate, value.axis)
    return (abs(value), value, 0)


def reference(report: Report) -> dict[str, AxisValue]:
    """Per middle axis of the report: its value nearest 0 (of two, the lower), where the figures
    of lift, drag and pitch are taken; of the rate axis, the pitch axis's, the first swept."""
    return {
        name: min(values, key=_nearest_0)
        for name, values in zip(report.middle_axes(), middle_values(report))
        if values
    }


def point_text(point: dict[str, AxisValue]) -> str:
    """The point as text: "control level 0, sideslip 0 deg, rate 0"."""
    parts = []
    for name, value in point.items():
        if isinstance(value, RatePoint):
            parts.append("rate 0" if value.rate == 0 else "%s rate %s deg/s"
                         % (BODY_AXES[value.axis], g6(value.rate)))
        else:
            parts.append("%s %s%s" % (MIDDLE_AXES[name], g6(value),
                                      " deg" if name == SIDESLIP else ""))
    return ", ".join(parts)


def rows_at(rows: list[Row], point: dict[str, AxisValue]) -> list[Row]:
    """The rows whose middle axes have the values of `point`, {axis: value}."""
    return [row for row in rows if all(row.axis_value(name) == v for name, v in point.items())]


def grid_holes(report: Report) -> list[str]:
    """Why the rows do not form one complete grid, each point once; empty if they do."""
    problems = []
    seen: dict[tuple[AxisValue, ...], int] = {}
    for row in report.rows:
        if row.key() in seen:
            problems.append(
                "line %d repeats %s of line %d" % (row.line, row.where(), seen[row.key()])
            )
        else:
            seen[row.key()] = row.line
    machs, aoas = grid_axes(report.rows)
    size = len(machs) * len(aoas) * math.prod(len(values) for values in middle_values(report))
    missing = size - len(seen)
    if missing:
        problems.append(
            "%d of the %d points of the %s grid are missing"
            % (missing, size, grid_text(report, len(machs), len(aoas), from_rows=True))
        )
    return problems


def middle_size(report: Report) -> int:
    """The points of the middle axes per Mach number and AOA (middle_counts)."""
    return math.prod(count for count, _ in middle_counts(report))


def header_mismatch(report: Report) -> str | None:
    """A note when the number of rows is not what the header announces."""
    expected = report.aoa_count * report.mach_count * middle_size(report)
    if len(report.rows) == expected:
        return None
    counts = list(zip(report.middle_axes(), middle_counts(report)))
    announced = "".join(
        " x %d %s" % (count, MIDDLE_AXES[name]) for name, (count, given) in counts if given
    )
    shown = " and ".join(
        "%d %s values" % (count, MIDDLE_AXES[name]) for name, (count, given) in counts
        if not given
    )
    if shown:
        return (
            "the header announces %d AOA x %d Mach%s and the rows show %s: %d points, the report"
            " holds %d rows"
            % (report.aoa_count, report.mach_count, announced, shown, expected, len(report.rows))
        )
    return "the header announces %d AOA x %d Mach%s = %d points, the report holds %d rows" % (
        report.aoa_count,
        report.mach_count,
        announced,
        expected,
        len(report.rows),
    )


def _missing(report: Report) -> tuple[int, int, bool]:
    """How many rows a capture cut short lacks, of how many: the points of the announced grid
    after its last row, when the rows are the start of the sweep (Mach outer and ascending, the
    middle axes' values ascending, the same ascending AOAs within). 0 when the rows are complete
    or not in that order. True when both counts are lower bounds (middle_counts_unknown)."""
    counts = [count for count, _ in middle_counts(report)]
    per_mach = report.aoa_count * math.prod(counts)
    expected = per_mach * report.mach_count
    rows = report.rows
    if len(rows) >= expected:
        return 0, expected, False
    n = report.aoa_count
    aoas = [row.aoa for row in rows[:n]]
    if any(b <= a for a, b in zip(aoas, aoas[1:])):
        return 0, expected, False
    # Per middle axis: the value at each index of the sweep, as the rows give it, ascending.
    seen: list[dict[int, AxisValue]] = [{} for _ in counts]
    for k, row in enumerate(rows):
        mach_index, within = divmod(k, per_mach)
        block, aoa_index = divmod(within, n)
        indices = []
        for count in reversed(counts):
            block, index = divmod(block, count)
            indices.append(index)
        if row.aoa != aoas[aoa_index] or row.mach != rows[k - within].mach:
            return 0, expected, False
        for values, index, value in zip(seen, reversed(indices), row.middle()):
            if values.setdefault(index, value) != value:
                return 0, expected, False
            before = values.get(index - 1)
            if index and (before is None or not before < value):  # type: ignore[operator]
                return 0, expected, False
        if within == 0 and mach_index > 0 and not row.mach > rows[k - per_mach].mach:
            return 0, expected, False
    return expected - len(rows), expected, middle_counts_unknown(report)


def rows_missing(report: Report) -> int:
    """How many rows a capture cut short lacks (see _missing)."""
    return _missing(report)[0]


def cut_short(report: Report) -> str | None:
    """The note for a capture that stopped early, or None."""
    parts = []
    missing, expected, lower_bounds = _missing(report)
    if missing:
        at_least = "at least " if lower_bounds else ""
        parts.append("%s%d of %s%d rows missing" % (at_least, missing, at_least, expected))
    if report.cut_line:
        parts.append("the last line was cut mid-row")
    return "report cut short: " + "; ".join(parts) if parts else None


@dataclass(frozen=True)
class LevelSpread:
    """The control levels as written, when they do not form a grid."""

    points: int  # the points of Mach number, sideslip, rate and AOA that the rows hold
    levels: list[tuple[float, int, int]]  # per level, ascending: level, its points, its rows


def level_spread(report: Report) -> LevelSpread | None:
    """With a control axis: the levels as written when they are not each at every point of Mach
    number, sideslip, rate and AOA that the rows hold, once; a vessel that moves a control itself
    runs points at another level than commanded, and their rows carry the level used. None when
    the levels form a grid, or the rows are the start of the sweep cut short."""
    if CONTROL not in report.columns or not report.rows or rows_missing(report):
        return None
    by_level: dict[float, list[tuple[AxisValue, ...]]] = {}
    for row in report.rows:
        by_level.setdefault(cast(float, row.control_level), []).append(without_level(row))
    points = len({point for keys in by_level.values() for point in keys})
    levels = [(level, len(set(keys)), len(keys)) for level, keys in sorted(by_level.items())]
    if all(seen == rows == points for _, seen, rows in levels):
        return None
    return LevelSpread(points, levels)


def without_level(row: Row) -> tuple[AxisValue, ...]:
    """The row's grid point but for the control level."""
    if row.control_level is None:
        return row.key()
    return (row.mach,) + row.middle()[1:] + (row.aoa,)


NO_LEVEL_GRID = "the control levels as written do not form a grid"


def level_counts(report: Report, spread: LevelSpread) -> str:
    """"points (Mach x AOA) per control level as written, of 8: -1: 8, 0: 7, 0.25: 1 ..."."""
    others = [MIDDLE_AXES[name] for name in report.middle_axes() if name != CONTROL]
    axes = " x ".join(["Mach"] + others + ["AOA"])
    counts = ", ".join(
        "%s: %d%s" % (g6(level), seen, " (%d rows)" % rows if rows != seen else "")
        for level, seen, rows in spread.levels
    )
    return "points (%s) per control level as written, of %d: %s" % (axes, spread.points, counts)


def level_spread_notes(report: Report, spread: LevelSpread) -> list[str]:
    """What the summary says of levels that do not form a grid."""
    return [
        NO_LEVEL_GRID + ": the vessel may have moved the control at some points (the capture's"
        " status then counts the points that ran at another level than commanded); each row"
        " counts at the level written in it",
        level_counts(report, spread),
    ]


def grid_problems(report: Report) -> list[str]:
    """Every way in which the rows differ from the complete grid that the header announces."""
    note = cut_short(report)
    spread = level_spread(report)
    if spread:
        # Holes and a row count off the header's follow from the levels; say why instead.
        return level_spread_notes(report, spread) + ([note] if note else [])
    if rows_missing(report):
        # The rows stop early; the note says all that is missing.
        return [cast(str, note)]  # never None when rows are missing
    mismatch = header_mismatch(report)
    return grid_holes(report) + [text for text in (mismatch, note) if text]
