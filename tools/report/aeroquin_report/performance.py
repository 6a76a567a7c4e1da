"""How fast the vessel flies, from a report's rows and its header's mass and gravity: per control
level, level flight at the trim, the stall, the best glide and the least sink, each where the
force it stands on equals the weight. Between two captured Mach numbers the density, airspeed
and coefficients are linear in the Mach number."""

import math
from collections.abc import Callable, Sequence
from dataclasses import dataclass
from typing import Optional, Union

from .report import CONTROL, DRAG_TOTAL, LIFT_TOTAL, AxisValue, Report, Row, reference, rows_at
from .stability import at_aoa, mach_summaries, stall


@dataclass(frozen=True)
class Polar:
    """A figure's point at one Mach number: its AOA and the lift and drag there."""

    aoa: float  # deg
    lift: float  # m^2, lift / dynamic pressure
    drag: float  # m^2


@dataclass(frozen=True)
class Air:
    """A Mach number's air, from its rows."""

    mach: float
    density: float  # kg/m^3, 2 q / V^2
    airspeed: float  # m/s


@dataclass(frozen=True)
class Balance:
    """Where the figure's force equals the weight."""

    air: Air
    polar: Polar
    machs: tuple[float, ...]  # the Mach numbers it comes from: one, or the two around it


@dataclass(frozen=True)
class Outside:
    """The force equals the weight beyond the Mach numbers that have the figure."""

    below: bool
    mach: float  # the lowest (highest) Mach number with the figure
    ratio: float  # the force there over the weight


@dataclass(frozen=True)
class Gap:
    """The force crosses the weight between two Mach numbers with Mach numbers without the
    figure between them."""

    low: float
    high: float


Figure = Union[Balance, Outside, Gap, None]  # None: no Mach number has the figure


def lift_of(polar: Polar) -> float:
    return polar.lift


def resultant(polar: Polar) -> float:
    """Lift and drag together, m^2: what carries the weight in a steady glide."""
    return math.hypot(polar.lift, polar.drag)


def _between(a: Air, pa: Polar, b: Air, pb: Polar, t: float) -> tuple[Air, Polar]:
    def at(x: float, y: float) -> float:
        return x + t * (y - x)

    return (
        Air(at(a.mach, b.mach), at(a.density, b.density), at(a.airspeed, b.airspeed)),
        Polar(at(pa.aoa, pb.aoa), at(pa.lift, pb.lift), at(pa.drag, pb.drag)),
    )


def balance(
    points: list[tuple[Air, Optional[Polar]]], weight: float, force: Callable[[Polar], float]
) -> Figure:
    """Where q force(polar) = `weight` (N), the first by Mach number of `points` (ascending,
    None where the Mach number lacks the figure), solved between two neighbouring Mach numbers
    that both have it; else where it lies beyond them."""

    def excess(air: Air, polar: Polar) -> float:
        return 0.5 * air.density * air.airspeed ** 2 * force(polar) - weight

    for (a, pa), (b, pb) in zip(points, points[1:] + [(points[-1][0], None)]):
        if pa is None:
            continue
        low = excess(a, pa)
        if low == 0:
            return Balance(a, pa, (a.mach,))
        if pb is None or (excess(b, pb) > 0) == (low > 0):
            continue
        # q rises with the square of the Mach number: bisection, not a line.
        t0, t1 = 0.0, 1.0
        for _ in range(60):
            t = (t0 + t1) / 2
            if (excess(*_between(a, pa, b, pb, t)) > 0) == (low > 0):
                t0 = t
            else:
                t1 = t
        air, polar = _between(a, pa, b, pb, (t0 + t1) / 2)
        return Balance(air, polar, (a.mach, b.mach))
    having = [(air, polar) for air, polar in points if polar is not None]
    if not having:
        return None
    signs = {excess(air, polar) > 0 for air, polar in having}
    if len(signs) == 2:
        changes = [(a.mach, b.mach) for (a, pa), (b, pb) in zip(having, having[1:])
                   if (excess(a, pa) > 0) != (excess(b, pb) > 0)]
        return Gap(*changes[0])
    below = signs == {True}
    air, polar = having[0] if below else having[-1]
    return Outside(below, air.mach, (excess(air, polar) + weight) / weight)


@dataclass
class LevelSpeeds:
    """The four figures at one control level (None without a control axis)."""

    level: Optional[float]
    trim: Figure
    stall: Figure
    glide: Figure
    sink: Figure


def _lifting(rows: list[Row], lift: str, drag: str) -> list[Row]:
    return [row for row in rows if row.value(lift) > 0 and row.value(drag) > 0]


def _polar(row: Row, lift: str, drag: str) -> Polar:
    return Polar(row.aoa, row.value(lift), row.value(drag))


def speeds(report: Report, weight: float) -> list[LevelSpeeds]:
    """Per control level as written, ascending (one, at the reference, without a control axis),
    at the reference of the other middle axes: the four figures of sound rows, of the columns
    lift_columns() names. The trim is the first statically stable one; without CM*S*c there
    is none."""
    lift, drag = lift_columns(report)
    point = reference(report)
    levels: Sequence[Optional[float]] = [None]
    if CONTROL in report.columns:
        levels = sorted({row.value(CONTROL) for row in report.rows})
    result = []
    for level in levels:
        at: dict[str, AxisValue] = dict(point)
        if level is not None:
            at[CONTROL] = level
        by_mach: dict[float, list[Row]] = {}
        for row in rows_at(report.rows, at):
            if not row.flags() and row.airspeed > 0:
                by_mach.setdefault(row.mach, []).append(row)
        figures: list[list[tuple[Air, Optional[Polar]]]] = [[], [], [], []]
        for mach in sorted(by_mach):
            rows = sorted(by_mach[mach], key=lambda row: row.aoa)
            air = Air(mach, 2 * rows[0].dynamic_pressure / rows[0].airspeed ** 2,
                      rows[0].airspeed)
            (entry,) = mach_summaries(rows, report.has_moment)
            trim = None
            if entry.trim and entry.trim.going_down:
                aoa = entry.trim.aoa
                at_lift, at_drag = at_aoa(rows, aoa, lift), at_aoa(rows, aoa, drag)
                if at_lift is not None and at_drag is not None:
                    trim = Polar(aoa, at_lift, at_drag)
            peak = stall(rows, lift)
            lifting = _lifting(rows, lift, drag)
            best = max(lifting, key=lambda r: (r.value(lift) / r.value(drag), -r.aoa),
                       default=None)
            least = min(lifting, key=lambda r: (r.value(drag) / resultant(_polar(r, lift, drag))
                                                ** 1.5, r.aoa), default=None)
            for figure, row_or_polar in zip(figures, (trim, peak, best, least)):
                if isinstance(row_or_polar, Row):
                    row_or_polar = _polar(row_or_polar, lift, drag)
                figure.append((air, row_or_polar))
        if not by_mach:
            result.append(LevelSpeeds(level, None, None, None, None))
            continue
        result.append(LevelSpeeds(
            level,
            balance(figures[0], weight, lift_of),
            balance(figures[1], weight, lift_of),
            balance(figures[2], weight, lift_of),
            balance(figures[3], weight, resultant),
        ))
    return result


def lift_columns(report: Report) -> tuple[str, str]:
    """The lift and drag the speeds use: with a control axis the totals, which hold the control
    surfaces' own force."""
    if LIFT_TOTAL in report.columns:
        return LIFT_TOTAL, DRAG_TOTAL
    return "CL*S", "CD*S"


def sink_rate(balance: Balance) -> float:
    """m/s: the airspeed times the sine of the glide angle, tan = drag / lift."""
    polar = balance.polar
    return balance.air.airspeed * polar.drag / resultant(polar)
