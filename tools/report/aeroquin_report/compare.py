"""Row-by-row comparison of two reports of the same grid."""

import math
from dataclasses import dataclass, field
from typing import Optional, cast

from . import texttable
from .numtext import g6
from .report import COLUMNS, COLUMNS_WITH_MOMENT, MOMENT, Report, Row, cut_short

# The measured columns; Mach number and AOA make the grid. CM*S*c when both reports have it.
COMPARED = tuple(range(2, len(COLUMNS)))
COMPARED_WITH_MOMENT = tuple(range(2, len(COLUMNS_WITH_MOMENT)))


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
    for index, (key_a, key_b) in enumerate(zip(keys_a, keys_b)):
        if key_a != key_b:
            differences.append(
                "row %d is Mach %s, AOA %s in A (line %d) but Mach %s, AOA %s in B (line %d)"
                % (
                    index + 1,
                    g6(key_a[0]),
                    g6(key_a[1]),
                    a.rows[index].line,
                    g6(key_b[0]),
                    g6(key_b[1]),
                    b.rows[index].line,
                )
            )
            break
    # Compare what the two have in common: the first row of each grid point.
    first_b: dict[tuple[float, float], Row] = {}
    for row in b.rows:
        first_b.setdefault(row.key(), row)
    pairs: list[tuple[Row, Row]] = []
    used: set[tuple[float, float]] = set()
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
    both = a.has_moment and b.has_moment
    notes = []
    if a.has_moment != b.has_moment:
        notes.append(
            "only %s has the column %s; the %d columns of both are compared"
            % ("A" if a.has_moment else "B", MOMENT, len(COLUMNS))
        )
    columns = []
    for index in COMPARED_WITH_MOMENT if both else COMPARED:
        entry = ColumnDeviation(COLUMNS_WITH_MOMENT[index])
        for row_a, row_b in pairs:
            va, vb = row_a.values()[index], row_b.values()[index]
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
    lines += ["Note: " + note for note in result.notes]
    if result.grid_differences:
        lines.append("Grids differ:")
        lines += ["  " + difference for difference in result.grid_differences]
    lines.append("Rows compared: %d" % result.pairs)
    if result.pairs:
        table = []
        for column in result.columns:
            index = COLUMNS_WITH_MOMENT.index(column.column)
            # Rows are set once a pair is compared.
            row_a, row_b = cast(Row, column.row_a), cast(Row, column.row_b)
            where = [g6(row_a.mach), g6(row_a.aoa)]
            values = [g6(row_a.values()[index]), g6(row_b.values()[index])]
            if column.deviation == 0:
                where = values = ["-", "-"]
            table.append(
                [column.column, g6(column.deviation)]
                + where
                + values
                + ["beyond tolerance" if column.beyond else "ok"]
            )
        headers = ["Column", "largest deviation", "at Mach", "at AOA", "A", "B", ""]
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
