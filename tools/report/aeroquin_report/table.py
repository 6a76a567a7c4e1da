"""Coefficient tables from a report: cl = CL*S / S and cd = CD*S / S over the captured grid, and
cm = CM*S*c / (S c) when the report has the pitching moment and the reference chord c is given.
A report with a sideslip or a control axis gives the table of its rows at sideslip 0 and control
level 0: an airfoil's coefficients depend on Mach number and AOA only."""

import math
import os
import re
from dataclasses import dataclass
from typing import Optional, cast

from .numtext import exact, g6
from .report import (
    MIDDLE_AXES,
    NO_LEVEL_GRID,
    PITCH,
    RATE,
    AxisValue,
    RatePoint,
    Report,
    ReportError,
    Row,
    cut_short,
    grid_axes,
    grid_holes,
    header_mismatch,
    level_counts,
    level_spread,
    rows_at,
)

# Non-finite rows named one by one in the error; the rest only counted.
MAX_LISTED_ROWS = 5

_IDENTIFIER = re.compile(r"[A-Za-z_][A-Za-z0-9_]*")


@dataclass
class CoefficientGrid:
    machs: list[float]
    aoas: list[float]  # deg
    cl: list[list[float]]  # [mach index][aoa index]
    cd: list[list[float]]
    warnings: list[str]
    cm: Optional[list[list[float]]] = None  # with a reference chord
    chord: Optional[float] = None  # m


def coefficient_grid(report: Report, area: float, chord: float | None = None) -> CoefficientGrid:
    """The coefficients over the report's complete grid, for the reference area `area` (m^2),
    with cm for the reference chord `chord` (m) when given: the report must then have CM*S*c.
    Raises ReportError when the rows do not make a table the host can fly."""
    if chord is not None and not report.has_moment:
        raise ReportError(
            "%s: --chord gives cm = CM*S*c / (S c), but the report has no CM*S*c column"
            % report.path
        )
    if not report.rows:
        raise ReportError("%s: cannot make a table: the report holds no rows" % report.path)
    # A table of part of the grid would hold its edge values over the rest.
    short = cut_short(report)
    if short:
        raise ReportError("%s: cannot make a table: %s" % (report.path, short))
    spread = level_spread(report)
    if spread:
        # Points that ran at another level may be missing at level 0, or stand in for its own.
        raise ReportError(
            "%s: cannot make a table: %s; %s"
            % (report.path, NO_LEVEL_GRID, level_counts(report, spread))
        )
    holes = grid_holes(report)
    if holes:
        raise ReportError(
            "%s: cannot make a table, the grid is not complete: %s"
            % (report.path, "; ".join(holes))
        )
    rows = report.rows
    if report.middle_axes():
        # Of the rate axis's three points at 0, the pitch axis's.
        zero = {name: RatePoint(PITCH, 0.0) if name == RATE else 0.0
                for name in report.middle_axes()}
        rows = rows_at(rows, cast(dict[str, AxisValue], zero))
        if not rows:
            raise ReportError(
                "%s: cannot make a table: a table holds the rows at %s, and the report has none"
                % (report.path, slice_text(report))
            )
    with_cm = chord is not None

    def used(row: Row) -> tuple[float, ...]:
        return (row.cl_s, row.cd_s) + ((cast(float, row.cm_s_c),) if with_cm else ())

    unusable = [row for row in rows if not all(math.isfinite(v) for v in used(row))]
    if unusable:
        named = ", ".join(
            "line %d (%s: CL*S %s, CD*S %s%s)"
            % (
                row.line,
                row.where(),
                g6(row.cl_s),
                g6(row.cd_s),
                ", CM*S*c %s" % g6(cast(float, row.cm_s_c)) if with_cm else "",
            )
            for row in unusable[:MAX_LISTED_ROWS]
        )
        more = len(unusable) - MAX_LISTED_ROWS
        raise ReportError(
            "%s: cannot make a table: %d rows have a non-finite %s: %s%s"
            % (
                report.path,
                len(unusable),
                "CL*S, CD*S or CM*S*c" if with_cm else "CL*S or CD*S",
                named,
                " and %d more" % more if more > 0 else "",
            )
        )
    warnings = []
    mismatch = header_mismatch(report)
    if mismatch:
        warnings.append("%s: %s; the table covers the rows only" % (report.path, mismatch))
    negative = [row for row in rows if row.cd_s < 0]
    if negative:
        warnings.append(
            "%s: %d rows have negative drag, first line %d (%s)"
            % (report.path, len(negative), negative[0].line, negative[0].where())
        )
    machs, aoas = grid_axes(rows)
    by_key = {(row.mach, row.aoa): row for row in rows}
    cl = [[by_key[(m, a)].cl_s / area for a in aoas] for m in machs]
    cd = [[by_key[(m, a)].cd_s / area for a in aoas] for m in machs]
    grid = CoefficientGrid(machs, aoas, cl, cd, warnings)
    if chord is not None:
        grid.chord = chord
        grid.cm = [
            [cast(float, by_key[(m, a)].cm_s_c) / (area * chord) for a in aoas] for m in machs
        ]
    return grid


def slice_text(report: Report) -> str:
    """"sideslip 0": where on the middle axes the table's rows lie."""
    return ", ".join(MIDDLE_AXES[name] + " 0" for name in report.middle_axes())


def _origin(report: Report, grid: CoefficientGrid, area: float) -> list[str]:
    lines = [
        "Aeroquin capture of %s, started %s UTC (report %s)"
        % (report.vessel_class, report.start_time, os.path.basename(report.path)),
        "cl = CL*S / S, cd = CD*S / S with the reference area S = %s m^2" % exact(area),
    ]
    if grid.chord is not None:
        lines.append(
            "cm = CM*S*c / (S c) with the reference chord c = %s m; positive nose-up"
            % exact(grid.chord)
        )
    if report.middle_axes():
        lines.append("the report's rows at %s; its other rows are left out" % slice_text(report))
    return lines


def csv_text(report: Report, grid: CoefficientGrid, area: float) -> str:
    """The host's vessel table: comment lines, the line "mach,aoa,cl,cd" (with cm:
    "mach,aoa,cl,cm,cd"), one row per point, Mach ascending, then AOA ascending. Raises
    ReportError for a grid narrower than the 2 x 2 points that the host interpolates over."""
    if len(grid.machs) < 2 or len(grid.aoas) < 2:
        raise ReportError(
            "%s: cannot make a vessel table: the host needs at least 2 Mach numbers and 2 AOAs,"
            " the report has %d and %d (--format cpp has no such limit)"
            % (report.path, len(grid.machs), len(grid.aoas))
        )
    lines = ["# " + line for line in _origin(report, grid, area)]
    # The host's column order: cm between cl and cd.
    lines.append("mach,aoa,cl,cd" if grid.cm is None else "mach,aoa,cl,cm,cd")
    for i, mach in enumerate(grid.machs):
        for j, aoa in enumerate(grid.aoas):
            values = [mach, aoa, grid.cl[i][j], grid.cd[i][j]]
            if grid.cm is not None:
                values.insert(3, grid.cm[i][j])
            lines.append(",".join(exact(value) for value in values))
    return "\n".join(lines) + "\n"


def default_name(vessel_class: str) -> str:
    """A C++ namespace name made from the class name: each run of other characters becomes one
    '_', so the name holds no reserved double underscore and no leading one."""
    stem = re.sub(r"[^A-Za-z0-9]+", "_", vessel_class).strip("_")
    if not stem or stem[0].isdigit():
        stem = "vessel_" + stem if stem else "vessel"
    return stem + "_aero"


def valid_name(name: str) -> bool:
    """A C++ identifier that the language does not reserve."""
    return bool(_IDENTIFIER.fullmatch(name)) and "__" not in name and not name.startswith("_")


def _literal(value: float) -> str:
    text = exact(value)
    if not any(c in text for c in ".e"):
        text += ".0"
    return text


def _array(values: list[float]) -> str:
    return "{" + ", ".join(_literal(v) for v in values) + "}"


def _matrix(name: str, rows: list[list[float]]) -> str:
    body = ",\n".join("    " + _array(row) for row in rows)
    return "inline constexpr double %s[kMachCount][kAoaCount] = {\n%s,\n};" % (name, body)


_CPP_FUNCTIONS = """\
namespace detail {

// The cell of `x` on an ascending axis: lower index, upper index and weight of the upper one.
// Beyond the axis the end value is held.
inline void locate(const double* axis, std::size_t count, double x, std::size_t& lower,
                   std::size_t& upper, double& weight) {
    lower = 0;
    upper = 0;
    weight = 0.0;
    if (count < 2 || x <= axis[0]) return;
    if (x >= axis[count - 1]) {
        lower = upper = count - 1;
        return;
    }
    std::size_t high = count - 1;  // axis[lower] <= x < axis[high]
    while (high - lower > 1) {
        const std::size_t middle = lower + (high - lower) / 2;
        if (axis[middle] <= x) {
            lower = middle;
        } else {
            high = middle;
        }
    }
    upper = lower + 1;
    weight = (x - axis[lower]) / (axis[upper] - axis[lower]);
}

inline double bilinear(const double (&table)[kMachCount][kAoaCount], double mach, double aoaDeg) {
    std::size_t m0, m1, a0, a1;
    double tm, ta;
    locate(kMach, kMachCount, mach, m0, m1, tm);
    locate(kAoaDeg, kAoaCount, aoaDeg, a0, a1, ta);
    const double low = table[m0][a0] + ta * (table[m0][a1] - table[m0][a0]);
    const double high = table[m1][a0] + ta * (table[m1][a1] - table[m1][a0]);
    return low + tm * (high - low);
}

}  // namespace detail

// Lift and drag coefficients at Mach `mach` and angle of attack `aoaDeg` (degrees).
inline void coefficients(double mach, double aoaDeg, double& cl, double& cd) {
    cl = detail::bilinear(kCl, mach, aoaDeg);
    cd = detail::bilinear(kCd, mach, aoaDeg);
}
"""

_CPP_MOMENT_FUNCTION = """
// Lift, pitching moment (positive nose-up) and drag coefficients, in an airfoil callback's order.
inline void coefficients(double mach, double aoaDeg, double& cl, double& cm, double& cd) {
    coefficients(mach, aoaDeg, cl, cd);
    cm = detail::bilinear(kCm, mach, aoaDeg);
}
"""


def cpp_text(report: Report, grid: CoefficientGrid, area: float, name: str) -> str:
    """A C++17 lookup table with bilinear interpolation, ready to paste into an add-on."""
    moment = grid.cm is not None
    lines = ["// %s." % line for line in _origin(report, grid, area)]
    lines += [
        "// Grid: %d Mach numbers x %d angles of attack (deg). Between grid points the"
        % (len(grid.machs), len(grid.aoas)),
        "// coefficients are interpolated bilinearly; beyond the grid the edge values are held.",
        "//",
        "// In an airfoil coefficient callback, whose angle of attack is in radians:",
        "//     double cl, cm, cd;" if moment else "//     double cl, cd;",
        "//     %s::coefficients(M, aoa * 57.29577951308232, %s);"
        % (name, "cl, cm, cd" if moment else "cl, cd"),
    ]
    if moment:
        lines += [
            "// The captured moment is about the centre of gravity: to fly it, give the airfoil",
            "// its reference point there (0, 0, 0), the chord c and the area S.",
        ]
    lines += [
        "#include <cstddef>",
        "",
        "namespace %s {" % name,
        "",
        "inline constexpr std::size_t kMachCount = %d;" % len(grid.machs),
        "inline constexpr std::size_t kAoaCount = %d;" % len(grid.aoas),
        "inline constexpr double kMach[kMachCount] = %s;" % _array(grid.machs),
        "inline constexpr double kAoaDeg[kAoaCount] = %s;  // deg" % _array(grid.aoas),
        "// [Mach index][AOA index]",
        _matrix("kCl", grid.cl),
    ]
    if grid.cm is not None:
        lines.append(_matrix("kCm", grid.cm))
    lines += [
        _matrix("kCd", grid.cd),
        "",
        (_CPP_FUNCTIONS + (_CPP_MOMENT_FUNCTION if moment else "")).rstrip("\n"),
        "",
        "}  // namespace %s" % name,
    ]
    return "\n".join(lines) + "\n"
