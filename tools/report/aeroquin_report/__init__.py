"""Reads Aeroquin capture reports: summary, figure, comparison and coefficient tables."""

from importlib import metadata
from pathlib import Path


def _version() -> str:
    """The project's one version: the VERSION file at the source tree's root, or the copy
    CMake installs beside this package; installed by pip, the version its build read from that
    file."""
    here = Path(__file__).resolve().parent
    for candidate in (here / "VERSION", here.parents[2] / "VERSION"):
        if candidate.is_file():
            return candidate.read_text(encoding="ascii").strip()
    try:
        return metadata.version("aeroquin-report")
    except metadata.PackageNotFoundError:
        raise RuntimeError("aeroquin-report: no VERSION file beside " + str(here)) from None


VERSION = _version()
