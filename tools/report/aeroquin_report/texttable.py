"""Plain-text tables with columns aligned on blanks."""

from collections.abc import Sequence


def render(
    headers: Sequence[str], rows: Sequence[Sequence[str]], indent: str = ""
) -> list[str]:
    """Lines of a left-aligned table; two blanks between columns, no trailing blanks."""
    widths = [len(h) for h in headers]
    for row in rows:
        widths = [max(w, len(cell)) for w, cell in zip(widths, row)]
    lines = []
    for cells in [headers] + list(rows):
        text = "  ".join(cell.ljust(width) for cell, width in zip(cells, widths))
        lines.append(indent + text.rstrip())
    return lines
