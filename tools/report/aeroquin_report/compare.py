"""Row-by-row comparison of two reports of the same grid, column by column of the names that both
column lines have."""

import math
from dataclasses import dataclass, field
from typing import Optional, cast

from . import texttable
from .numtext import g6
from .report import (
    MIDDLE_AXES,
    NO_LEVEL_GRID,
    RATES,
    AxisValue,
    Report,
    Row,
    axis_text,
    cut_short,
    level_counts,
    level_spread,
)

# Mach number, AOA and the middle axes make the grid; the other columns are compared.
GRID_COLUMNS = ("Mach Number", "AOA") + tuple(MIDDLE_AXES) + RATES


def relative_deviation(a: float, b: float) -> float:
    """|a - b| / max(|a|, |b|); 0 for equal values, two NaNs and two equal infinities included;
    infinite when they differ and either is not finite."""
    if math.isnan(a) and math.isnan(b):
        return 0.0
    if a == b:
        return 0.0
    if not (math.isfinite(a) and math.isfinite(b)):
        return math.inf
    return abs(a - b) / max(abs(a), abs(b))


@dataclass
class ColumnDeviation:
    column: str
    deviation: float = 0.0  # relative
    row_a: Optional[Row] = None
    row_b: Optional[Row] = None
    beyond: bool = False  # some pair exceeds both tolerances


@dataclass
class Comparison:
    columns: list[ColumnDeviation]
    pairs: int
    grid_differences: list[str]
    # What else differs and is not compared: the column of one report alone.
    notes: list[str] = field(default_factory=list)

    def passed(self) -> bool:
        return not self.grid_differences and not any(c.beyond for c in self.columns)


def _pairs(a: Report, b: Report) -> tuple[list[tuple[Row, Row]], list[str]]:
    """Rows of equal grid point, and what differs in the grids."""
    keys_a = [row.key() for row in a.rows]
    keys_b = [row.key() for row in b.rows]
    differences = []
    if (a.mach_count, a.aoa_count) != (b.mach_count, b.aoa_count):
        differences.append(
            "the headers announce %d Mach x %d AOA (A) and %d Mach x %d AOA (B)"
            % (a.mach_count, a.aoa_count, b.mach_count, b.aoa_count)
        )
    if keys_a == keys_b:
        return list(zip(a.rows, b.rows)), differences
    if len(keys_a) != len(keys_b):
        differences.append("A has %d rows, B has %d" % (len(keys_a), len(keys_b)))
    for index, (row_a, row_b) in enumerate(zip(a.rows, b.rows)):
        if row_a.key() != row_b.key():
            differences.append(
                "row %d is %s in A (line %d) but %s in B (line %d)"
                % (index + 1, row_a.where(), row_a.line, row_b.where(), row_b.line)
            )
            break
    # Compare what the two have in common: the first row of each grid point.
    first_b: dict[tuple[AxisValue, ...], Row] = {}
    for row in b.rows:
        first_b.setdefault(row.key(), row)
    pairs: list[tuple[Row, Row]] = []
    used: set[tuple[AxisValue, ...]] = set()
    for row in a.rows:
        if row.key() in first_b and row.key() not in used:
            used.add(row.key())
            pairs.append((row, first_b[row.key()]))
    differences.append("%d grid points in common" % len(pairs))
    return pairs, differences


def compare(a: Report, b: Report, tolerance: float, abs_tolerance: float = 0.0) -> Comparison:
    """Largest relative deviation per measured column. A pair of values is beyond tolerance
    when it deviates by more than `tolerance` relatively and by more than `abs_tolerance`."""
    pairs, differences = _pairs(a, b)
    common = [name for name in a.columns if name in b.columns]
    alone = []
    for name, report, other in (("A", a, b), ("B", b, a)):
        only = [column for column in report.columns if column not in other.columns]
        if only:
            alone.append(
                "only %s has the column%s %s"
                % (name, "s" if len(only) > 1 else "", ", ".join(only))
            )
    notes = []
    if alone:
        notes.append("; ".join(alone) + "; the %d columns of both are compared" % len(common))
    columns = []
    for name in common:
        if name in GRID_COLUMNS:
            continue
        entry = ColumnDeviation(name)
        for row_a, row_b in pairs:
            va, vb = row_a.value(name), row_b.value(name)
            deviation = relative_deviation(va, vb)
            # A deviation of 0 includes two NaNs, which isclose() holds apart.
            close = math.isclose(va, vb, rel_tol=tolerance, abs_tol=abs_tolerance)
            if not (close or deviation == 0):
                entry.beyond = True
            if deviation > entry.deviation or entry.row_a is None:
                entry.deviation, entry.row_a, entry.row_b = deviation, row_a, row_b
        columns.append(entry)
    return Comparison(columns, len(pairs), differences, notes)


def comparison_lines(
    a: Report, b: Report, result: Comparison, tolerance: float, abs_tolerance: float
) -> list[str]:
    """The text of `aeroquin-report compare`."""
    lines = [
        "A: %s (%s, %s)" % (a.path, a.vessel_class, a.start_time),
        "B: %s (%s, %s)" % (b.path, b.vessel_class, b.start_time),
        "Tolerance: %s relative" % g6(tolerance)
        + (", %s absolute" % g6(abs_tolerance) if abs_tolerance > 0 else ""),
    ]
    for name, report in (("A", a), ("B", b)):
        note = cut_short(report)
        if note:
            lines.append("Note: %s: %s" % (name, note))
        spread = level_spread(report)
        if spread:
            lines.append(
                "Note: %s: %s; %s" % (name, NO_LEVEL_GRID, level_counts(report, spread))
            )
    lines += ["Note: " + note for note in result.notes]
    if result.grid_differences:
        lines.append("Grids differ:")
        lines += ["  " + difference for difference in result.grid_differences]
    lines.append("Rows compared: %d" % result.pairs)
    if result.pairs:
        middle = [name for name in a.middle_axes() if name in b.middle_axes()]
        table = []
        for column in result.columns:
            # Rows are set once a pair is compared.
            row_a, row_b = cast(Row, column.row_a), cast(Row, column.row_b)
            where = [g6(row_a.mach)] + [axis_text(row_a.axis_value(name)) for name in middle]
            where.append(g6(row_a.aoa))
            values = [g6(row_a.value(column.column)), g6(row_b.value(column.column))]
            if column.deviation == 0:
                where, values = ["-"] * len(where), ["-", "-"]
            table.append(
                [column.column, g6(column.deviation)]
                + where
                + values
                + ["beyond tolerance" if column.beyond else "ok"]
            )
        headers = (
            ["Column", "largest deviation", "at Mach"]
            + ["at " + MIDDLE_AXES[name] for name in middle]
            + ["at AOA", "A", "B", ""]
        )
        lines.append("")
        lines += texttable.render(headers, table)
        lines.append("")
    beyond = [column.column for column in result.columns if column.beyond]
    if result.grid_differences:
        lines.append("Result: grids differ")
    elif beyond:
        lines.append("Result: beyond tolerance in " + ", ".join(beyond))
    else:
        lines.append("Result: within tolerance")
    if result.grid_differences and beyond:
        lines[-1] += "; beyond tolerance in " + ", ".join(beyond)
    return lines
