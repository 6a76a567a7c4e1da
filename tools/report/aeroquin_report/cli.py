"""Command line of aeroquin-report.

Exit status: 0 done; 1 `compare` found the reports beyond tolerance or on different grids;
2 error (bad arguments, unreadable or malformed report, a report that cannot become a table,
an output file that cannot be written); 3 `plot` left out the figure because matplotlib is not
installed, or `modes` the modes because numpy is not (a note, not a failure of the report);
4 `modes` found no modes: the report lacks what they need, or no trim lies within its grid.
"""

import argparse
import math
import os
import sys

from . import VERSION
from .compare import compare, comparison_lines
from .numtext import g6
from .report import (
    CONTROL,
    NO_LEVEL_GRID,
    ReportError,
    cut_short,
    level_counts,
    level_spread,
    read_report,
)
from .summary import References, summary_lines

PROG = "aeroquin-report"
EXIT_OK = 0
EXIT_DIFFERENT = 1
EXIT_ERROR = 2
EXIT_NO_MATPLOTLIB = 3
EXIT_NO_MODES = 4

# The interpreter that Debian's Python packages, python3-matplotlib among them, belong to.
DEBIAN_PYTHON = "/usr/bin/python3"

REPORT_HELP = "a capture report written by Aeroquin"


def _non_negative(text: str) -> float:
    try:
        value = float(text)
    except ValueError:
        raise argparse.ArgumentTypeError("%r is not a number" % text) from None
    if not (math.isfinite(value) and value >= 0):
        raise argparse.ArgumentTypeError("%r is not a finite number >= 0" % text)
    return value


def _positive(text: str) -> float:
    value = _non_negative(text)
    if value == 0:
        raise argparse.ArgumentTypeError("%r is not a number > 0" % text)
    return value


def _parser() -> argparse.ArgumentParser:
    parser = argparse.ArgumentParser(
        prog=PROG,
        description="Reads Aeroquin capture reports.",
        epilog="Exit status: 0 done; 1 compare: beyond tolerance or grids differ; 2 error;"
        " 3 plot: matplotlib is not installed, no figure written; modes: numpy is not installed;"
        " 4 modes: the report lacks what the modes need, or no level-flight trim lies within its"
        " grid.",
    )
    parser.add_argument("--version", action="version", version="%s %s" % (PROG, VERSION))
    commands = parser.add_subparsers(dest="command", required=True, metavar="COMMAND")

    summary = commands.add_parser(
        "summary",
        help="stall, least drag, best L/D and zero-lift AOA per Mach number; trim AOA and"
        " neutral point when the report has CM*S*c; damping derivatives with a rate axis; flight"
        " speeds with the vessel's mass",
        description="Per Mach number: the stall, the least drag, the best L/D and the zero-lift"
        " AOA. When the report has the pitching moment CM*S*c (positive nose-up), also the trim"
        " AOA, where CM*S*c crosses zero going down as the AOA rises (interpolated linearly"
        " between two rows; of several such crossings the first, at the lowest AOA), and the"
        " neutral point's distance behind the centre of gravity, -d(CM*S*c)/d(CL*S) between"
        ' those two rows (positive: statically stable). "unstable at A" when CM*S*c crosses'
        ' zero going up only (the neutral point is then that of the first such crossing),'
        ' "no trim within the range" when it does not cross zero, "CM*S*c 0 throughout" when'
        " it is 0 on every row. With a sideslip axis these are of the rows at the sideslip"
        " nearest 0, and a second table gives per Mach number the side force's, the yawing"
        " moment's and the rolling moment's slopes per degree of sideslip, at the trim AOA"
        " (else at the AOA nearest 0), with their verdicts (Cn_beta > 0: directionally stable;"
        " Cl_beta < 0: rolls away from the sideslip). A slope is the chord between the rows"
        " nearest 0 on either side, or, with rows on one side only, between the row at 0 and"
        " the nearest on that side; between two AOAs it is interpolated linearly in AOA. With a"
        " control axis these are of the rows at the level nearest 0, and a table gives per Mach"
        " number the control power per unit level (the slopes of CL*S total and, with CM*S*c,"
        " of CM*S*c, Cl*S*b and Cn*S*b, taken as the sideslip slopes are, at the trim AOA of"
        " that level) and the trim range: the AOAs at which the levels trim, statically"
        ' stable, or "cannot trim within the levels"; another gives the trim AOA at each level.'
        " Rows count at the level written in them; when those levels do not form a grid (the"
        " vessel moved the control at some points), notes say so. With --area (and --span,"
        " --chord) also the coefficients without dimensions: CL_alpha and Cm_alpha, CY_beta,"
        " Cn_beta and Cl_beta per radian at the same AOAs, and the control power per unit level"
        " divided by S, S*c or S*b. With a rate axis, per Mach number at the same AOA the damping"
        " derivatives per rad/s (d(CM*S*c)/dq, d(Cl*S*b)/dp, d(Cn*S*b)/dr, d(Cl*S*b)/dr,"
        " d(Cn*S*b)/dp) and the axes whose damping is the simulator's limit I/dt; with --area and"
        " the lengths also Cm_q, Cl_p, Cn_r, Cl_r and Cn_p. With the header's mass and gravity,"
        " per control level: the speeds of level flight at the trim, of the stall, of the best"
        " glide and of the least sink, where the lift carries the weight.",
    )
    summary.add_argument("report", metavar="REPORT", help=REPORT_HELP)
    summary.add_argument(
        "--area", metavar="S", type=_positive,
        help="reference area S in m^2: adds the coefficients without dimensions",
    )
    summary.add_argument(
        "--span", metavar="B", type=_positive,
        help="reference span b in m, with --area: adds Cn_beta, Cl_beta, dCl, dCn, Cl_p, Cn_r,"
        " Cl_r and Cn_p",
    )
    summary.add_argument(
        "--chord", metavar="C", type=_positive,
        help="reference chord c in m, with --area: adds Cm_alpha, dCm and Cm_q",
    )

    plot = commands.add_parser(
        "plot",
        help="CL*S, CD*S, L/D against AOA and the drag polar; CM*S*c against AOA and CL*S when"
        " the report has it; Cn*S*b and Cl*S*b against the sideslip when it has them; with a"
        " control axis the trim AOA against the level and CM*S*c per level (without CM*S*c:"
        " CL*S total and CD*S total per level)",
    )
    plot.add_argument("report", metavar="REPORT", help=REPORT_HELP)
    plot.add_argument(
        "-o",
        "--output",
        metavar="FILE",
        help="figure file, .png or .svg (default: the report's name with .png)",
    )
    plot.add_argument(
        "--mach",
        metavar="M",
        type=_non_negative,
        help="the Mach number of the Cn*S*b and Cl*S*b panels and of the control level panels"
        " (default: the report's lowest)",
    )

    modes = commands.add_parser(
        "modes",
        help="the modes of motion about each control level's level-flight trim (short period,"
        " phugoid, Dutch roll, roll subsidence, spiral), rated against MIL-F-8785C, Class I;"
        " needs the moments, a sideslip axis and a rate axis",
        description="For a report with ReportMoments = 1, a sideslip axis and a rate axis (and"
        " the header's mass, inertia and gravity): per control level, at summary's level-flight"
        " trim where it lies within the grid, the small-disturbance equations of motion in body"
        " axes from the report's derivatives, with a constant thrust along the body x axis that"
        " balances the drag; their eigenvalues as the short period (omega_n, zeta, period), the"
        " phugoid (period, zeta), the Dutch roll (omega_n, zeta, period), the roll subsidence"
        " (time constant; with the header's step also as the step flies it) and the spiral (time"
        " to half or to double), each rated Level 1, 2, 3 or worse against MIL-F-8785C (1980),"
        " Class I (small, light airplanes), with a hint for a mode below Level 1. A mode that"
        " does not appear as expected is named as what it is (two real roots, a coupled pair)."
        " Needs numpy.",
    )
    modes.add_argument("report", metavar="REPORT", help=REPORT_HELP)
    modes.add_argument(
        "--category", choices=("A", "B", "C"), default="B",
        help="the flight phase: A rapid manoeuvring or precise tracking, B climb, cruise and"
        " descent (default), C take-off, approach and landing",
    )

    comparison = commands.add_parser(
        "compare",
        help="largest deviation per column of two reports of the same grid, of the columns"
        " both have",
    )
    comparison.add_argument("a", metavar="A", help="the reference report")
    comparison.add_argument("b", metavar="B", help="the report compared with A")
    comparison.add_argument(
        "--tolerance",
        metavar="REL",
        type=_non_negative,
        default=1e-3,
        help="largest relative deviation |a-b|/max(|a|,|b|) accepted (default 0.001)",
    )
    comparison.add_argument(
        "--abs-tolerance",
        metavar="ABS",
        type=_non_negative,
        default=0.0,
        help="differences up to ABS are accepted whatever their relative size (default 0)",
    )

    table = commands.add_parser(
        "table",
        help="coefficient table cl = CL*S/S, cd = CD*S/S (with --chord also"
        " cm = CM*S*c/(S*c)) for the host or for C++; of the rows at sideslip 0 and control"
        " level 0 when the report has those axes",
    )
    table.add_argument("report", metavar="REPORT", help=REPORT_HELP)
    table.add_argument(
        "--area", metavar="S", type=_positive, required=True, help="reference area S in m^2"
    )
    table.add_argument(
        "--chord",
        metavar="C",
        type=_positive,
        help="reference chord c in m: adds cm = CM*S*c / (S c), for a report with CM*S*c"
        " (without it such a report's table has cl and cd only)",
    )
    table.add_argument(
        "--format",
        choices=("csv", "cpp"),
        default="csv",
        help="csv: the host's vessel table (default); cpp: C++17 table and interpolation",
    )
    table.add_argument(
        "--name", metavar="NAME", help="C++ namespace (default: from the vessel class)"
    )
    table.add_argument("-o", "--output", metavar="FILE", help="write to FILE, not to stdout")
    return parser


def _error(message: str) -> int:
    print("%s: error: %s" % (PROG, message), file=sys.stderr)
    return EXIT_ERROR


def _write_text(text: str, output: str | None) -> None:
    if output is None:
        sys.stdout.write(text)
        return
    try:
        with open(output, "w", encoding="utf-8", newline="\n") as file:
            file.write(text)
    except OSError as error:
        raise ReportError("cannot write %s: %s" % (output, error.strerror or error)) from None


def _summary(args: argparse.Namespace) -> int:
    if args.area is None and (args.span is not None or args.chord is not None):
        return _error("--span and --chord need --area")
    references = References(args.area, args.span, args.chord) if args.area else None
    print("\n".join(summary_lines(read_report(args.report), references)))
    return EXIT_OK


def _modes(args: argparse.Namespace) -> int:
    from .modes import NumpyMissing, modes_lines
    from .summary import MODES_NEED, and_list, modes_lacks

    report = read_report(args.report)
    lacks = modes_lacks(report)
    if lacks:
        print("%s: modes: needs %s; this one lacks %s" % (PROG, MODES_NEED, and_list(lacks)),
              file=sys.stderr)
        return EXIT_NO_MODES
    try:
        lines, computed = modes_lines(report, args.category)
    except NumpyMissing as missing:
        print(library_missing_note("no modes computed", "numpy", sys.executable or "python3",
                                   str(missing)), file=sys.stderr)
        return EXIT_NO_MATPLOTLIB
    print("\n".join(lines))
    return EXIT_OK if computed else EXIT_NO_MODES


def _compare(args: argparse.Namespace) -> int:
    a, b = read_report(args.a), read_report(args.b)
    result = compare(a, b, args.tolerance, args.abs_tolerance)
    print("\n".join(comparison_lines(a, b, result, args.tolerance, args.abs_tolerance)))
    return EXIT_OK if result.passed() else EXIT_DIFFERENT


def _table(args: argparse.Namespace) -> int:
    from .table import coefficient_grid, cpp_text, csv_text, default_name, valid_name

    if args.name is not None:
        if args.format != "cpp":
            return _error("--name applies to --format cpp only")
        if not valid_name(args.name):
            return _error("--name %r is not a usable C++ identifier" % args.name)
    if args.output and os.path.abspath(args.output) == os.path.abspath(args.report):
        return _error("the table %s would overwrite the report" % args.output)
    report = read_report(args.report)
    grid = coefficient_grid(report, args.area, args.chord)
    for warning in grid.warnings:
        print("%s: warning: %s" % (PROG, warning), file=sys.stderr)
    if report.has_moment and args.chord is None:
        print(
            "%s: note: %s has CM*S*c; the table leaves out cm, which needs --chord C"
            % (PROG, args.report),
            file=sys.stderr,
        )
    if args.format == "csv":
        text = csv_text(report, grid, args.area)
    else:
        text = cpp_text(report, grid, args.area, args.name or default_name(report.vessel_class))
    _write_text(text, args.output)
    return EXIT_OK


def _is_debian_python(executable: str) -> bool:
    """Debian's /usr/bin/python3 itself, not a virtual environment made from it: the one that
    Debian's python3-matplotlib is for."""
    return os.path.realpath(executable) == os.path.realpath(DEBIAN_PYTHON) and (
        sys.prefix == sys.base_prefix
    )


def library_missing_note(
    left_out: str, library: str, executable: str, reason: str, debian: bool | None = None
) -> str:
    """The note of what was `left_out` without `library`: the interpreter that lacks it, and how
    to install it for that interpreter."""
    if debian is None:
        debian = _is_debian_python(executable)
    if debian:
        install = "install it: apt-get install python3-%s" % library
    else:
        install = "install it: %s -m pip install %s" % (executable, library)
    return "%s: note: %s: %s is not installed for %s (%s); %s" % (
        PROG, left_out, library, executable, reason, install,
    )


def matplotlib_missing_note(executable: str, reason: str, debian: bool | None = None) -> str:
    """The note of a figure left out."""
    return library_missing_note("no figure written", "matplotlib", executable, reason, debian)


def _plot(args: argparse.Namespace) -> int:
    from .plot import FORMATS, MatplotlibMissing, figure_path, write_figure

    path = figure_path(args.report, args.output)
    extension = os.path.splitext(path)[1].lower()
    if extension not in FORMATS:
        return _error("cannot write a figure as %r: use a file name ending in .png or .svg" % path)
    if os.path.abspath(path) == os.path.abspath(args.report):
        return _error("the figure %s would overwrite the report; choose another with -o" % path)
    report = read_report(args.report)
    if not report.rows:
        return _error("%s holds no rows; nothing to plot" % args.report)
    if args.mach is not None:
        if not (report.has_side_moments or CONTROL in report.columns):
            return _error(
                "--mach chooses the Mach number of the Cn*S*b and Cl*S*b panels and of the"
                " control level panels; %s has no such panels" % args.report
            )
        machs = sorted({row.mach for row in report.rows})
        if args.mach not in machs:
            return _error(
                "%s has no rows at Mach %s; its Mach numbers are %s"
                % (args.report, g6(args.mach), ", ".join(g6(mach) for mach in machs))
            )
    short = cut_short(report)
    if short:
        print("%s: note: %s: %s" % (PROG, args.report, short), file=sys.stderr)
    spread = level_spread(report)
    if spread:
        print(
            "%s: note: %s: %s; %s"
            % (PROG, args.report, NO_LEVEL_GRID, level_counts(report, spread)),
            file=sys.stderr,
        )
    try:
        write_figure(report, path, args.mach)
    except MatplotlibMissing as missing:
        print(matplotlib_missing_note(sys.executable or "python3", str(missing)), file=sys.stderr)
        return EXIT_NO_MATPLOTLIB
    except OSError as error:
        return _error("cannot write %s: %s" % (path, error.strerror or error))
    print("Figure written: %s" % path)
    return EXIT_OK


_COMMANDS = {
    "summary": _summary, "plot": _plot, "compare": _compare, "table": _table, "modes": _modes,
}


def main(argv: list[str] | None = None) -> int:
    args = _parser().parse_args(argv)
    try:
        return _COMMANDS[args.command](args)
    except ReportError as error:
        return _error(str(error))
    except BrokenPipeError:
        # The reader went away (e.g. `| head`): no traceback, and none at exit either.
        os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
        return EXIT_OK
