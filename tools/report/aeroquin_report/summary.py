"""Per Mach number: stall, least drag, best L/D and zero-lift AOA of a report."""

from collections.abc import Callable, Sequence
from dataclasses import dataclass
from typing import Optional

from . import texttable
from .numtext import g6
from .report import Report, Row, grid_problems

# Flagged rows listed one by one; the rest only counted.
MAX_LISTED_FLAGS = 20


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
            aoa = a1 + (0 - c1) * (a2 - a1) / (c2 - c1)
            # A rounding residue of the capture (CL*S of 1e-13 at a grid AOA) is no offset.
            for end in (a1, a2):
                if abs(aoa - end) <= 1e-9 * (a2 - a1):
                    aoa = end
            zeros.add(aoa)
            if c2 > c1:
                rising.add(aoa)
    candidates = rising or zeros
    if not candidates:
        return None
    return min(candidates, key=lambda aoa: (abs(aoa), aoa))


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
        result.append(entry)
    return result


NO_STALL = "no stall within the range"


def _cell(value: float | None) -> str:
    return "-" if value is None else g6(value)


def _stall_cell(entry: MachSummary) -> str:
    if entry.max_cl_s is None:
        return "-"
    return NO_STALL if entry.stall_aoa is None else g6(entry.stall_aoa)


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
        "rows",
        "flagged",
    ]
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
            str(entry.rows),
            str(entry.flagged),
        ]
        for entry in summarize(report)
    ]
    lines.append("")
    lines += texttable.render(headers, table)
    return lines
