"""The text of `aeroquin-report summary`: per Mach number the stall, least drag, best L/D and
zero-lift AOA of a report; with the pitching moment also the trim AOA and the neutral point; with
a sideslip axis, of the rows at the sideslip nearest 0, and the sideslip derivatives with their
verdicts; with a control axis, of the rows at the level nearest 0, the control power per unit
level, and the trim AOA at each level and the range of them; with a rate axis the damping
derivatives; with the vessel's mass the flight speeds (the arithmetic: stability.py,
performance.py)."""

import math
from dataclasses import dataclass
from typing import Optional, cast

from . import texttable
from .numtext import g6
from .performance import Balance, Figure, Gap, Outside, lift_columns, sink_rate, speeds
from .report import (
    BODY_AXES,
    CONTROL,
    PITCH,
    RATE,
    ROLL_AXIS,
    YAW_AXIS,
    DRAG_TOTAL,
    ITEM_SEPARATOR,
    ITEMS,
    LIFT_TOTAL,
    MOMENT,
    ROLL,
    SIDE_FORCE,
    YAW,
    Report,
    grid_problems,
    grid_text,
    level_spread,
    middle_counts_unknown,
    middle_size,
    point_text,
    reference,
)
from .stability import (
    AILERON,
    ELEVATORS,
    RUDDERS,
    MachSummary,
    aoa_slopes,
    changes_no_force,
    control_power,
    damping_derivatives,
    level_trims,
    power_columns,
    sideslip_derivatives,
    sideslip_trims,
    summarize,
    trim_range,
)

# A report older than the header items does not name its control surface.
UNNAMED_SURFACE = "not named in the report's header (an older report); summarised as an elevator"

# Flagged rows listed one by one; the rest only counted.
MAX_LISTED_FLAGS = 20


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


@dataclass(frozen=True)
class References:
    """The reference lengths that turn the columns into coefficients without dimensions."""

    area: float  # S, m^2
    span: Optional[float] = None  # b, m
    chord: Optional[float] = None  # c, m


def summary_lines(report: Report, references: References | None = None) -> list[str]:
    """The text of `aeroquin-report summary`; with `references`, the coefficients without
    dimensions too."""
    unknown = middle_counts_unknown(report)
    lines = [
        "Report: %s" % report.path,
        "Vessel class: %s" % report.vessel_class,
        "Capture started: %s (UTC)" % report.start_time,
    ] + _capture_lines(report)
    if level_spread(report):
        # The levels as written make no grid of a number of points.
        lines.append(
            "Grid: %s, %d rows"
            % (grid_text(report, report.mach_count, report.aoa_count, as_written=True,
                         from_rows=True),
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
        lines.append("At %s:" % point_text(reference(report)))
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
    lines += _damping_lines(report, entries) + _speed_lines(report)
    if references:
        lines += _coefficient_lines(report, entries, references)
        if report.has_rates:
            lines += _damping_coefficient_lines(report, entries, references)
    if not modes_lacks(report):
        lines += ["", MODES]
    return lines


NO_RATES = "Damping derivatives: need RateIntervals and RateIncrements with ReportMoments = 1"
DAMPING_HEADERS = {
    (PITCH, MOMENT): "dCM*S*c/dq [m^3 s]",
    (ROLL_AXIS, ROLL): "dCl*S*b/dp [m^3 s]",
    (YAW_AXIS, YAW): "dCn*S*b/dr [m^3 s]",
    (YAW_AXIS, ROLL): "dCl*S*b/dr [m^3 s]",
    (ROLL_AXIS, YAW): "dCn*S*b/dp [m^3 s]",
}
LIMITED = (
    "Note: %s damping limited by the step at Mach %s: the simulator damps with at most"
    " I/dt = %s kg m^2 / %s s = %s N m s, which stops the rotation in one step; there the"
    " derivative depends on the step, not on the air"
)


def _others_text(report: Report, axis: str) -> str:
    """" (at control level 0, sideslip 0 deg)": where the other middle axes are taken."""
    others = {name: v for name, v in reference(report).items() if name != axis}
    return " (at %s)" % point_text(others) if others else ""


def _damping_lines(report: Report, entries: list[MachSummary]) -> list[str]:
    """Per Mach number the damping derivatives per rad/s and the axes at the step's limit."""
    if not report.has_rates:
        return ["", NO_RATES]
    table = []
    derivatives = damping_derivatives(report, entries)
    for damping in derivatives:
        limited = ", ".join(BODY_AXES[body] for body in damping.limited)
        table.append([g6(damping.mach), _cell(damping.aoa)]
                     + [_cell(damping.slopes[key]) for key in DAMPING_HEADERS]
                     + [limited or "-"])
    lines = [
        "",
        "Damping derivatives per rad/s at the trim AOA or, without a trim, at the AOA nearest"
        " 0%s:" % _others_text(report, RATE),
    ] + texttable.render(
        ["Mach", "at AOA [deg]"] + list(DAMPING_HEADERS.values()) + ["limited by the step"], table
    )
    step = report.time_step
    for body, name in enumerate(BODY_AXES):
        machs = [g6(d.mach) for d in derivatives if body in d.limited]
        inertia = report.moment_of_inertia(body)
        if machs and inertia is not None and step:
            lines.append(LIMITED % (name, ", ".join(machs), g6(inertia), g6(step),
                                    g6(inertia / step)))
    if report.inertia is None or not report.time_step:
        lines.append("Note: the header gives no inertia or no time step: the step's limit I/dt"
                     " is not checked")
    return lines


MODES = "Modes of motion and their flying-qualities levels: see aeroquin-report modes"
MODES_NEED = "a report with ReportMoments = 1, a sideslip axis and a rate axis"


def modes_lacks(report: Report) -> list[str]:
    """What the report lacks of what `modes` needs: the moments, a sideslip and a rate axis, and
    the header's mass, inertia and gravity (any optional item gives them; an older report may
    not)."""
    lacks = [text for has, text in (
        (report.has_moment, "the moments"), (report.has_sideslip, "the sideslip axis"),
        (report.has_rates, "the rate axis"),
    ) if not has]
    header = [name for name, value in (
        ("mass", report.mass), ("inertia", report.inertia), ("gravity", report.gravity),
    ) if value is None]
    if header:
        lacks.append("the header's " + and_list(header))
    return lacks


def and_list(items: list[str]) -> str:
    """"a", "a and b", "a, b and c"."""
    return " and ".join(item for item in [", ".join(items[:-1]), items[-1]] if item)


NO_MASS = (
    "Flight speeds: need the vessel's mass and gravity, which the header of a report with any"
    " optional item gives"
)
# Per figure: its name, what carries the weight in it, and what a Mach number may lack of it.
FIGURES = (
    ("level flight at the trim", "the trimmed lift", "a statically stable trim"),
    ("stall", "the largest lift", "a stall within the AOA range"),
    ("best glide", "the lift at the best L/D", "positive lift and drag"),
    ("least sink", "lift and drag together at the least sink", "positive lift and drag"),
)


def _from(balance: Balance) -> str:
    return " (from Mach %s)" % " and ".join(g6(mach) for mach in balance.machs)


def figure_text(index: int, figure: Figure, lift: str, moment: bool) -> str:
    name, carried, lacked = FIGURES[index]
    if figure is None:
        if index == 0 and not moment:
            return "%s: needs the trim AOA, which needs CM*S*c (ReportMoments = 1)" % name
        if index == 1:
            return "stall: no stall within the AOA range"
        return "%s: no Mach number with %s" % (name, lacked)
    if isinstance(figure, Outside):
        return "%s: %s Mach %s: %s there is %s times the weight" % (
            name, "below" if figure.below else "above", g6(figure.mach), carried,
            g6(figure.ratio))
    if isinstance(figure, Gap):
        return "%s: between Mach %s and %s, across Mach numbers without %s" % (
            name, g6(figure.low), g6(figure.high), lacked)
    air, polar = figure.air, figure.polar
    where = "Mach %s, %s m/s" % (g6(air.mach), g6(air.airspeed))
    angle = math.degrees(math.atan2(polar.drag, polar.lift))
    if index == 0:
        text = "%s, trim AOA %s deg" % (where, g6(polar.aoa))
    elif index == 1:
        text = "%s, %s %s m^2 at AOA %s deg" % (where, lift, g6(polar.lift), g6(polar.aoa))
    elif index == 2:
        text = "%s at AOA %s deg: L/D %s, glide angle %s deg, sink rate %s m/s" % (
            where, g6(polar.aoa), g6(polar.lift / polar.drag), g6(angle),
            g6(sink_rate(figure)))
    else:
        text = "%s m/s at %s, AOA %s deg, glide angle %s deg" % (
            g6(sink_rate(figure)), where, g6(polar.aoa), g6(angle))
    return "%s: %s%s" % (name, text, _from(figure))


def _speed_lines(report: Report) -> list[str]:
    """Per control level the speeds of level flight, stall, best glide and least sink."""
    if report.mass is None or report.gravity is None:
        return ["", NO_MASS]
    weight = report.mass * report.gravity
    lift, drag = lift_columns(report)
    densities = sorted({g6(2 * row.dynamic_pressure / row.airspeed ** 2)
                        for row in report.rows if not row.flags() and row.airspeed > 0},
                       key=float)
    density = " to ".join(densities[::len(densities) - 1] if len(densities) > 1 else densities)
    others = {name: v for name, v in reference(report).items() if name != CONTROL}
    lines = [
        "",
        "Flight speeds%s, mass %s kg, gravity %s m/s^2 (weight %s N), density %s kg/m^3"
        " (2 q / V^2), from %s and %s%s; each where its lift equals the weight (at the least"
        " sink, lift and drag together), linear between the Mach numbers named:"
        % (" at %s m" % g6(report.altitude) if report.altitude is not None else "",
           g6(report.mass), g6(report.gravity), g6(weight), density or "-", lift, drag,
           " at " + point_text(others) if others else ""),
    ]
    for entry in speeds(report, weight):
        indent = "  "
        if entry.level is not None:
            lines.append("At control level %s:" % g6(entry.level))
        figures = (entry.trim, entry.stall, entry.glide, entry.sink)
        lines += [indent + figure_text(i, figure, lift, report.has_moment)
                  for i, figure in enumerate(figures)]
    return lines


PER_RADIAN = 180 / math.pi  # a slope per degree times this is per radian
COEFFICIENTS = {
    LIFT_TOTAL: "dCL total",
    DRAG_TOTAL: "dCD total",
    SIDE_FORCE: "dCY",
    MOMENT: "dCm",
    ROLL: "dCl",
    YAW: "dCn",
}


def _divided(value: float | None, divisor: float) -> float | None:
    return None if value is None else value / divisor


def _coefficient_lines(report: Report, entries: list[MachSummary], ref: References) -> list[str]:
    """The slopes of the tables above without dimensions: per radian of AOA and sideslip, and the
    control power per unit level; each column whose reference length is given."""
    lengths = "S = %s m^2" % g6(ref.area) + "".join(
        ", %s = %s m" % (name, g6(length))
        for name, length in (("b", ref.span), ("c", ref.chord)) if length is not None
    )
    # (title, column, its divisor): a force by S, a moment by S c or S b.
    alpha = [("CL_alpha [1/rad]", "CL*S", ref.area)]
    if ref.chord and report.has_moment:
        alpha.append(("Cm_alpha [1/rad]", MOMENT, ref.area * ref.chord))
    beta = []
    if report.has_sideslip:
        beta.append(("CY_beta [1/rad]", SIDE_FORCE, ref.area))
        if report.has_side_moments and ref.span:
            beta += [("Cn_beta [1/rad]", YAW, ref.area * ref.span),
                     ("Cl_beta [1/rad]", ROLL, ref.area * ref.span)]
    slopes = aoa_slopes(report, entries, [column for _, column, _ in alpha])
    # Both at the same AOA of each Mach number; without beta columns any list will do.
    sideways = sideslip_derivatives(report, entries) if beta else slopes
    table = [
        [g6(by_aoa.mach), _cell(by_aoa.aoa)]
        + [_cell(_divided(by_aoa.slopes[c], d / PER_RADIAN)) for _, c, d in alpha]
        + [_cell(_divided(by_sideslip.slopes[c], d / PER_RADIAN)) for _, c, d in beta]
        for by_aoa, by_sideslip in zip(slopes, sideways)
    ]
    lines = [
        "",
        "Coefficients without dimensions with %s, per radian, at the AOAs above:" % lengths,
    ] + texttable.render(
        ["Mach", "at AOA [deg]"] + [title for title, _, _ in alpha + beta], table
    )
    if CONTROL not in report.columns or changes_no_force(report):
        return lines
    divisors = {LIFT_TOTAL: ref.area, DRAG_TOTAL: ref.area, SIDE_FORCE: ref.area}
    if ref.chord:
        divisors[MOMENT] = ref.area * ref.chord
    if ref.span:
        divisors[ROLL] = divisors[YAW] = ref.area * ref.span
    columns = [column for column in power_columns(report) if column in divisors]
    if not columns:
        return lines
    table = [
        [g6(power.mach), _cell(power.aoa)]
        + [_cell(_divided(power.slopes[c], divisors[c])) for c in columns]
        for power in control_power(report, entries)
    ]
    return lines + [
        "",
        "Control power without dimensions per unit level, with %s:" % lengths,
    ] + texttable.render(["Mach", "at AOA [deg]"] + [COEFFICIENTS[c] for c in columns], table)


# Per damping derivative: its name without dimensions and whether its length is the chord.
DAMPING_COEFFICIENTS = {
    (PITCH, MOMENT): ("Cm_q", True),
    (ROLL_AXIS, ROLL): ("Cl_p", False),
    (YAW_AXIS, YAW): ("Cn_r", False),
    (YAW_AXIS, ROLL): ("Cl_r", False),
    (ROLL_AXIS, YAW): ("Cn_p", False),
}


def _damping_coefficient_lines(
    report: Report, entries: list[MachSummary], ref: References
) -> list[str]:
    """The damping derivatives per radian of the rates without dimensions, q c / 2V, p b / 2V,
    r b / 2V: each derivative per rad/s times 2V / (S l^2), l the chord or the span."""
    chosen = {key: (name, ref.chord if chord else ref.span)
              for key, (name, chord) in DAMPING_COEFFICIENTS.items()
              if (ref.chord if chord else ref.span)}
    if not chosen:
        return []
    table = []
    for damping in damping_derivatives(report, entries):
        cells = [g6(damping.mach), _cell(damping.aoa)]
        for key, (_, length) in chosen.items():
            slope, speed = damping.slopes[key], damping.airspeed
            factor = None if speed is None else 2 * speed / (ref.area * cast(float, length) ** 2)
            cells.append(_cell(None if slope is None or factor is None else slope * factor))
        table.append(cells)
    return [
        "",
        "Damping derivatives without dimensions, per radian of q c/2V, p b/2V and r b/2V (V the"
        " Mach number's airspeed), at the AOAs above:",
    ] + texttable.render(["Mach", "at AOA [deg]"]
                         + ["%s [1/rad]" % name for name, _ in chosen.values()], table)


def _capture_lines(report: Report) -> list[str]:
    """What the header items say of the capture."""
    lines = []
    if report.altitude is not None:
        lines.append("Altitude: %s m" % g6(report.altitude))
    if report.mass is not None:
        lines.append("Mass: %s kg" % g6(report.mass))
    if report.inertia is not None:
        lines.append("Moments of inertia: roll %s, pitch %s, yaw %s kg m^2"
                     % tuple(g6(value) for value in report.inertia))
    if report.gravity is not None:
        lines.append("Gravity: %s m/s^2" % g6(report.gravity))
    if CONTROL in report.columns:
        lines.append("Control surface: %s" % (report.control_surface or UNNAMED_SURFACE))
    if report.controls_held is not None:
        lines.append("Controls held: " + ", ".join(
            "%s %s" % (name, g6(level)) for name, level in report.controls_held.items()
        ))
    if report.thrust_held is not None:
        lines.append("Thrust held: %s N" % g6(report.thrust_held))
    if report.time_step is not None:
        lines.append("Time step: %s s" % g6(report.time_step))
    lines += [
        "Header: %s%s%s" % (label, ITEM_SEPARATOR, text)
        for label, text in report.items.items() if label not in ITEMS
    ]
    return lines


NO_TRIM_AT_LEVELS = "cannot trim within the levels"


def _range_text(pieces: list[tuple[float, float]]) -> str:
    if not pieces:
        return NO_TRIM_AT_LEVELS
    return ", ".join(
        g6(low) if low == high else "%s to %s" % (g6(low), g6(high)) for low, high in pieces
    )


POWER_HEADERS = {
    LIFT_TOTAL: "dCL*S total [m^2]",
    DRAG_TOTAL: "dCD*S total [m^2]",
    SIDE_FORCE: "dCY*S [m^2]",
    MOMENT: "dCM*S*c [m^3]",
    ROLL: "dCl*S*b [m^3]",
    YAW: "dCn*S*b [m^3]",
}
NO_FORCE = (
    "%s changed no force: every level gives the same rows; the vessel has no such control"
    " surface, or its levels do not move it"
)
ADVERSE_YAW = "adverse yaw"
PROVERSE_YAW = "proverse yaw"
NO_YAW = "no yaw"
NO_SIDESLIP_TRIM = "no trim within the sideslips"


def yaw_with_roll(roll: float | None, yaw: float | None) -> str:
    """The yaw that comes with a roll: adverse when opposite to it (Cl*S*b positive right wing
    down, Cn*S*b positive nose right: a roll to the right with the nose going left)."""
    if roll is None or yaw is None:
        return "-"
    if yaw == 0:
        return NO_YAW
    if roll == 0:
        return "-"
    return ADVERSE_YAW if (yaw < 0) != (roll < 0) else PROVERSE_YAW


def _control_lines(report: Report, entries: list[MachSummary]) -> list[str]:
    """Per Mach number the control power of the report's surface; an elevator's trim range
    and trim AOA per level, an aileron's yaw with the roll, a rudder's trimmed sideslip per
    level."""
    surface = report.control_surface
    if changes_no_force(report):
        return ["", "Note: " + NO_FORCE % ("the " + surface if surface else "the control")]
    point = reference(report)
    moment = report.has_moment
    elevator = surface is None or surface in ELEVATORS
    columns = power_columns(report)
    headers = ["Mach", "at AOA [deg]"] + [POWER_HEADERS[name] for name in columns]
    aileron = surface == AILERON and moment
    if aileron:
        headers.append("yaw with the roll")
    ranges = elevator and moment
    if ranges:
        headers.append("trim range [deg]")
    trims = level_trims(report) if ranges else {}
    powers = control_power(report, entries)
    table = []
    for power in powers:
        cells = [g6(power.mach), _cell(power.aoa)] + [_cell(power.slopes[n]) for n in columns]
        if aileron:
            cells.append(yaw_with_roll(power.slopes[ROLL], power.slopes[YAW]))
        if ranges:
            levels = trims.get(power.mach, [])
            sound = any(entry.max_cl_s is not None for _, entry in levels)
            cells.append(_range_text(trim_range(levels)) if sound else "-")
        table.append(cells)
    level = g6(cast(float, point[CONTROL])) if CONTROL in point else "0"
    others = {name: value for name, value in point.items() if name != CONTROL}
    sideslip = "; at " + point_text(others) if others else ""
    title = "Control power per unit level around control level %s, " % level + (
        "at its trim AOA or, without a trim, at the AOA nearest 0" if moment
        else "at the AOA nearest 0"
    ) + ("; trim range over the levels" if ranges else "") + sideslip + ":"
    lines = ["", title] + texttable.render(headers, table)
    if surface == AILERON and not moment:
        lines.append("Note: the roll power and its yaw need the moments (ReportMoments = 1)")
    if surface in RUDDERS and moment and report.has_sideslip:
        lines += _sideslip_trim_lines(sideslip_trims(report, powers))
    if not ranges:
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


def _sideslip_trim_lines(
    trims: dict[float, list[tuple[float, tuple[float, bool] | None]]]
) -> list[str]:
    table = []
    for mach, levels in sorted(trims.items()):
        for level, trim in levels:
            if trim is None:
                cell = NO_SIDESLIP_TRIM
            else:
                cell = g6(trim[0]) if trim[1] else UNSTABLE % g6(trim[0])
            table.append([g6(mach), g6(level), cell])
    return [
        "",
        "Sideslip trimmed per control level (Cn*S*b 0; stable when it rises with the sideslip),"
        " at the AOA above:",
    ] + texttable.render(["Mach", "control level", "trim sideslip [deg]"], table)


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
