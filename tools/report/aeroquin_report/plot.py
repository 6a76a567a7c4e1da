"""The figure of a report: CL*S, CD*S and L/D against AOA, and the drag polar; with the pitching
moment also CM*S*c against AOA and against CL*S; with the rolling and yawing moments also
Cn*S*b and Cl*S*b against the sideslip at one Mach number, one curve per AOA; with a control axis
the trim AOA against the level, one curve per Mach number, and CM*S*c against AOA at one Mach
number, one curve per level (without the moment: CL*S total and CD*S total against AOA); with what
`modes` needs, the modes' root map."""

import math
import os
import re
from typing import Any

from .numtext import g6
from .report import (
    CONTROL,
    DRAG_TOTAL,
    LIFT_TOTAL,
    MOMENT,
    RATE,
    ROLL,
    SIDESLIP,
    YAW,
    Report,
    Row,
    cut_short,
    level_spread,
    middle_counts,
    point_text,
    reference,
    rows_at,
)
from .stability import level_trims

FORMATS = (".png", ".svg")

# Up to this many Mach numbers each gets a legend entry; beyond, a colour bar of Mach stands for
# them, since a legend of more entries no longer fits the figure.
LEGEND_LIMIT = 20
# The part of the sequential colour scale in use: its lightest end is hard to see on white.
SCALE_END = 0.85


class MatplotlibMissing(Exception):
    """matplotlib cannot be imported; the figure is left out."""


def figure_path(report_path: str, output: str | None) -> str:
    """The file to write: `output`, or the report's path with the extension .png."""
    if output:
        return output
    stem, _ = os.path.splitext(report_path)
    return stem + ".png"


def _readable_time(start_time: str) -> str:
    """The header's YYYY/MM/DD::hh:mm:ss as YYYY-MM-DD hh:mm:ss; any other text as it is."""
    match = re.fullmatch(r"(\d{4})/(\d\d)/(\d\d)::(\d\d:\d\d:\d\d)", start_time)
    if not match:
        return start_time
    return "%s-%s-%s %s" % match.groups()


def _curves(
    report: Report,
) -> list[tuple[float, list[float], list[float], list[float], list[float], list[float]]]:
    """Per Mach number, ascending: the rows at the sideslip nearest 0 sorted by AOA, non-finite
    values as NaN gaps; CM*S*c all NaN in a report without it."""
    by_mach: dict[float, list[Row]] = {}
    for row in rows_at(report.rows, reference(report)):
        by_mach.setdefault(row.mach, []).append(row)
    curves = []
    for mach in sorted(by_mach):
        rows = sorted(by_mach[mach], key=lambda row: row.aoa)

        def column(name: str, rows: list[Row] = rows) -> list[float]:
            values = (getattr(row, name) for row in rows)
            return [v if v is not None and math.isfinite(v) else math.nan for v in values]

        curves.append(
            (
                mach,
                column("aoa"),
                column("cl_s"),
                column("cd_s"),
                column("lift_to_drag"),
                column("cm_s_c"),
            )
        )
    return curves


def _finite(value: float) -> float:
    return value if math.isfinite(value) else math.nan


def sideslip_curves(
    report: Report, mach: float
) -> list[tuple[float, list[float], list[float], list[float]]]:
    """Per AOA at the Mach number `mach`, ascending: sideslip, Cn*S*b and Cl*S*b of the rows
    sorted by sideslip, non-finite values as NaN gaps."""
    point = {name: value for name, value in reference(report).items() if name != SIDESLIP}
    by_aoa: dict[float, list[Row]] = {}
    for row in rows_at(report.rows, point):
        if row.mach == mach:
            by_aoa.setdefault(row.aoa, []).append(row)
    curves = []
    for aoa in sorted(by_aoa):
        rows = sorted(by_aoa[aoa], key=lambda row: row.value(SIDESLIP))
        curves.append(
            (
                aoa,
                [row.value(SIDESLIP) for row in rows],
                [_finite(row.value(YAW)) for row in rows],
                [_finite(row.value(ROLL)) for row in rows],
            )
        )
    return curves


def level_curves(
    report: Report, mach: float, column: str
) -> list[tuple[float, list[float], list[float]]]:
    """Per control level as written at the Mach number `mach`, ascending: AOA and the column of
    the rows at the sideslip nearest 0, sorted by AOA, non-finite values as NaN gaps."""
    point = {name: value for name, value in reference(report).items() if name != CONTROL}
    by_level: dict[float, list[Row]] = {}
    for row in rows_at(report.rows, point):
        if row.mach == mach:
            by_level.setdefault(row.value(CONTROL), []).append(row)
    curves = []
    for level in sorted(by_level):
        rows = sorted(by_level[level], key=lambda row: row.aoa)
        curves.append(
            (level, [row.aoa for row in rows], [_finite(row.value(column)) for row in rows])
        )
    return curves


def trim_curves(report: Report) -> list[tuple[float, list[float], list[float]]]:
    """Per Mach number, ascending: the control levels and their statically stable trim AOAs,
    NaN at a level without one."""
    curves = []
    for mach, levels in sorted(level_trims(report).items()):
        trims = [
            entry.trim.aoa if entry.trim and entry.trim.going_down else math.nan
            for _, entry in levels
        ]
        curves.append((mach, [level for level, _ in levels], trims))
    return curves


# The damping-ratio lines of the root map.
ROOT_MAP_ZETAS = (0.1, 0.2, 0.4, 0.7)
MODE_MARKERS = {
    "short period": "o", "phugoid": "s", "Dutch roll": "D", "roll subsidence": ">",
    "spiral": "<",
}


def mode_roots(report: Report) -> list[tuple[str, list[tuple[str, list[complex]]]]]:
    """Per control level that has modes (its label, "" without a control axis): each mode's name
    and its roots, pairs with both roots; empty where the report lacks what `modes` needs or
    numpy is missing."""
    from . import modes
    from .summary import modes_lacks

    if modes_lacks(report):
        return []
    try:
        levels = modes.analysed(report)
    except modes.NumpyMissing:
        return []

    def both(roots: tuple[complex, ...]) -> list[complex]:
        return [root for r in roots for root in ((r, r.conjugate()) if r.imag > 0 else (r,))]

    return [("" if level is None else "level %s" % g6(level),
             [(mode.name, both(mode.roots)) for mode in analysis.modes])
            for level, _figure, _trim, analysis in levels if analysis is not None]


def _draw_root_map(matplotlib: Any, panel: Any,
                   levels: list[tuple[str, list[tuple[str, list[complex]]]]]) -> None:
    """The eigenvalues in the complex plane, one marker per mode, one colour per control level,
    over the damping-ratio lines; the view holds the slower roots, and a root beyond it is named
    in the panel."""
    palette = matplotlib.colormaps["tab10"]
    reach = max((abs(root) for _, roots in levels for name, group in roots
                 if name != "roll subsidence" for root in group), default=1.0) * 1.15
    beyond = []
    for index, (label, roots) in enumerate(levels):
        for name, group in roots:
            shown = [root for root in group if abs(root) <= reach]
            named = name + (" (%s)" % label if label else "")
            beyond += ["%s at %s 1/s" % (named, g6(root.real))
                       for root in group if abs(root) > reach]
            if shown:
                panel.plot([root.real for root in shown], [root.imag for root in shown],
                           linestyle="none", marker=MODE_MARKERS.get(name, "x"), markersize=8,
                           color=palette(index % 10), label=name + (", " + label if label else ""))
    for zeta in ROOT_MAP_ZETAS:
        x, y = -zeta * reach, math.sqrt(1 - zeta * zeta) * reach
        panel.plot([0, x], [0, y], [0, x], [0, -y], color="grey", linewidth=0.6, linestyle=":")
        panel.annotate("ζ %s" % g6(zeta), (x, y), fontsize=8, color="grey")
    panel.axhline(0.0, color="grey", linewidth=0.8)
    panel.axvline(0.0, color="grey", linewidth=0.8)
    panel.set_xlim(-reach, 0.15 * reach)
    panel.set_ylim(-reach, reach)
    panel.legend(fontsize=8, loc="lower left")
    if beyond:
        panel.text(0.02, 0.98, "Beyond the view:\n" + "\n".join(beyond), fontsize=8,
                   va="top", transform=panel.transAxes)


def write_figure(report: Report, path: str, sideslip_mach: float | None = None) -> None:
    """Writes the figure to `path` (PNG or SVG by its extension): four panels, six with the
    pitching moment, two more with the rolling and yawing moments against the sideslip and two
    more with a control axis, those at the Mach number `sideslip_mach` (default: the lowest)."""
    try:
        import matplotlib

        matplotlib.use("Agg")
        from matplotlib import pyplot
    except ImportError as error:
        raise MatplotlibMissing(str(error)) from None

    # Text stays text in an SVG: searchable and editable.
    matplotlib.rcParams["svg.fonttype"] = "none"
    curves = _curves(report)
    moment = report.has_moment
    sideways = report.has_side_moments
    control = CONTROL in report.columns
    roots = mode_roots(report)
    columns = 2 + moment + sideways + control + bool(roots)
    figure = pyplot.figure(figsize=(6 * columns + 2, 9), layout="constrained")
    grid = figure.add_gridspec(2, columns + 1, width_ratios=(1,) * columns + (0.3,))
    lift, drag = figure.add_subplot(grid[0, 0]), figure.add_subplot(grid[0, 1])
    ratio, polar = figure.add_subplot(grid[1, 0]), figure.add_subplot(grid[1, 1])
    if moment:
        pitch, pitch_polar = figure.add_subplot(grid[0, 2]), figure.add_subplot(grid[1, 2])
    side = figure.add_subplot(grid[:, -1])
    side.axis("off")
    # Distinct colours while there are few curves, a light-free sequential scale beyond: by rank
    # while the legend names each curve, by Mach number under a colour bar.
    machs = [curve[0] for curve in curves]
    if len(curves) <= 10:
        palette = matplotlib.colormaps["tab10"]
        colours = [palette(i) for i in range(len(curves))]
    elif len(curves) <= LEGEND_LIMIT:
        palette = matplotlib.colormaps["viridis"]
        colours = [palette(SCALE_END * i / (len(curves) - 1)) for i in range(len(curves))]
    else:
        palette = matplotlib.colormaps["viridis"]
        span = (machs[-1] - machs[0]) or 1.0
        colours = [palette(SCALE_END * (mach - machs[0]) / span) for mach in machs]
    for index, (mach, aoa, cl_s, cd_s, lift_to_drag, cm_s_c) in enumerate(curves):
        style = dict(
            color=colours[index],
            marker="o",
            markersize=3,
            linewidth=1.5,
            label="Mach %s" % g6(mach),
        )
        if all(math.isnan(v) for v in cl_s + cd_s + lift_to_drag + cm_s_c):
            style["label"] += " (no finite values)"
        lift.plot(aoa, cl_s, **style)
        drag.plot(aoa, cd_s, **style)
        ratio.plot(aoa, lift_to_drag, **style)
        polar.plot(cd_s, cl_s, **style)
        if moment:
            pitch.plot(aoa, cm_s_c, **style)
            pitch_polar.plot(cl_s, cm_s_c, **style)

    panels = [
        (lift, "Lift (CL*S = lift / dynamic pressure)", "AOA [deg]", "CL*S [m²]"),
        (drag, "Drag (CD*S = drag / dynamic pressure)", "AOA [deg]", "CD*S [m²]"),
        (ratio, "Lift-to-drag ratio", "AOA [deg]", "L/D [–]"),
        (polar, "Drag polar", "CD*S [m²]", "CL*S [m²]"),
    ]
    if moment:
        panels += [
            (pitch, "Pitching moment (nose-up positive)", "AOA [deg]", "CM*S*c [m³]"),
            (pitch_polar, "Pitching moment against lift", "CL*S [m²]", "CM*S*c [m³]"),
        ]
    at = min(row.mach for row in report.rows) if sideslip_mach is None else sideslip_mach
    if sideways:
        yaw, roll = figure.add_subplot(grid[0, 3]), figure.add_subplot(grid[1, 3])
        _draw_sideslip(matplotlib, figure, yaw, roll, sideslip_curves(report, at))
        panels += [
            (yaw, "Yawing moment at Mach %s (nose right positive)" % g6(at), "Sideslip [deg]",
             "Cn*S*b [m³]"),
            (roll, "Rolling moment at Mach %s (right wing down positive)" % g6(at),
             "Sideslip [deg]", "Cl*S*b [m³]"),
        ]
        for panel in (yaw, roll):
            panel.axhline(0.0, color="grey", linewidth=0.8)
            panel.axvline(0.0, color="grey", linewidth=0.8)
    if control:
        at_column = 2 + moment + sideways
        top, bottom = figure.add_subplot(grid[0, at_column]), figure.add_subplot(
            grid[1, at_column]
        )
        if moment:
            colour_of = dict(zip(machs, colours))
            for mach, at_levels, trims in trim_curves(report):
                top.plot(at_levels, trims, color=colour_of.get(mach, "grey"), marker="o",
                         markersize=3, linewidth=1.5, label="Mach %s" % g6(mach))
            _draw_levels(matplotlib, figure, bottom, level_curves(report, at, MOMENT))
            panels += [
                (top, "Trim AOA against control level (statically stable trims)",
                 "Control level", "Trim AOA [deg]"),
                (bottom, "Pitching moment per control level at Mach %s" % g6(at), "AOA [deg]",
                 "CM*S*c [m³]"),
            ]
        else:
            _draw_levels(matplotlib, figure, top, level_curves(report, at, LIFT_TOTAL))
            _draw_levels(matplotlib, figure, bottom, level_curves(report, at, DRAG_TOTAL),
                         legend=False)
            panels += [
                (top, "Total lift per control level at Mach %s" % g6(at), "AOA [deg]",
                 "CL*S total [m²]"),
                (bottom, "Total drag per control level at Mach %s" % g6(at), "AOA [deg]",
                 "CD*S total [m²]"),
            ]
        for panel in (top, bottom):
            panel.axhline(0.0, color="grey", linewidth=0.8)
            panel.axvline(0.0, color="grey", linewidth=0.8)
    if roots:
        root_map = figure.add_subplot(grid[:, columns - 1])
        _draw_root_map(matplotlib, root_map, roots)
        panels.append((root_map, "Modes of motion at the level-flight trim (aeroquin-report modes)",
                       "Real part [1/s]", "Imaginary part [rad/s]"))
    for panel, title, xlabel, ylabel in panels:
        panel.set_title(title)
        panel.set_xlabel(xlabel)
        panel.set_ylabel(ylabel)
        panel.grid(True, alpha=0.3)
    for panel in (lift, ratio, polar) + ((pitch, pitch_polar) if moment else ()):
        panel.axhline(0.0, color="grey", linewidth=0.8)
    for panel in (lift, drag, ratio) + ((pitch,) if moment else ()):
        panel.axvline(0.0, color="grey", linewidth=0.8)

    # The header's counts, else the rows'.
    counts = {name: count for name, (count, _) in zip(report.middle_axes(), middle_counts(report))}
    sideslips, levels = counts.get(SIDESLIP, 0), counts.get(CONTROL, 0)
    rates = counts.get(RATE, 0)
    title = (
        "%s: Aeroquin capture of %d Mach numbers × %s%s%s%d angles of attack, started %s UTC"
    ) % (
        report.vessel_class or "(no class)",
        report.mach_count,
        "%d control levels × " % levels if levels else "",
        "%d sideslip angles × " % sideslips if sideslips else "",
        "%d rates × " % rates if rates else "",
        report.aoa_count,
        _readable_time(report.start_time),
    )
    point = reference(report)
    if point:
        title += "\nLift, drag and pitch at " + point_text(point)
    figure.suptitle(title, fontsize=14)
    notes = []
    if len(curves) > LEGEND_LIMIT:
        from matplotlib.colors import ListedColormap, Normalize

        scale = ListedColormap(palette([SCALE_END * i / 255 for i in range(256)]))
        mappable = matplotlib.cm.ScalarMappable(Normalize(machs[0], machs[-1]), scale)
        figure.colorbar(mappable, ax=side, location="left", fraction=0.5, label="Mach number")
        empty = [
            g6(mach)
            for mach, _, cl_s, cd_s, lift_to_drag, cm_s_c in curves
            if all(math.isnan(v) for v in cl_s + cd_s + lift_to_drag + cm_s_c)
        ]
        if empty:
            notes.append("No finite values at\nMach " + ", ".join(empty))
    elif curves:
        side.legend(
            *lift.get_legend_handles_labels(), loc="upper left", title="Mach number", fontsize=10
        )
    short = cut_short(report)
    if short:
        # One clause a line: the side panel is narrow.
        notes.append(short.replace(": ", ":\n", 1).replace("; ", ";\n"))
    if level_spread(report):
        # Short lines: the side panel is narrow.
        notes.append("The control levels\nas written do not\nform a grid; each\nrow counts at the\n"
                     "level written in it.")
    flagged = [row for row in report.rows if row.flags()]
    if flagged:
        notes.append(
            "%d of %d rows flagged\n(non-finite values or\nnegative drag);\nnon-finite values\n"
            "are left out." % (len(flagged), len(report.rows))
        )
    if notes:
        side.text(
            0.0,
            0.0,
            "\n\n".join(notes),
            fontsize=9,
            color="darkred",
            va="bottom",
            transform=side.transAxes,
        )
    try:
        figure.savefig(path)
    finally:
        pyplot.close(figure)


def _draw_sideslip(
    matplotlib: Any,
    figure: Any,
    yaw: Any,
    roll: Any,
    curves: list[tuple[float, list[float], list[float], list[float]]],
) -> None:
    """Cn*S*b and Cl*S*b against the sideslip, one curve per AOA: a legend of AOAs, or a colour
    bar of AOA for more curves than a legend holds. A sequential scale other than the Mach
    numbers' colours, since the AOAs are ordered."""
    aoas = [curve[0] for curve in curves]
    palette = matplotlib.colormaps["plasma"]
    span = (aoas[-1] - aoas[0]) or 1.0
    colours = [palette(SCALE_END * (aoa - aoas[0]) / span) for aoa in aoas]
    for colour, (aoa, sideslip, cn, cl) in zip(colours, curves):
        style = dict(
            color=colour, marker="o", markersize=3, linewidth=1.5, label="AOA %s" % g6(aoa)
        )
        yaw.plot(sideslip, cn, **style)
        roll.plot(sideslip, cl, **style)
    if len(curves) <= LEGEND_LIMIT:
        yaw.legend(title="AOA [deg]", fontsize=9)
    else:
        from matplotlib.colors import ListedColormap, Normalize

        scale = ListedColormap(palette([SCALE_END * i / 255 for i in range(256)]))
        mappable = matplotlib.cm.ScalarMappable(Normalize(aoas[0], aoas[-1]), scale)
        figure.colorbar(mappable, ax=[yaw, roll], label="AOA [deg]")


def _draw_levels(
    matplotlib: Any,
    figure: Any,
    panel: Any,
    curves: list[tuple[float, list[float], list[float]]],
    legend: bool = True,
) -> None:
    """A column against AOA, one curve per control level: a sequential scale, as the levels are
    ordered; a legend of levels, or a colour bar for more curves than a legend holds."""
    levels = [curve[0] for curve in curves]
    palette = matplotlib.colormaps["plasma"]
    span = ((levels[-1] - levels[0]) or 1.0) if levels else 1.0
    for level, aoa, values in curves:
        colour = palette(SCALE_END * (level - levels[0]) / span)
        panel.plot(aoa, values, color=colour, marker="o", markersize=3, linewidth=1.5,
                   label="level %s" % g6(level))
    if not legend or not curves:
        return
    if len(curves) <= LEGEND_LIMIT:
        panel.legend(title="Control level", fontsize=9)
    else:
        from matplotlib.colors import ListedColormap, Normalize

        scale = ListedColormap(palette([SCALE_END * i / 255 for i in range(256)]))
        mappable = matplotlib.cm.ScalarMappable(Normalize(levels[0], levels[-1]), scale)
        figure.colorbar(mappable, ax=panel, label="Control level")
