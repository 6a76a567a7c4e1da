"""Number text as the module writes it, and as this tool reads it back."""

import math
import re

# What a C++ output stream writes for a double in its default state (printf %g, 6 digits),
# including the non-finite forms of glibc ("inf", "-nan") and of MSVC ("-nan(ind)").
_NUMBER = re.compile(
    r"[+-]?(?:(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?|inf(?:inity)?|nan(?:\([A-Za-z0-9_]*\))?)",
    re.IGNORECASE,
)


def parse_number(text: str) -> float | None:
    """The double that `text` stands for, or None when it is not a number of that form.

    Stricter than float(): no underscores, no blanks inside, nothing after the number.
    """
    if not _NUMBER.fullmatch(text):
        return None
    lowered = text.lower()
    if "nan" in lowered:
        return math.nan
    return float(lowered)


# A value below this part of its scale (a column's largest finite magnitude) is rounding residue
# of a quantity that is 0 in exact arithmetic, such as -1.1e-16 for a level meant to be 0.
RESIDUE = 1e-9


def residue_free(value: float, scale: float) -> float:
    """`value`, or 0 when it is rounding residue against `scale` (and for -0)."""
    return 0.0 if abs(value) < RESIDUE * scale else value + 0.0


def g6(value: float) -> str:
    """printf %g with 6 significant digits; NaN of either sign reads "nan", -0 reads "0"."""
    if math.isnan(value):
        return "nan"
    return "%g" % (value + 0.0)


def exact(value: float) -> str:
    """Text that keeps 12 significant digits: far beyond the 6 of a report, without float noise."""
    return "%.12g" % value
