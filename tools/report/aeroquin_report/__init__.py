"""Reads Aeroquin capture reports: summary, figure, comparison and coefficient tables."""

from pathlib import Path


def _version() -> str:
    """The project's one version: the VERSION file at the source tree's root, or the copy
    installed beside this package."""
    here = Path(__file__).resolve().parent
    for candidate in (here / "VERSION", here.parents[2] / "VERSION"):
        if candidate.is_file():
            return candidate.read_text(encoding="ascii").strip()
    raise RuntimeError("aeroquin-report: no VERSION file beside " + str(here))


VERSION = _version()
