"""The stability arithmetic of a report, per Mach number: stall, least drag, best L/D and the
zero-lift AOA; with the pitching moment the trim AOA and the neutral point; the slopes along the
sideslip, control and rate axes at 0, and the trim AOA at each control level and the range of
them."""

import math
from collections.abc import Callable, Sequence
from dataclasses import dataclass
from typing import Optional, cast

from .numtext import residue_free
from .report import (
    CONTROL,
    DRAG_TOTAL,
    LIFT_TOTAL,
    MOMENT,
    PITCH,
    RATE,
    ROLL_AXIS,
    YAW_AXIS,
    ROLL,
    SIDE_FORCE,
    SIDESLIP,
    YAW,
    AxisValue,
    Report,
    Row,
    reference,
    rows_at,
    without_level,
)


@dataclass(frozen=True)
class Crossing:
    """Where CM*S*c(AOA) is zero between two rows of a Mach number."""

    aoa: float  # deg
    going_down: bool  # positive below, negative above: a statically stable trim
    # -d(CM*S*c)/d(CL*S) between the rows on either side, m: the neutral point's distance behind
    # the centre of gravity. None when CL*S is the same on both rows.
    neutral_point: Optional[float]


@dataclass
class MachSummary:
    mach: float
    rows: int
    flagged: int
    max_cl_s: Optional[float] = None  # m^2
    stall_aoa: Optional[float] = None  # deg; None also when the peak lies at an end of the range
    min_cd_s: Optional[float] = None  # m^2
    min_cd_aoa: Optional[float] = None  # deg
    best_lift_to_drag: Optional[float] = None
    best_lift_to_drag_aoa: Optional[float] = None  # deg
    zero_lift_aoa: Optional[float] = None  # deg
    # With CM*S*c: the first crossing going down, else the first going up (an unstable trim).
    trim: Optional[Crossing] = None
    trims_going_down: int = 0
    moment_all_zero: bool = False  # CM*S*c is exactly 0 on every sound row
    aoa_span: Optional[tuple[float, float]] = None  # deg; the lowest and highest of sound rows


def _zero_between(a1: float, v1: float, a2: float, v2: float) -> float:
    """The AOA between a1 and a2 where the line through (a1, v1), (a2, v2) is zero."""
    aoa = a1 + (0 - v1) * (a2 - a1) / (v2 - v1)
    # A rounding residue of the capture (1e-13 at a grid AOA) is no offset.
    for end in (a1, a2):
        if abs(aoa - end) <= 1e-9 * (a2 - a1):
            aoa = end
    return residue_free(aoa, max(abs(a1), abs(a2)))


def zero_lift_aoa(points: Sequence[tuple[float, float]]) -> float | None:
    """AOA where the piecewise linear CL*S(AOA) through `points` (aoa, cl_s), sorted by AOA,
    is zero. Of several zeros, those on rising lift come first, then the one nearest AOA 0.
    None when the lift does not reach zero within the points."""
    zeros: set[float] = set()
    rising: set[float] = set()
    if len(points) == 1 and points[0][1] == 0:
        zeros.add(points[0][0])
    for (a1, c1), (a2, c2) in zip(points, points[1:]):
        if c1 == 0 and c2 == 0:
            zeros.update((a1, a2))
        elif min(c1, c2) <= 0 <= max(c1, c2):
            aoa = _zero_between(a1, c1, a2, c2)
            zeros.add(aoa)
            if c2 > c1:
                rising.add(aoa)
    candidates = rising or zeros
    if not candidates:
        return None
    return min(candidates, key=lambda aoa: (abs(aoa), aoa))


Point = tuple[float, float, float]  # AOA (deg), CM*S*c (m^3), CL*S (m^2)


def _neutral_point(low: Point, high: Point) -> float | None:
    """-d(CM*S*c)/d(CL*S) between two rows; None when their CL*S is the same."""
    lift = high[2] - low[2]
    return None if lift == 0 else -(high[1] - low[1]) / lift


def moment_crossings(points: Sequence[Point]) -> list[Crossing]:
    """The zeros of the piecewise linear CM*S*c(AOA) through `points`, sorted by AOA, in AOA
    order. A change of sign between two rows is a crossing between them. A row of exactly 0 (the
    first of a run of them) is a crossing when the nearest rows on either side that are not 0
    differ in sign, or when there is such a row on one side only (at an end of the range)."""
    result = []
    for low, high in zip(points, points[1:]):
        if low[1] * high[1] < 0:
            aoa = _zero_between(low[0], low[1], high[0], high[1])
            result.append(Crossing(aoa, low[1] > 0, _neutral_point(low, high)))
    i = 0
    while i < len(points):
        if points[i][1] != 0:
            i += 1
            continue
        j = i  # the last row of the run of zeros
        while j + 1 < len(points) and points[j + 1][1] == 0:
            j += 1
        below = points[i - 1] if i > 0 else None
        above = points[j + 1] if j + 1 < len(points) else None
        if below and above:
            if (below[1] > 0) != (above[1] > 0):
                result.append(Crossing(points[i][0], below[1] > 0, _neutral_point(below, above)))
        elif below:
            result.append(Crossing(points[i][0], below[1] > 0, _neutral_point(below, points[j])))
        elif above:
            result.append(Crossing(points[i][0], above[1] < 0, _neutral_point(points[i], above)))
        i = j + 1
    return sorted(result, key=lambda crossing: crossing.aoa)


def _best(rows: list[Row], value: Callable[[Row], float], largest: bool) -> Row:
    """The row with the largest (or smallest) value; the lowest AOA wins a tie."""
    pick = max if largest else min
    return pick(rows, key=lambda row: (value(row), -row.aoa if largest else row.aoa))


def stall(rows: list[Row], lift: str = "CL*S") -> Row | None:
    """The row of the largest lift (the column `lift`) when lift rises to it and falls past it
    within `rows` (sorted by AOA); None when the largest lies at an end of the AOA range, so no
    stall shows in it, or when there is no lift at all."""
    peak = _best(rows, lambda row: row.value(lift), largest=True)
    index = rows.index(peak)
    before, after = rows[:index], rows[index + 1:]
    most = peak.value(lift)
    if most > 0 and before and any(row.value(lift) < most for row in after):
        return peak
    return None


def summarize(report: Report) -> list[MachSummary]:
    """One MachSummary per Mach number, ascending, of the rows at reference(). Flagged rows are
    counted, not used."""
    return mach_summaries(rows_at(report.rows, reference(report)), report.has_moment)


def mach_summaries(all_rows: list[Row], moment: bool) -> list[MachSummary]:
    """One MachSummary per Mach number of the rows, ascending."""
    by_mach: dict[float, list[Row]] = {}
    for row in all_rows:
        by_mach.setdefault(row.mach, []).append(row)
    result = []
    for mach in sorted(by_mach):
        rows = by_mach[mach]
        sound = sorted((row for row in rows if not row.flags()), key=lambda row: row.aoa)
        entry = MachSummary(mach, len(rows), len(rows) - len(sound))
        if sound:
            entry.max_cl_s = max(row.cl_s for row in sound)
            peak = stall(sound)
            entry.stall_aoa = peak.aoa if peak else None
            least = _best(sound, lambda row: row.cd_s, largest=False)
            entry.min_cd_s, entry.min_cd_aoa = least.cd_s, least.aoa
            # Below zero lift L/D is negative: the best is the largest on the lifting side.
            lifting = [row for row in sound if row.lift_to_drag > 0]
            if lifting:
                best = _best(lifting, lambda row: row.lift_to_drag, largest=True)
                entry.best_lift_to_drag, entry.best_lift_to_drag_aoa = best.lift_to_drag, best.aoa
            entry.zero_lift_aoa = zero_lift_aoa([(row.aoa, row.cl_s) for row in sound])
            entry.aoa_span = (sound[0].aoa, sound[-1].aoa)
        if sound and moment:
            crossings = moment_crossings(
                [(row.aoa, cast(float, row.cm_s_c), row.cl_s) for row in sound]
            )
            down = [crossing for crossing in crossings if crossing.going_down]
            entry.trims_going_down = len(down)
            entry.trim = (down or crossings)[0] if crossings else None
            entry.moment_all_zero = all(row.cm_s_c == 0 for row in sound)
        result.append(entry)
    return result


@dataclass(frozen=True)
class AxisSlopes:
    """At one Mach number: d(column)/d(axis) at the axis's 0 and at the AOA `aoa`, per column;
    None where the rows do not give it."""

    mach: float
    aoa: Optional[float]  # deg; None without sound rows at the Mach number
    slopes: dict[str, Optional[float]]


def slope_at_zero(points: Sequence[tuple[float, float]]) -> float | None:
    """d(value)/d(x) at x = 0 from (x, value) points sorted by x: the chord between the nearest
    points either side of 0, whether 0 is a point or not; with a point at 0 and points on one
    side only, the chord from it to the nearest on that side. None with points on one side only
    and none at 0, or a point at 0 alone."""
    below = [point for point in points if point[0] < 0]
    above = [point for point in points if point[0] > 0]
    zero = [point for point in points if point[0] == 0]
    low = below[-1] if below else (zero[0] if zero else None)
    high = above[0] if above else (zero[0] if zero else None)
    if low is None or high is None or low[0] == high[0]:
        return None
    # + 0.0: a moment that is 0 on both rows has the slope 0, not -0.
    return (high[1] - low[1]) / (high[0] - low[0]) + 0.0


def sideslip_derivatives(report: Report, entries: list[MachSummary]) -> list[AxisSlopes]:
    """Per entry of summarize(): d/d(sideslip) per degree of CY*S (m^2/deg) and, with the moments,
    of Cn*S*b and Cl*S*b (m^3/deg); see axis_slopes."""
    columns = [SIDE_FORCE] + ([YAW, ROLL] if report.has_side_moments else [])
    return axis_slopes(report, entries, SIDESLIP, columns)


ELEVATORS = ("Elevator", "ElevatorTrim")
RUDDERS = ("Rudder", "RudderTrim")
AILERON = "Aileron"
FLAP = "Flap"


def power_columns(report: Report) -> list[str]:
    """The columns whose change per unit level says what the report's control surface does:
    a rudder's side force, rolling and yawing moment; an aileron's rolling and yawing moment; a
    flap's lift, drag and pitching moment; an elevator's (and a surface not named) lift,
    pitching, rolling and yawing moment. Without the moments, the forces only."""
    surface, moment = report.control_surface, report.has_moment
    if surface in RUDDERS:
        return [SIDE_FORCE] + ([ROLL, YAW] if moment else [])
    if surface == AILERON:
        return [ROLL, YAW] if moment else [LIFT_TOTAL]
    if surface == FLAP:
        return [LIFT_TOTAL, DRAG_TOTAL] + ([MOMENT] if moment else [])
    return [LIFT_TOTAL] + ([MOMENT, ROLL, YAW] if moment else [])


def control_power(report: Report, entries: list[MachSummary]) -> list[AxisSlopes]:
    """Per entry of summarize(): d/d(level) per unit level of the power_columns (m^2 of a force,
    m^3 of a moment); see axis_slopes."""
    return axis_slopes(report, entries, CONTROL, power_columns(report))


def changes_no_force(report: Report) -> bool:
    """Whether the control changed nothing: over two levels or more, every point of Mach
    number, sideslip, rate and AOA has the same numbers at every level (a vessel without such a
    surface, or one that the levels do not move)."""
    index = report.columns.index(CONTROL)
    levels = set()
    seen: dict[tuple[AxisValue, ...], tuple[float, ...]] = {}
    for row in report.rows:
        levels.add(row.control_level)
        # parse_number gives every NaN as the one math.nan, which a tuple finds equal to itself.
        rest = tuple(v for i, v in enumerate(row.values()) if i != index)
        if seen.setdefault(without_level(row), rest) != rest:
            return False
    return len(levels) > 1


def at_aoa(rows: list[Row], aoa: float, column: str) -> float | None:
    """The column at `aoa`, linear between the rows around it (rows sorted by AOA); None
    beyond them."""
    below = [row for row in rows if row.aoa <= aoa]
    above = [row for row in rows if row.aoa >= aoa]
    if not below or not above:
        return None
    low, high = below[-1], above[0]
    if low.aoa == high.aoa:
        return low.value(column)
    weight = (aoa - low.aoa) / (high.aoa - low.aoa)
    return low.value(column) + weight * (high.value(column) - low.value(column))


def sideslip_trims(
    report: Report, powers: list[AxisSlopes]
) -> dict[float, list[tuple[float, Optional[tuple[float, bool]]]]]:
    """Per Mach number of `powers`, at its AOA (Cn*S*b interpolated linearly between the AOAs
    around it): per control level as written, ascending, the sideslip (deg) at which Cn*S*b is 0
    and whether that trim is stable (Cn*S*b rising with the sideslip, the nose turning into the
    air); of several, the one nearest sideslip 0 (of two, the lower); None without a zero within
    the sideslips. Of sound rows only, at the rate nearest 0."""
    groups: dict[tuple[float, float, float], list[Row]] = {}
    rate = {name: v for name, v in reference(report).items() if name == RATE}
    for row in rows_at(report.rows, rate):
        if not row.flags():
            groups.setdefault((row.mach, row.value(CONTROL), row.value(SIDESLIP)), []).append(row)
    result: dict[float, list[tuple[float, Optional[tuple[float, bool]]]]] = {}
    for power in powers:
        if power.aoa is None:
            continue
        levels: dict[float, list[tuple[float, float]]] = {}
        for (mach, level, sideslip), rows in sorted(groups.items()):
            yaw = at_aoa(sorted(rows, key=lambda row: row.aoa), power.aoa, YAW)
            if mach == power.mach and yaw is not None:
                levels.setdefault(level, []).append((sideslip, yaw))
        trims = []
        for level, points in sorted(levels.items()):
            # Negated, a stable zero is one going down, as a stable pitch trim's.
            crossings = moment_crossings([(sideslip, -yaw, 0.0) for sideslip, yaw in points])
            nearest = min(crossings, key=lambda c: (abs(c.aoa), c.aoa), default=None)
            trims.append((level, (nearest.aoa, nearest.going_down) if nearest else None))
        result[power.mach] = trims
    return result


def axis_slopes(
    report: Report, entries: list[MachSummary], axis: str, columns: list[str],
    body: Optional[int] = None,
) -> list[AxisSlopes]:
    """Per entry of summarize(): the slopes of the columns along the middle axis `axis` at its 0
    (slope_at_zero), at the other middle axes' reference, at the entry's trim AOA, stable or not,
    or without a trim at the AOA nearest 0 (of two, the lower). Between two AOAs of the grid they
    are interpolated linearly in AOA from those at the two. Along the rate axis, per deg/s of the
    rate about the body axis `body`. Of sound rows only."""
    others = {name: v for name, v in reference(report).items() if name != axis}
    by_mach: dict[float, list[Row]] = {}
    for row in rows_at(report.rows, others):
        if not row.flags() and (body is None or row.rate_axis == body):
            by_mach.setdefault(row.mach, []).append(row)

    def along(row: Row) -> float:
        return row.value(axis) if body is None else row.rates[body]

    result = []
    for entry in entries:
        at_mach = by_mach.get(entry.mach, [])
        aoas = sorted({row.aoa for row in at_mach})
        if not aoas:
            result.append(AxisSlopes(entry.mach, None, dict.fromkeys(columns)))
            continue
        aoa = entry.trim.aoa if entry.trim else min(aoas, key=lambda a: (abs(a), a))
        # The trim lies within the AOAs of the rows at the axis's reference; its other values
        # may lack sound rows there.
        low = max((a for a in aoas if a <= aoa), default=None)
        high = min((a for a in aoas if a >= aoa), default=None)

        def slope(at: float | None, column: str) -> float | None:
            if at is None:
                return None
            points = sorted((along(row), row.value(column)) for row in at_mach if row.aoa == at)
            return slope_at_zero(points)

        slopes: dict[str, Optional[float]] = {}
        for column in columns:
            s_low, s_high = slope(low, column), slope(high, column)
            if s_low is None or s_high is None:
                slopes[column] = None
            elif low == high:
                slopes[column] = s_low
            else:
                weight = (aoa - cast(float, low)) / (cast(float, high) - cast(float, low))
                slopes[column] = residue_free(
                    s_low + weight * (s_high - s_low), max(abs(s_low), abs(s_high))
                )
        result.append(AxisSlopes(entry.mach, aoa, slopes))
    return result


# Per body axis of the rate axis: the moments whose slopes along its rate are the damping
# derivatives, its own first, then the cross term.
DAMPING_COLUMNS = {PITCH: [MOMENT], ROLL_AXIS: [ROLL, YAW], YAW_AXIS: [YAW, ROLL]}
PER_RADIAN = 180 / math.pi  # a slope per degree (per deg/s) times this is per radian (per rad/s)
# The damping is at the step's limit when it comes this close to I/dt.
LIMIT_TOLERANCE = 0.01


@dataclass(frozen=True)
class Damping:
    """At one Mach number: the slopes of the moments along the rate axis, per rad/s (m^3 s), at
    the AOA `aoa`, and the body axes whose damping is the simulator's limit I/dt."""

    mach: float
    aoa: Optional[float]  # deg; None without sound rows at the Mach number
    dynamic_pressure: Optional[float]  # Pa
    airspeed: Optional[float]  # m/s
    slopes: dict[tuple[int, str], Optional[float]]  # (body axis, column): slope
    limited: list[int]  # body axes, in the order of BODY_AXES


def damping_derivatives(report: Report, entries: list[MachSummary]) -> list[Damping]:
    """Per entry of summarize(): d(CM*S*c)/dq, d(Cl*S*b)/dp, d(Cn*S*b)/dp, d(Cn*S*b)/dr and
    d(Cl*S*b)/dr per rad/s, taken as the sideslip slopes are (axis_slopes), and the body axes
    at the limit: the simulator damps with at most I/dt (kg m^2/s, what stops the rotation in
    one step), so where |slope| q comes within LIMIT_TOLERANCE of it, the slope is the step's.
    Without the header's inertia and step, no axis is named."""
    per_body = {
        body: axis_slopes(report, entries, RATE, columns, body)
        for body, columns in DAMPING_COLUMNS.items()
    }
    air: dict[float, tuple[float, float]] = {}
    for row in report.rows:
        if not row.flags():
            air.setdefault(row.mach, (row.dynamic_pressure, row.airspeed))
    result = []
    for index, entry in enumerate(entries):
        slopes: dict[tuple[int, str], Optional[float]] = {}
        limited = []
        q, speed = air.get(entry.mach, (None, None))
        for body, columns in DAMPING_COLUMNS.items():
            found = per_body[body][index].slopes
            for column in columns:
                slope = found[column]
                slopes[(body, column)] = None if slope is None else slope * PER_RADIAN
            own = slopes[(body, columns[0])]
            inertia = report.moment_of_inertia(body)
            if own is None or q is None or inertia is None or not report.time_step:
                continue
            if abs(own) * q >= (1 - LIMIT_TOLERANCE) * inertia / report.time_step:
                limited.append(body)
        aoa = per_body[PITCH][index].aoa
        result.append(Damping(entry.mach, aoa, q, speed, slopes, sorted(limited)))
    return result


def aoa_slopes(report: Report, entries: list[MachSummary], columns: list[str]) -> list[AxisSlopes]:
    """Per entry of summarize(): d(column)/d(AOA) per degree at the entry's trim AOA or, without
    a trim, at the AOA nearest 0 (the AOA of axis_slopes), of the rows at reference(): the chord
    between the rows nearest that AOA on either side (slope_at_zero), so at a trim the slopes of
    its neutral point. Of sound rows only."""
    by_mach: dict[float, list[Row]] = {}
    for row in rows_at(report.rows, reference(report)):
        if not row.flags():
            by_mach.setdefault(row.mach, []).append(row)
    result = []
    for entry in entries:
        rows = sorted(by_mach.get(entry.mach, []), key=lambda row: row.aoa)
        if not rows:
            result.append(AxisSlopes(entry.mach, None, dict.fromkeys(columns)))
            continue
        aoa = entry.trim.aoa if entry.trim else min(
            (row.aoa for row in rows), key=lambda a: (abs(a), a)
        )
        slopes: dict[str, Optional[float]] = {
            column: slope_at_zero([(row.aoa - aoa, row.value(column)) for row in rows])
            for column in columns
        }
        result.append(AxisSlopes(entry.mach, aoa, slopes))
    return result


def level_trims(report: Report) -> dict[float, list[tuple[float, MachSummary]]]:
    """Per Mach number: (level, MachSummary of the rows at that level as written) by level,
    ascending, at the sideslip nearest 0."""
    others = {name: v for name, v in reference(report).items() if name != CONTROL}
    by_level: dict[float, list[Row]] = {}
    for row in rows_at(report.rows, others):
        by_level.setdefault(row.value(CONTROL), []).append(row)
    result: dict[float, list[tuple[float, MachSummary]]] = {}
    for level in sorted(by_level):
        for entry in mach_summaries(by_level[level], report.has_moment):
            result.setdefault(entry.mach, []).append((level, entry))
    return result


def trim_range(levels: list[tuple[float, MachSummary]]) -> list[tuple[float, float]]:
    """The AOAs that the levels trim at, statically stable: pieces (lowest, highest), ascending.
    Between two neighbouring levels that both trim, every AOA between their trims is a trim at
    a level between them. A level parts the pieces when its rows span the AOAs of the Mach
    number and it does not trim; one with rows at part of them only (a level that a vessel moved
    to at some points) neither parts nor widens them unless it trims."""
    spans = [entry.aoa_span for _, entry in levels if entry.aoa_span]
    if not spans:
        return []
    lowest, highest = min(span[0] for span in spans), max(span[1] for span in spans)
    pieces: list[tuple[float, float]] = []
    piece: Optional[tuple[float, float]] = None
    for _, entry in levels:
        trim = entry.trim
        if trim and trim.going_down:
            low, high = piece or (trim.aoa, trim.aoa)
            piece = (min(low, trim.aoa), max(high, trim.aoa))
        elif entry.aoa_span and entry.aoa_span[0] <= lowest and entry.aoa_span[1] >= highest:
            if piece:
                pieces.append(piece)
            piece = None
    if piece:
        pieces.append(piece)
    merged: list[tuple[float, float]] = []
    for low, high in sorted(pieces):
        if merged and low <= merged[-1][1]:
            merged[-1] = (merged[-1][0], max(merged[-1][1], high))
        else:
            merged.append((low, high))
    return merged
