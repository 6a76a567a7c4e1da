"""Plain-text tables with columns aligned on blanks."""


def render(headers, rows, indent=""):
    """Lines of a left-aligned table; two blanks between columns, no trailing blanks."""
    widths = [len(h) for h in headers]
    for row in rows:
        widths = [max(w, len(cell)) for w, cell in zip(widths, row)]
    lines = []
    for cells in [headers] + list(rows):
        text = "  ".join(cell.ljust(width) for cell, width in zip(cells, widths))
        lines.append(indent + text.rstrip())
    return lines
