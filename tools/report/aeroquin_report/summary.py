"""Per Mach number: stall, least drag, best L/D and zero-lift AOA of a report; with the pitching
moment also the trim AOA and the neutral point; with a sideslip axis, of the rows at the sideslip
nearest 0, and the sideslip derivatives with their verdicts; with a control axis, of the rows at
the level nearest 0, the control power per unit level, and the trim AOA at each level and the
range of them."""

from collections.abc import Callable, Sequence
from dataclasses import dataclass
from typing import Optional, cast

from . import texttable
from .numtext import g6
from .report import (
    CONTROL,
    LIFT_TOTAL,
    MIDDLE_AXES,
    MOMENT,
    ROLL,
    SIDE_FORCE,
    SIDESLIP,
    YAW,
    Report,
    Row,
    grid_problems,
    grid_text,
    level_spread,
    middle_counts_unknown,
    middle_size,
    reference,
    rows_at,
)

# Flagged rows listed one by one; the rest only counted.
MAX_LISTED_FLAGS = 20


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
    return aoa


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


def stall(rows: list[Row]) -> Row | None:
    """The row of the largest CL*S when lift rises to it and falls past it within `rows` (sorted
    by AOA); None when the largest lies at an end of the AOA range, so no stall shows in it, or
    when there is no lift at all."""
    peak = _best(rows, lambda row: row.cl_s, largest=True)
    index = rows.index(peak)
    before, after = rows[:index], rows[index + 1:]
    if peak.cl_s > 0 and before and any(row.cl_s < peak.cl_s for row in after):
        return peak
    return None


def summarize(report: Report) -> list[MachSummary]:
    """One MachSummary per Mach number, ascending, of the rows at reference(). Flagged rows are
    counted, not used."""
    return _mach_summaries(rows_at(report.rows, reference(report)), report.has_moment)


def _mach_summaries(all_rows: list[Row], moment: bool) -> list[MachSummary]:
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


def control_power(report: Report, entries: list[MachSummary]) -> list[AxisSlopes]:
    """Per entry of summarize(): d/d(level) per unit level of CL*S total (m^2) and, with the
    moments, of CM*S*c, Cl*S*b and Cn*S*b (m^3); see axis_slopes."""
    moments = [MOMENT, ROLL, YAW] if report.has_moment else []
    return axis_slopes(report, entries, CONTROL, [LIFT_TOTAL] + moments)


def axis_slopes(
    report: Report, entries: list[MachSummary], axis: str, columns: list[str]
) -> list[AxisSlopes]:
    """Per entry of summarize(): the slopes of the columns along the middle axis `axis` at its 0
    (slope_at_zero), at the other middle axes' reference, at the entry's trim AOA, stable or not,
    or without a trim at the AOA nearest 0 (of two, the lower). Between two AOAs of the grid they
    are interpolated linearly in AOA from those at the two. Of sound rows only."""
    others = {name: v for name, v in reference(report).items() if name != axis}
    by_mach: dict[float, list[Row]] = {}
    for row in rows_at(report.rows, others):
        if not row.flags():
            by_mach.setdefault(row.mach, []).append(row)
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
            points = sorted((row.value(axis), row.value(column)) for row in at_mach
                            if row.aoa == at)
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
                slopes[column] = s_low + weight * (s_high - s_low)
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
        for entry in _mach_summaries(by_level[level], report.has_moment):
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


NO_STALL = "no stall within the range"
NO_TRIM = "no trim within the range"
UNSTABLE = "unstable at %s"
ZERO_MOMENT = "CM*S*c 0 throughout"


DIRECTIONALLY_STABLE = "directionally stable"
DIRECTIONALLY_UNSTABLE = "directionally unstable"
DIRECTIONALLY_NEUTRAL = "directionally neutral"
ROLLS_AWAY = "rolls away from the sideslip"
ROLLS_INTO = "rolls into the sideslip"
NO_DIHEDRAL = "no dihedral effect"


def _verdict(value: float | None, texts: tuple[str, str, str]) -> str:
    """texts[0] for a positive value, [1] for a negative one, [2] for 0 (as printed: 6
    significant digits print any other value as not 0)."""
    if value is None:
        return "-"
    return texts[0] if value > 0 else texts[1] if value < 0 else texts[2]


def _cell(value: float | None) -> str:
    return "-" if value is None else g6(value)


def _stall_cell(entry: MachSummary) -> str:
    if entry.max_cl_s is None:
        return "-"
    return NO_STALL if entry.stall_aoa is None else g6(entry.stall_aoa)


def _trim_cells(entry: MachSummary) -> list[str]:
    if entry.max_cl_s is None:
        return ["-", "-"]
    if entry.moment_all_zero:
        return [ZERO_MOMENT, "-"]
    if entry.trim is None:
        return [NO_TRIM, "-"]
    trim = entry.trim
    aoa = g6(trim.aoa) if trim.going_down else UNSTABLE % g6(trim.aoa)
    return [aoa, _cell(trim.neutral_point)]


def summary_lines(report: Report) -> list[str]:
    """The text of `aeroquin-report summary`."""
    unknown = middle_counts_unknown(report)
    lines = [
        "Report: %s" % report.path,
        "Vessel class: %s" % report.vessel_class,
        "Capture started: %s (UTC)" % report.start_time,
    ]
    if level_spread(report):
        # The levels as written make no grid of a number of points.
        lines.append(
            "Grid: %s, %d rows"
            % (grid_text(report, report.mach_count, report.aoa_count, as_written=True),
               len(report.rows))
        )
    else:
        lines.append(
            "Grid: %s = %s%d points, %d rows"
            % (
                grid_text(report, report.mach_count, report.aoa_count, unknown),
                "at least " if unknown else "",
                report.mach_count * report.aoa_count * middle_size(report),
                len(report.rows),
            )
        )
    lines += ["Note: %s" % problem for problem in grid_problems(report)]

    flagged = [row for row in report.rows if row.flags()]
    non_finite = sum(1 for row in flagged if row.has_non_finite())
    negative = sum(1 for row in flagged if row.cd_s < 0)
    if flagged:
        lines.append(
            "Flagged rows: %d (non-finite values: %d, negative drag: %d), left out of the"
            " figures below:" % (len(flagged), non_finite, negative)
        )
        for row in flagged[:MAX_LISTED_FLAGS]:
            lines.append(
                "  line %d: %s: %s" % (row.line, row.where(), "; ".join(row.flags()))
            )
        if len(flagged) > MAX_LISTED_FLAGS:
            lines.append("  ... and %d more" % (len(flagged) - MAX_LISTED_FLAGS))
    else:
        lines.append("Flagged rows: 0")

    if not report.rows:
        lines.append("No rows.")
        return lines
    headers = [
        "Mach",
        "max CL*S [m^2]",
        "stall AOA [deg]",
        "min CD*S [m^2]",
        "at AOA [deg]",
        "best L/D",
        "at AOA [deg]",
        "zero-lift AOA [deg]",
    ]
    if report.has_moment:
        headers += ["trim AOA [deg]", "neutral point behind CG [m]"]
    headers += ["rows", "flagged"]
    entries = summarize(report)
    table = [
        [
            g6(entry.mach),
            _cell(entry.max_cl_s),
            _stall_cell(entry),
            _cell(entry.min_cd_s),
            _cell(entry.min_cd_aoa),
            _cell(entry.best_lift_to_drag),
            _cell(entry.best_lift_to_drag_aoa),
            _cell(entry.zero_lift_aoa),
        ]
        + (_trim_cells(entry) if report.has_moment else [])
        + [str(entry.rows), str(entry.flagged)]
        for entry in entries
    ]
    lines.append("")
    if report.middle_axes():
        lines.append("At %s:" % _point_text(reference(report)))
    lines += texttable.render(headers, table)
    several = [entry for entry in entries if entry.trims_going_down > 1]
    if several:
        lines.append("")
        lines += [
            "Note: at Mach %s CM*S*c crosses zero going down %d times; the trim given is the"
            " first, at the lowest AOA" % (g6(entry.mach), entry.trims_going_down)
            for entry in several
        ]
    if report.has_sideslip:
        lines += _sideslip_lines(report, entries)
    if CONTROL in report.columns:
        lines += _control_lines(report, entries)
    return lines


def _point_text(point: dict[str, float]) -> str:
    """The point as text: "control level 0, sideslip 0 deg"."""
    return ", ".join(
        "%s %s%s" % (MIDDLE_AXES[name], g6(value), " deg" if name == SIDESLIP else "")
        for name, value in point.items()
    )


NO_TRIM_AT_LEVELS = "cannot trim within the levels"


def _range_text(pieces: list[tuple[float, float]]) -> str:
    if not pieces:
        return NO_TRIM_AT_LEVELS
    return ", ".join(
        g6(low) if low == high else "%s to %s" % (g6(low), g6(high)) for low, high in pieces
    )


def _control_lines(report: Report, entries: list[MachSummary]) -> list[str]:
    """The control power per Mach number, with the trim range; the trim AOA per level."""
    point = reference(report)
    moment = report.has_moment
    headers = ["Mach", "at AOA [deg]", "dCL*S total [m^2]"]
    if moment:
        headers += ["dCM*S*c [m^3]", "dCl*S*b [m^3]", "dCn*S*b [m^3]", "trim range [deg]"]
    trims = level_trims(report) if moment else {}
    table = []
    for power in control_power(report, entries):
        cells = [g6(power.mach), _cell(power.aoa), _cell(power.slopes[LIFT_TOTAL])]
        if moment:
            cells += [_cell(power.slopes[name]) for name in (MOMENT, ROLL, YAW)]
            levels = trims.get(power.mach, [])
            sound = any(entry.max_cl_s is not None for _, entry in levels)
            cells.append(_range_text(trim_range(levels)) if sound else "-")
        table.append(cells)
    level = g6(point[CONTROL]) if CONTROL in point else "0"
    sideslip = "; at sideslip %s deg" % g6(point[SIDESLIP]) if SIDESLIP in point else ""
    if moment:
        title = (
            "Control power per unit level around control level %s, at its trim AOA or, without"
            " a trim, at the AOA nearest 0; trim range over the levels%s:" % (level, sideslip)
        )
    else:
        title = (
            "Control power per unit level around control level %s, at the AOA nearest 0%s:"
            % (level, sideslip)
        )
    lines = ["", title] + texttable.render(headers, table)
    if not moment:
        return lines
    per_level = [
        [g6(mach), g6(value)] + _trim_cells(entry) + [str(entry.rows), str(entry.flagged)]
        for mach in sorted(trims)
        for value, entry in trims[mach]
    ]
    return lines + ["", "Trim AOA per control level%s:" % sideslip.replace(";", ",")] + (
        texttable.render(
            ["Mach", "control level", "trim AOA [deg]", "neutral point behind CG [m]", "rows",
             "flagged"],
            per_level,
        )
    )


def _sideslip_lines(report: Report, entries: list[MachSummary]) -> list[str]:
    headers = ["Mach", "at AOA [deg]", "CY_beta*S [m^2/deg]"]
    if report.has_side_moments:
        headers += [
            "Cn_beta*S*b [m^3/deg]",
            "directional stability",
            "Cl_beta*S*b [m^3/deg]",
            "dihedral effect",
        ]
    table = []
    for derivatives in sideslip_derivatives(report, entries):
        slopes = derivatives.slopes
        cells = [g6(derivatives.mach), _cell(derivatives.aoa), _cell(slopes[SIDE_FORCE])]
        if report.has_side_moments:
            cells += [
                _cell(slopes[YAW]),
                _verdict(slopes[YAW], (DIRECTIONALLY_STABLE, DIRECTIONALLY_UNSTABLE,
                                       DIRECTIONALLY_NEUTRAL)),
                _cell(slopes[ROLL]),
                _verdict(slopes[ROLL], (ROLLS_INTO, ROLLS_AWAY, NO_DIHEDRAL)),
            ]
        table.append(cells)
    return [
        "",
        "Sideslip derivatives per degree, at the trim AOA or, without a trim, at the AOA"
        " nearest 0:",
    ] + texttable.render(headers, table)
