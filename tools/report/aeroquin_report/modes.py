"""How the vessel flies after a disturbance: per control level, the small-disturbance equations of
motion about its level-flight trim (performance.py's), set up in body axes from the report's
derivatives, mass, inertia and gravity; their eigenvalues as the modes a pilot knows, each rated
against the flying-qualities levels of MIL-F-8785C, Class I."""

import math
from collections.abc import Callable
from dataclasses import dataclass
from typing import Any, Optional, cast

from . import texttable
from .numtext import g6
from .performance import Balance, Figure, lift_columns, speeds
from .report import (
    CONTROL,
    MOMENT,
    PITCH,
    RATE,
    ROLL,
    ROLL_AXIS,
    SIDE_FORCE,
    SIDESLIP,
    YAW,
    YAW_AXIS,
    AxisValue,
    Report,
    Row,
    grid_problems,
    reference,
    rows_at,
)
from .stability import LIMIT_TOLERANCE, PER_RADIAN, at_aoa, slope_at_zero
from .summary import figure_text


class NumpyMissing(Exception):
    """numpy cannot be imported; no eigenvalues."""


def _numpy() -> Any:
    try:
        import numpy
    except ImportError as error:
        raise NumpyMissing(str(error)) from None
    return numpy


CATEGORIES = {
    "A": "rapid manoeuvring, precision tracking or precise flight-path control",
    "B": "climb, cruise and descent, gradual manoeuvres",
    "C": "take-off, approach and landing",
}
# MIL-F-8785C, Class I, per category. Short period damping ratio: (lowest, highest) of Levels 1
# and 2; Level 3 needs at least SHORT_PERIOD_3.
SHORT_PERIOD = {
    "A": ((0.35, 1.30), (0.25, 2.00)),
    "B": ((0.30, 2.00), (0.20, 2.00)),
    "C": ((0.35, 1.30), (0.25, 2.00)),
}
SHORT_PERIOD_3 = 0.15
# Phugoid: damping ratio of Levels 1 and 2; Level 3 the time to double, s.
PHUGOID = (0.04, 0.0, 55.0)
# Dutch roll: per Level, the least zeta, zeta omega_n (rad/s) and omega_n (rad/s).
DUTCH_ROLL = {
    "A": ((0.19, 0.35, 1.0), (0.02, 0.05, 0.4), (0.02, 0.0, 0.4)),
    "B": ((0.08, 0.15, 0.4), (0.02, 0.05, 0.4), (0.02, 0.0, 0.4)),
    "C": ((0.08, 0.15, 1.0), (0.02, 0.05, 0.4), (0.02, 0.0, 0.4)),
}
# Roll mode time constant, at most, s, per Level.
ROLL_MODE = {"A": (1.0, 1.4, 10.0), "B": (1.4, 3.0, 10.0), "C": (1.0, 1.4, 10.0)}
# Spiral: time to double, at least, s, per Level; a stable spiral is Level 1.
SPIRAL = {"A": (12.0, 12.0, 4.0), "B": (20.0, 12.0, 4.0), "C": (20.0, 12.0, 4.0)}
WORSE = 4
LEVELS = {1: "Level 1", 2: "Level 2", 3: "Level 3", WORSE: "worse than Level 3"}

SHORT = "short period"
PHUGOID_MODE = "phugoid"
DUTCH = "Dutch roll"
ROLL_MODE_NAME = "roll subsidence"
SPIRAL_MODE = "spiral"
LONGITUDINAL_COUPLED = "short period and phugoid coupled"
ROLL_SPIRAL = "roll and spiral coupled"
# Why a mode misses Level 1, and what an author can change.
HINTS = {
    (SHORT, "lightly damped"): "more pitch damping (a larger tail or its RotResistance in"
    " pitch) or less pitch stiffness (the centre of gravity further aft)",
    (SHORT, "overdamped"): "less pitch damping (RotResistance in pitch) or more pitch stiffness"
    " (the centre of gravity further forward)",
    (SHORT, "divergent"): "statically unstable in pitch: the centre of gravity ahead of the"
    " neutral point, or a larger tail",
    (PHUGOID_MODE, "lightly damped"): "the drag alone damps it (zeta about 0.71 / (L/D)), little"
    " at a high L/D; more drag raises it",
    (PHUGOID_MODE, "divergent"): "a pitching moment that falls as the speed rises (CM*S*c"
    " falling with the Mach number) drives it; make it level or rising",
    (DUTCH, "lightly damped"): "raise the fin's area or its RotResistance in yaw",
    (DUTCH, "slow"): "more directional stability (Cn_beta): a larger fin, or one further aft",
    (DUTCH, "divergent"): "raise the fin's area or its RotResistance in yaw, or less dihedral"
    " effect (Cl_beta nearer 0)",
    (ROLL_MODE_NAME, "slow"): "more roll damping (RotResistance in roll) or less roll inertia",
    (ROLL_MODE_NAME, "divergent"): "the roll damping is negative: RotResistance in roll",
    (SPIRAL_MODE, "divergent"): "more dihedral effect (Cl_beta more negative) or less yaw"
    " stability",
}


def g3(value: float) -> str:
    """3 significant digits: what the modes of 6-digit derivatives carry; -0 reads 0."""
    return "%.3g" % (value + 0.0)


@dataclass(frozen=True)
class Trim:
    """The reference condition: level flight at a control level's statically stable trim."""

    level: Optional[float]
    balance: Balance

    @property
    def aoa(self) -> float:  # rad
        return math.radians(self.balance.polar.aoa)

    @property
    def speed(self) -> float:  # m/s
        return self.balance.air.airspeed

    @property
    def thrust(self) -> float:
        """N along the body x axis: its part along the flight path balances the drag."""
        air = self.balance.air
        drag = 0.5 * air.density * air.airspeed ** 2 * self.balance.polar.drag
        return drag / math.cos(self.aoa)


# The derivatives of the body-axis forces X, Y, Z (N) and moments L, M, N (N m) by the body
# velocities u, v, w (m/s) and rates p, q, r (rad/s), named as textbooks do: "M_w" is dM/dw.
Derivatives = dict[str, float]


def _sound(rows: list[Row]) -> dict[float, list[Row]]:
    by_mach: dict[float, list[Row]] = {}
    for row in rows:
        if not row.flags() and row.airspeed > 0:
            by_mach.setdefault(row.mach, []).append(row)
    return by_mach


def _slope_at(rows: list[Row], along: Callable[[Row], float], column: str,
              aoa: float) -> float | None:
    """d(column)/d(along) at along 0 (slope_at_zero) at `aoa`, linear between the AOAs of the
    rows around it."""
    aoas = sorted({row.aoa for row in rows})
    low = max((a for a in aoas if a <= aoa), default=None)
    high = min((a for a in aoas if a >= aoa), default=None)
    if low is None or high is None:
        return None
    ends = [slope_at_zero(sorted((along(row), row.value(column)) for row in rows if row.aoa == a))
            for a in (low, high)]
    if ends[0] is None or ends[1] is None:
        return None
    if low == high:
        return ends[0]
    return ends[0] + (aoa - low) / (high - low) * (ends[1] - ends[0])


def _rate_about(body: int) -> Callable[[Row], float]:
    return lambda row: row.rates[body]


class _Grid:
    """The rows of one control level around which the derivatives are taken: at the other middle
    axes' reference, along the sideslip, along the rates."""

    def __init__(self, report: Report, level: Optional[float]):
        point: dict[str, AxisValue] = dict(reference(report))
        if level is not None:
            point[CONTROL] = level
        self.lift, self.drag = lift_columns(report)

        def without(axis: str) -> dict[float, list[Row]]:
            return _sound(rows_at(report.rows, {k: v for k, v in point.items() if k != axis}))

        self.base = {m: sorted(rows, key=lambda r: r.aoa)
                     for m, rows in _sound(rows_at(report.rows, point)).items()}
        self.sideslip = without(SIDESLIP)
        self.rates = without(RATE)

    def value(self, mach: float, aoa: float, column: str) -> float | None:
        return at_aoa(self.base.get(mach, []), aoa, column)

    def per_mach(self, mach: float, aoa: float) -> dict[str, Optional[float]]:
        """At one Mach number and `aoa` (deg): CM*S*c, the slopes of lift, drag and pitching
        moment by the AOA and of side force, rolling and yawing moment by the sideslip per
        radian, and the rate derivatives per rad/s times the Mach number's dynamic pressure
        (N s, N m s)."""
        rows = self.base.get(mach, [])
        if not rows:
            return {}
        q = rows[0].dynamic_pressure
        found: dict[str, Optional[float]] = {"M": at_aoa(rows, aoa, MOMENT)}
        for name, column in (("Lift", self.lift), ("Drag", self.drag), ("M", MOMENT)):
            slope = slope_at_zero([(row.aoa - aoa, row.value(column)) for row in rows])
            found[name + "_alpha"] = None if slope is None else slope * PER_RADIAN
        for name, column in (("Y", SIDE_FORCE), ("L", ROLL), ("N", YAW)):
            slope = _slope_at(self.sideslip.get(mach, []), lambda r: r.value(SIDESLIP), column,
                              aoa)
            found[name + "_beta"] = None if slope is None else slope * PER_RADIAN
        rates = self.rates.get(mach, [])
        pairs = [(PITCH, "q", name, column)
                 for name, column in (("Lift", self.lift), ("Drag", self.drag), ("M", MOMENT))]
        pairs += [(body, rate, name, column)
                  for body, rate in ((ROLL_AXIS, "p"), (YAW_AXIS, "r"))
                  for name, column in (("Y", SIDE_FORCE), ("L", ROLL), ("N", YAW))]
        for body, rate, name, column in pairs:
            # The other axes' rows lie at 0 of this one.
            slope = _slope_at(rates, _rate_about(body), column, aoa)
            # Dimensional: the simulator's damping is not proportional to q, and at its step's
            # limit it is I/dt at every Mach number.
            found["%s_%s" % (name, rate)] = None if slope is None else slope * PER_RADIAN * q
        return found


class Unavailable(Exception):
    """The rows around the trim do not give a derivative."""


def derivatives(report: Report, trim: Trim) -> Derivatives:
    """The body-axis derivatives at the trim, of the forces and moments the step sums: lift and
    drag as functions of the airspeed and AOA, side force and moments of the sideslip, each rate's
    own; the thrust is fixed in the body and adds none. Angles as the simulator takes them:
    alpha = atan2(w, u), beta = atan2(v, u). Raises Unavailable."""
    grid = _Grid(report, trim.level)
    balance = trim.balance
    aoa, speed = balance.polar.aoa, balance.air.airspeed
    machs = balance.machs
    ends = [grid.per_mach(mach, aoa) for mach in machs]
    weight = 0.0 if len(machs) == 1 else (balance.air.mach - machs[0]) / (machs[1] - machs[0])

    def at(name: str) -> float:
        values = [end.get(name) for end in ends]
        if any(value is None for value in values):
            raise Unavailable(name)
        low, high = cast(list[float], values)[0], cast(list[float], values)[-1]
        return low + weight * (high - low)

    def by_speed(column: str) -> float:
        """d(column)/dV per m/s at the trim's AOA: the chord across the Mach numbers around the
        trim speed."""
        points = []
        for mach, rows in grid.base.items():
            value = grid.value(mach, aoa, column)
            if value is not None:
                points.append((rows[0].airspeed - speed, value))
        slope = slope_at_zero(sorted(points))
        if slope is None:
            raise Unavailable("d/dV")
        return slope

    rho, alpha = balance.air.density, trim.aoa
    q = 0.5 * rho * speed ** 2
    c, s = math.cos(alpha), math.sin(alpha)
    lift, drag, moment = balance.polar.lift, balance.polar.drag, at("M")
    # By the airspeed V and the AOA (per rad), at the trim.
    lift_v = rho * speed * lift + q * by_speed(grid.lift)
    drag_v = rho * speed * drag + q * by_speed(grid.drag)
    moment_v = rho * speed * moment + q * by_speed(MOMENT)
    lift_a, drag_a, moment_a = q * at("Lift_alpha"), q * at("Drag_alpha"), q * at("M_alpha")
    lift0, drag0 = q * lift, q * drag
    # X = L sin(alpha) - D cos(alpha), Z = -L cos(alpha) - D sin(alpha).
    x_v, z_v = lift_v * s - drag_v * c, -lift_v * c - drag_v * s
    x_a = lift_a * s + lift0 * c - drag_a * c + drag0 * s
    z_a = -lift_a * c + lift0 * s - drag_a * s - drag0 * c
    # dV/du = cos, dV/dw = sin, d(alpha)/du = -sin / V, d(alpha)/dw = cos / V.
    result = {
        "X_u": x_v * c - x_a * s / speed, "X_w": x_v * s + x_a * c / speed,
        "Z_u": z_v * c - z_a * s / speed, "Z_w": z_v * s + z_a * c / speed,
        "M_u": moment_v * c - moment_a * s / speed, "M_w": moment_v * s + moment_a * c / speed,
        "X_q": at("Lift_q") * s - at("Drag_q") * c, "Z_q": -at("Lift_q") * c - at("Drag_q") * s,
        "M_q": at("M_q"),
    }
    # d(beta)/dv = 1 / U0.
    u0 = speed * c
    for name in ("Y", "L", "N"):
        result[name + "_v"] = q * at(name + "_beta") / u0
        result[name + "_p"] = at(name + "_p")
        result[name + "_r"] = at(name + "_r")
    return result


Matrix = list[list[float]]


def longitudinal_matrix(d: Derivatives, trim: Trim, mass: float, iy: float, g: float) -> Matrix:
    """d/dt of (u, w, q, theta): body axes, the pitch attitude theta0 the trim AOA."""
    c, s = math.cos(trim.aoa), math.sin(trim.aoa)
    u0, w0 = trim.speed * c, trim.speed * s
    return [
        [d["X_u"] / mass, d["X_w"] / mass, d["X_q"] / mass - w0, -g * c],
        [d["Z_u"] / mass, d["Z_w"] / mass, d["Z_q"] / mass + u0, -g * s],
        [d["M_u"] / iy, d["M_w"] / iy, d["M_q"] / iy, 0.0],
        [0.0, 0.0, 1.0, 0.0],
    ]


def lateral_matrix(d: Derivatives, trim: Trim, mass: float, ix: float, iz: float,
                   g: float) -> Matrix:
    """d/dt of (v, p, r, phi): body axes, principal (no product of inertia)."""
    c, s = math.cos(trim.aoa), math.sin(trim.aoa)
    u0, w0 = trim.speed * c, trim.speed * s
    return [
        [d["Y_v"] / mass, d["Y_p"] / mass + w0, d["Y_r"] / mass - u0, g * c],
        [d["L_v"] / ix, d["L_p"] / ix, d["L_r"] / ix, 0.0],
        [d["N_v"] / iz, d["N_p"] / iz, d["N_r"] / iz, 0.0],
        [0.0, 1.0, s / c, 0.0],
    ]


@dataclass(frozen=True)
class Mode:
    """A mode: `roots` holds one root of a pair (imaginary part > 0), or real roots, 1/s."""

    name: str
    roots: tuple[complex, ...]

    @property
    def oscillates(self) -> bool:
        return self.roots[0].imag > 0


def _eigen(matrix: Matrix) -> tuple[list[complex], Any]:
    numpy = _numpy()
    values, vectors = numpy.linalg.eig(numpy.array(matrix, dtype=float))
    return [complex(value) for value in values], vectors


Group = tuple[complex, ...]


def _groups(values: list[complex]) -> list[Group]:
    """The roots as pairs (one root, imaginary part > 0) and single real roots, slowest first."""
    groups: list[Group] = [(v,) for v in values if v.imag >= 0]
    return sorted(groups, key=lambda group: (abs(group[0]), group[0].real))


def _reals(groups: list[Group]) -> list[complex]:
    return [group[0] for group in groups if group[0].imag == 0]


def longitudinal_modes(matrix: Matrix) -> list[Mode]:
    """Short period and phugoid: the faster and the slower two roots; a pair between two real
    roots is named as coupled."""
    groups = _groups(_eigen(matrix)[0])
    kinds = ["pair" if group[0].imag > 0 else "real" for group in groups]
    if kinds == ["real", "pair", "real"]:
        return [Mode(LONGITUDINAL_COUPLED, groups[1]),
                Mode(LONGITUDINAL_COUPLED, (groups[0][0], groups[2][0]))]
    slow = groups[:1] if kinds[0] == "pair" else groups[:2]
    fast = groups[len(slow):]

    def mode(name: str, part: list[Group]) -> Mode:
        return Mode(name, part[0] if len(part) == 1 else (part[0][0], part[1][0]))

    return [mode(SHORT, fast), mode(PHUGOID_MODE, slow)]


def lateral_modes(matrix: Matrix, speed: float) -> list[Mode]:
    """Dutch roll, roll subsidence and spiral: the pair, and the faster and the slower real
    root. Four real roots: the middle two the Dutch roll's. Two pairs: the one with more sideslip
    against bank the Dutch roll, the other roll and spiral coupled."""
    values, vectors = _eigen(matrix)
    groups = _groups(values)
    pairs = [group for group in groups if group[0].imag > 0]
    reals = _reals(groups)
    if len(pairs) == 2:
        def sideslip_share(group: Group) -> float:
            index = min(range(4), key=lambda i: abs(values[i] - group[0]))
            vector = vectors[:, index]
            return float(abs(vector[0] / speed) / max(abs(vector[3]), 1e-300))

        first, second = sorted(pairs, key=sideslip_share, reverse=True)
        return [Mode(DUTCH, first), Mode(ROLL_SPIRAL, second)]
    if pairs:
        return [Mode(DUTCH, pairs[0]), Mode(ROLL_MODE_NAME, (reals[1],)),
                Mode(SPIRAL_MODE, (reals[0],))]
    return [Mode(DUTCH, (reals[1], reals[2])), Mode(ROLL_MODE_NAME, (reals[3],)),
            Mode(SPIRAL_MODE, (reals[0],))]


@dataclass(frozen=True)
class Pair:
    """A second-order mode's figures: of a pair, or of two real roots as one."""

    omega: Optional[float]  # rad/s, natural frequency; None with a root >= 0 of two real ones
    zeta: Optional[float]
    largest: float  # 1/s, the largest real part: > 0 divergent


def pair_figures(mode: Mode) -> Pair:
    if mode.oscillates:
        root = mode.roots[0]
        return Pair(abs(root), -root.real / abs(root), root.real)
    a, b = mode.roots[0].real, mode.roots[-1].real
    if a * b <= 0 or a > 0:
        return Pair(None, None, max(a, b))
    omega = math.sqrt(a * b)
    return Pair(omega, -(a + b) / (2 * omega), max(a, b))


Rating = tuple[Optional[int], Optional[str]]  # Level (WORSE beyond 3), why it misses Level 1


def rate_short_period(zeta: Optional[float], category: str) -> Rating:
    (low1, high1), (low2, high2) = SHORT_PERIOD[category]
    if zeta is None or zeta <= 0:
        return WORSE, "divergent"
    why = None if low1 <= zeta <= high1 else "lightly damped" if zeta < low1 else "overdamped"
    if why is None:
        return 1, None
    if low2 <= zeta <= high2:
        return 2, why
    return (3 if zeta >= SHORT_PERIOD_3 else WORSE), why


def rate_phugoid(figures: Pair, category: str) -> Rating:
    del category  # the same in every category
    if figures.largest > 0:
        double = math.log(2) / figures.largest
        return (3 if double >= PHUGOID[2] else WORSE), "divergent"
    zeta = figures.zeta
    if zeta is None:  # a root at 0: neutral
        return 2, "lightly damped"
    return (1, None) if zeta >= PHUGOID[0] else (2, "lightly damped")


def rate_dutch_roll(figures: Pair, category: str) -> Rating:
    if figures.largest > 0 or figures.zeta is None or figures.omega is None:
        return WORSE, "divergent"
    zeta, omega = figures.zeta, figures.omega
    for level, (least_zeta, least_product, least_omega) in enumerate(DUTCH_ROLL[category], 1):
        if zeta >= least_zeta and zeta * omega >= least_product and omega >= least_omega:
            break
    else:
        level = WORSE
    if level == 1:
        return 1, None
    first = DUTCH_ROLL[category][0]
    damped = zeta >= first[0] and zeta * omega >= first[1]
    return level, "slow" if damped else "lightly damped"


def rate_roll(root: float, category: str) -> Rating:
    if root >= 0:
        return WORSE, "divergent"
    tau = -1 / root
    level = next((i for i, most in enumerate(ROLL_MODE[category], 1) if tau <= most), WORSE)
    return level, None if level == 1 else "slow"


def rate_spiral(root: float, category: str) -> Rating:
    if root <= 0:
        return 1, None
    double = math.log(2) / root
    level = next((i for i, least in enumerate(SPIRAL[category], 1) if double >= least), WORSE)
    return level, None if level == 1 else "divergent"


def rate(mode: Mode, category: str) -> Rating:
    """The mode's Level in the category (None: not rated, a coupled mode)."""
    if mode.name == SHORT:
        figures = pair_figures(mode)
        return rate_short_period(None if figures.largest > 0 else figures.zeta, category)
    if mode.name == PHUGOID_MODE:
        return rate_phugoid(pair_figures(mode), category)
    if mode.name == DUTCH:
        return rate_dutch_roll(pair_figures(mode), category)
    if mode.name == ROLL_MODE_NAME:
        return rate_roll(mode.roots[0].real, category)
    if mode.name == SPIRAL_MODE:
        return rate_spiral(mode.roots[0].real, category)
    return None, None


def roots_text(mode: Mode) -> str:
    root = mode.roots[0]
    if mode.oscillates:
        return "%s +/- %si" % (g3(root.real), g3(root.imag))
    return ", ".join(g3(root.real) for root in mode.roots)


def _time(rate: float) -> str:
    """The time to half (to double) of a root, s."""
    return "time to %s %s s" % ("double" if rate > 0 else "half", g3(math.log(2) / abs(rate)))


def figures_text(mode: Mode, step: Optional[str] = None) -> str:
    """What a pilot reads of the mode; of the roll subsidence `step` adds the step's value."""
    root = mode.roots[0]
    if mode.name in (ROLL_MODE_NAME, SPIRAL_MODE):
        if root.real == 0:
            return "neutral"
        if mode.name == SPIRAL_MODE or root.real > 0:
            return _time(root.real)
        return "tau %s s%s" % (g3(-1 / root.real), "; the step's: " + step if step else "")
    figures = pair_figures(mode)
    if mode.name in (LONGITUDINAL_COUPLED, ROLL_SPIRAL) and not mode.oscillates:
        return ", ".join(_time(root.real) for root in mode.roots)
    if mode.oscillates:
        period = "period %s s" % g3(2 * math.pi / root.imag)
        zeta = "zeta %s" % g3(cast(float, figures.zeta))
        parts = [period, zeta] if mode.name == PHUGOID_MODE else [
            "omega_n %s rad/s" % g3(cast(float, figures.omega)), zeta, period]
        if root.real > 0:
            parts.append(_time(root.real))
        return ", ".join(parts)
    if figures.zeta is None:
        return "two real roots, one divergent: %s" % _time(figures.largest)
    return "two real roots (overdamped): omega_n %s rad/s, zeta %s as one pair" % (
        g3(cast(float, figures.omega)), g3(figures.zeta))


def step_roll(damping: float, inertia: float, step: float) -> Optional[float]:
    """The roll subsidence's time constant as the simulator's step flies it, s: each step
    multiplies the rate by 1 - dt k / I; None where that stops it in one step."""
    factor = step * damping / inertia
    if factor >= 1 - LIMIT_TOLERANCE:
        return None
    return -step / math.log(1 - factor)


def trims(report: Report) -> list[tuple[Optional[float], Figure, Optional[Trim]]]:
    """Per control level (one None without a control axis): the level-flight trim's figure and,
    where it lies within the grid, the Trim."""
    assert report.mass is not None and report.gravity is not None
    result = []
    for entry in speeds(report, report.mass * report.gravity):
        trim = Trim(entry.level, entry.trim) if isinstance(entry.trim, Balance) else None
        result.append((entry.level, entry.trim, trim))
    return result


@dataclass(frozen=True)
class Analysis:
    trim: Trim
    derivatives: Derivatives
    modes: list[Mode]
    # Per mode name, its root as the simulator's step of the header's Time step flies it
    # (stepped.py); empty without the step.
    stepped: dict[str, complex]


def analyse(report: Report, trim: Trim) -> Analysis:
    """The modes at the trim. Raises Unavailable, NumpyMissing."""
    from .stepped import as_stepped, step_roots

    d = derivatives(report, trim)
    mass, g = cast(float, report.mass), cast(float, report.gravity)
    inertia = cast(tuple[float, float, float], report.inertia)
    ix, iy, iz = inertia
    modes = longitudinal_modes(longitudinal_matrix(d, trim, mass, iy, g))
    modes += lateral_modes(lateral_matrix(d, trim, mass, ix, iz, g), trim.speed)
    stepped = {}
    if report.time_step:
        stepped = as_stepped(modes, step_roots(d, trim, mass, inertia, g, report.time_step))
    return Analysis(trim, d, modes, stepped)


Analysed = tuple[Optional[float], Figure, Optional[Trim], Optional[Analysis]]


def analysed(report: Report) -> list[Analysed]:
    """trims(), each trim with its modes: None where the rows around it do not give every
    derivative. Raises NumpyMissing."""
    result: list[Analysed] = []
    for level, figure, trim in trims(report):
        analysis = None
        if trim is not None:
            try:
                analysis = analyse(report, trim)
            except Unavailable:
                pass
        result.append((level, figure, trim, analysis))
    return result


MODE_HEADERS = ["mode", "eigenvalues [1/s]", "figures", "MIL-F-8785C"]
REFERENCE = (
    "Reference: level flight at the trim, its lift carrying the weight, with a constant thrust"
    " along the body x axis through the centre of gravity that balances the drag; small"
    " disturbances in body axes.",
    "Derivatives at the trim: by the speed across the Mach numbers around it, by the AOA and the"
    " sideslip across their axes, by the rates across the rate axis; none by the rate of change"
    " of the AOA or the sideslip (the simulator's airfoils see the airspeed alone).",
)
NO_MODES = "no modes: they need a trim within the grid"
NO_DERIVATIVES = (
    "no modes: the rows around it do not give every derivative (each axis needs rows on either"
    " side of 0, or at 0 and beside it)"
)
LIMITED = (
    "Note: the %s damping at the trim is the simulator's limit I/dt = %s kg m^2 / %s s = %s N m s,"
    " which stops a %s rate in one step: there it depends on the step, not on the air"
)
STEPPED = "As the simulator's fixed step of %s s flies them: %s"
# Per body axis (PITCH, ROLL_AXIS, YAW_AXIS): its own damping derivative, its inertia's index in
# the header's (roll, pitch, yaw) and its name.
OWN_DAMPING = (("M_q", 1, "pitch"), ("L_p", 0, "roll"), ("N_r", 2, "yaw"))


def title(category: str) -> str:
    return ("Modes of motion, rated against MIL-F-8785C (1980), Class I (small, light"
            " airplanes), Category %s (%s):" % (category, CATEGORIES[category]))


def _trim_text(trim: Trim) -> str:
    balance = trim.balance
    return "level flight at the trim: Mach %s, %s m/s, trim AOA %s deg, thrust %s N (from Mach" \
        " %s)" % (g6(balance.air.mach), g6(balance.air.airspeed), g6(balance.polar.aoa),
                  g6(trim.thrust), " and ".join(g6(mach) for mach in balance.machs))


def analysis_lines(report: Report, analysis: Analysis, category: str) -> list[str]:
    """The table of one trim's modes, the notes on the step's limit and the hints."""
    d = analysis.derivatives
    inertia = cast(tuple[float, float, float], report.inertia)
    step = report.time_step
    limited = []
    for name, index, axis in OWN_DAMPING:
        if step and -d[name] >= (1 - LIMIT_TOLERANCE) * inertia[index] / step:
            limited.append(LIMITED % (axis, g6(inertia[index]), g6(step),
                                      g6(inertia[index] / step), axis))
    table, hints = [], []
    for mode in analysis.modes:
        level, why = rate(mode, category)
        step_text = None
        if mode.name == ROLL_MODE_NAME and step and mode.roots[0].real < 0:
            tau = step_roll(-d["L_p"], inertia[0], step)
            step_text = "stopped in one step" if tau is None else g3(tau) + " s"
        table.append([mode.name, roots_text(mode), figures_text(mode, step_text),
                      "-" if level is None else LEVELS[level]])
        if level is not None and why is not None:
            hints.append("Hint: %s %s (%s): %s" % (mode.name, why, LEVELS[level],
                                                   HINTS[(mode.name, why)]))
    flown = []
    for mode in analysis.modes:
        if mode.name in analysis.stepped:
            flown.append("%s %s" % (mode.name, figures_text(
                Mode(mode.name, (analysis.stepped[mode.name],)))))
    if flown:
        flown = [STEPPED % (g6(cast(float, step)), "; ".join(flown))]
    return texttable.render(MODE_HEADERS, table, "  ") + [
        "  " + line for line in flown + limited + hints]


def modes_lines(report: Report, category: str) -> tuple[list[str], bool]:
    """The text of `aeroquin-report modes` for a report that has what it needs (modes_lacks),
    and whether any trim gave modes. Raises NumpyMissing."""
    mass, gravity = cast(float, report.mass), cast(float, report.gravity)
    roll, pitch, yaw = cast(tuple[float, float, float], report.inertia)
    lines = [
        "Report: %s" % report.path,
        "Vessel class: %s" % report.vessel_class,
        title(category),
    ] + list(REFERENCE) + [
        "Mass %s kg, inertia roll %s, pitch %s, yaw %s kg m^2, gravity %s m/s^2%s."
        % (g6(mass), g6(roll), g6(pitch), g6(yaw), g6(gravity),
           "" if report.altitude is None else ", at %s m" % g6(report.altitude)),
    ]
    lines += ["Note: %s" % problem for problem in grid_problems(report)]
    computed = False
    for level, figure, trim, analysis in analysed(report):
        def at(text: str) -> str:
            if level is None:
                return text[0].upper() + text[1:]
            return "At control level %s, %s" % (g6(level), text)

        if trim is None:
            text = figure_text(0, figure, lift_columns(report)[0], True)
            lines += ["", at(text + "; " + NO_MODES)]
            continue
        if analysis is None:
            lines += ["", at(_trim_text(trim) + "; " + NO_DERIVATIVES)]
            continue
        computed = True
        lines += ["", at(_trim_text(trim) + ":")] + analysis_lines(report, analysis, category)
    return lines, computed
