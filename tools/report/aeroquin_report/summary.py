"""Per Mach number: stall, least drag, best L/D and zero-lift AOA of a report; with the pitching
moment also the trim AOA and the neutral point."""

from collections.abc import Callable, Sequence
from dataclasses import dataclass
from typing import Optional, cast

from . import texttable
from .numtext import g6
from .report import Report, Row, grid_problems

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
    """One MachSummary per Mach number, ascending. Flagged rows are counted, not used."""
    by_mach: dict[float, list[Row]] = {}
    for row in report.rows:
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
        if sound and report.has_moment:
            crossings = moment_crossings(
                [(row.aoa, cast(float, row.cm_s_c), row.cl_s) for row in sound]
            )
            down = [crossing for crossing in crossings if crossing.going_down]
            entry.trims_going_down = len(down)
            entry.trim = (down or crossings)[0] if crossings else None
            entry.moment_all_zero = all(row.cm_s_c == 0 for row in sound)
        result.append(entry)
    return result


NO_STALL = "no stall within the range"
NO_TRIM = "no trim within the range"
UNSTABLE = "unstable at %s"
ZERO_MOMENT = "CM*S*c 0 throughout"


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
    lines = [
        "Report: %s" % report.path,
        "Vessel class: %s" % report.vessel_class,
        "Capture started: %s (UTC)" % report.start_time,
        "Grid: %d Mach x %d AOA = %d points, %d rows"
        % (
            report.mach_count,
            report.aoa_count,
            report.mach_count * report.aoa_count,
            len(report.rows),
        ),
    ]
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
                "  line %d: Mach %s, AOA %s: %s"
                % (row.line, g6(row.mach), g6(row.aoa), "; ".join(row.flags()))
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
    lines += texttable.render(headers, table)
    several = [entry for entry in entries if entry.trims_going_down > 1]
    if several:
        lines.append("")
        lines += [
            "Note: at Mach %s CM*S*c crosses zero going down %d times; the trim given is the"
            " first, at the lowest AOA" % (g6(entry.mach), entry.trims_going_down)
            for entry in several
        ]
    return lines
