import math
import os
import re
import tempfile
import unittest

from support import PYTHON, Sailplane, read_fixture, run_tool
from test_summary import numbers
from aeroquin_report.cli import library_missing_note
from aeroquin_report.report import parse_report
from aeroquin_report.modes import (
    DUTCH, LONGITUDINAL_COUPLED, PHUGOID_MODE, ROLL_MODE_NAME, ROLL_SPIRAL, SHORT, SPIRAL_MODE,
    Mode, Pair, analyse, figures_text, lateral_modes, longitudinal_modes, rate_dutch_roll,
    rate_phugoid, rate_roll, rate_short_period, rate_spiral, trims,
)
from aeroquin_report.summary import summary_lines


class Steady(Sailplane):
    """Trims at AOA 0 at every Mach number: the body axes are the stability axes and the moment
    has no speed derivative; light pitch and yaw damping: an oscillating short period far above
    the phugoid; no dihedral effect: the roll decouples."""

    rot_drag = (2.0, 0.1, 0.15)
    sideways = (-0.06, 0.0, 0.27)

    @staticmethod
    def trim(mach, level=0.0):
        return -1.5 * level


class Dihedral(Steady):
    sideways = (-0.06, -0.05, 0.27)


class Inclined(Sailplane):
    """Trims at 4.5 deg, more as the speed rises (Sailplane's trim): the body axes are not the
    stability axes, and the moment has a speed derivative; so has the drag."""

    rot_drag, sideways, drag_mach = (2.0, 0.1, 0.15), (-0.06, -0.05, 0.27), 0.5

    @staticmethod
    def drag(aoa):  # linear, so that the chord around the trim is its slope
        return 0.3 + 0.05 * aoa


def capture(model=Steady, machs=(0.2, 0.21, 0.22, 0.23), aoas=(-4, 0, 4), **options):
    return model.report(machs=machs, aoas=aoas, rates=(-10, 0, 10), sideslips=(-4, 0, 4),
                        **options)


def textbook(model, coupling=0.0):
    """The model's derivatives at its level-flight trim, as textbooks write them in stability
    axes (N, m, s, rad); by v over U0 = V cos(AOA), as the simulator's beta = atan2(v, u) has
    it."""
    per_rad = 180 / math.pi
    m, g, rho, a = model.mass, model.gravity, model.density, model.sound
    weight = m * g
    mach = 0.1
    for _ in range(60):  # the trim AOA depends on the speed, the speed on the lift there
        aoa = model.trim(mach)
        mach = math.sqrt(2 * weight / (rho * model.lift(aoa))) / a
    q = weight / model.lift(aoa)
    V = a * mach
    drag = q * (model.drag(aoa) + model.drag_mach * mach)
    damping = [0.5 * rho * (V + 30) ** 2 * model.cross_section * r for r in model.rot_drag]
    side, roll, yaw = (q * k * per_rad / (V * math.cos(math.radians(aoa)))
                       for k in model.sideways)
    # by the AOA: lift 1 m^2/deg, CM*S*c -0.2 m^3/deg; by the Mach number: the drag's term, and
    # CM*S*c 0.2 m^3/deg times the trim's rise
    slope = (model.drag(aoa + 1e-4) - model.drag(aoa - 1e-4)) / 2e-4
    rise = (model.trim(mach + 1e-4) - model.trim(mach - 1e-4)) / 2e-4
    return dict(
        V=V, m=m, g=g, Ix=model.inertia[0], Iy=model.inertia[1], Iz=model.inertia[2], drag=drag,
        aoa=math.radians(aoa),
        Xu=-2 * drag / V - q * model.drag_mach / a, Zu=-2 * weight / V, Mu=q * 0.2 * rise / a,
        Xw=(weight - q * slope * per_rad) / V, Zw=-(q * per_rad + drag) / V,
        Mw=-0.2 * per_rad * q / V, Mq=-damping[1],
        Yv=side, Lv=roll, Nv=yaw, Lp=-damping[0], Nr=-damping[2],
        Lr=coupling * per_rad * q, Np=coupling * per_rad * q,
    )


def quadratic_root(b, c):
    """The root with imaginary part >= 0 (else the larger) of s^2 + b s + c."""
    disc = b * b / 4 - c
    if disc < 0:
        return complex(-b / 2, math.sqrt(-disc))
    return complex(-b / 2 + math.sqrt(disc), 0)


def order(root):
    return (abs(root), root.imag)


def roots(mode):
    """Every root of the mode, a pair's both."""
    if mode.oscillates:
        return [mode.roots[0], mode.roots[0].conjugate()]
    return list(mode.roots)


def analysis(text):
    report = parse_report(text, "r.csv")
    ((_, _, trim),) = trims(report)
    return trim, {mode.name: mode for mode in analyse(report, trim).modes}


class ModesTest(unittest.TestCase):
    def assert_close(self, found, wanted, relative):
        self.assertLessEqual(abs(found - wanted), relative * abs(wanted), (found, wanted))

    def test_decoupled_modes(self):
        t = textbook(Steady)
        m, g, V, Ix, Iy, Iz = (t[k] for k in ("m", "g", "V", "Ix", "Iy", "Iz"))
        _, modes = analysis(capture())
        # Short period: the approximation without speed and attitude, s^2 - (Zw/m + Mq/Iy) s
        # + Zw Mq / (m Iy) - V Mw / Iy; the phugoid's frequency (0.03 of it) changes it by some
        # 1e-3, as the damping derivatives' interpolation between Mach numbers does.
        short = quadratic_root(-(t["Zw"] / m + t["Mq"] / Iy),
                               t["Zw"] * t["Mq"] / (m * Iy) - V * t["Mw"] / Iy)
        self.assert_close(modes[SHORT].roots[0], short, 2e-3)
        # Phugoid: with w and q quasi-steady the pitch damping lengthens Lanchester's period,
        # omega^2 = -g Zu / (m V - Zw Mq / Mw); its damping that approximation does not hold,
        # trace and determinant do: exactly Xu/m + Zw/m + Mq/Iy and g Zu Mw / (m Iy).
        phugoid = modes[PHUGOID_MODE].roots[0]
        omega = math.sqrt(-g * t["Zu"] / (m * V - t["Zw"] * t["Mq"] / t["Mw"]))
        self.assert_close(abs(phugoid), omega, 1e-2)
        both = roots(modes[SHORT]) + roots(modes[PHUGOID_MODE])
        self.assert_close(sum(both).real, t["Xu"] / m + t["Zw"] / m + t["Mq"] / Iy, 1e-3)
        self.assert_close(math.prod(both).real, g * t["Zu"] * t["Mw"] / (m * Iy), 1e-3)
        # Without dihedral effect and cross terms the roll is Lp/Ix alone, sideslip and yaw
        # make the Dutch roll by themselves, and the bank keeps its heading: a neutral spiral.
        self.assert_close(modes[ROLL_MODE_NAME].roots[0], t["Lp"] / Ix, 1e-3)
        dutch = quadratic_root(-(t["Yv"] / m + t["Nr"] / Iz),
                               t["Yv"] * t["Nr"] / (m * Iz) + V * t["Nv"] / Iz)
        self.assert_close(modes[DUTCH].roots[0], dutch, 1e-3)
        self.assertEqual(modes[SPIRAL_MODE].roots, (0j,))

    def test_spiral(self):
        # The slow root with v, p and r quasi-steady: m g (Lv Nr - Lr Nv) / (-m V (Lv Np - Lp Nv)
        # + Yv (Lp Nr - Lr Np)), within its separation from the others.
        for coupling in (0.0, 0.02):  # stable, divergent
            with self.subTest(coupling=coupling):
                t = textbook(Dihedral, coupling)
                m, g, V = t["m"], t["g"], t["V"]
                turn = t["Lv"] * t["Nr"] - t["Lr"] * t["Nv"]
                spiral = m * g * turn / (-m * V * (t["Lv"] * t["Np"] - t["Lp"] * t["Nv"])
                                         + t["Yv"] * (t["Lp"] * t["Nr"] - t["Lr"] * t["Np"]))
                _, modes = analysis(capture(Dihedral, coupling=coupling))
                self.assert_close(modes[SPIRAL_MODE].roots[0], spiral, 1e-2)

    def test_stability_axes(self):
        # The textbook's equations in stability axes, with the inertia (a product appears) and
        # the rates turned into them, have the same roots as the body axes'.
        numpy = __import__("numpy")
        t = textbook(Inclined, 0.01)
        m, g, V, Iy = t["m"], t["g"], t["V"], t["Iy"]
        longitudinal = [[t["Xu"] / m, t["Xw"] / m, 0, -g], [t["Zu"] / m, t["Zw"] / m, V, 0],
                        [t["Mu"] / Iy, t["Mw"] / Iy, t["Mq"] / Iy, 0], [0, 0, 1, 0]]
        c, s = math.cos(t["aoa"]), math.sin(t["aoa"])
        # body p = c ps - s rs, r = s ps + c rs; Ls = c L + s N, Ns = -s L + c N
        body = numpy.array([[t["Lv"], t["Lp"], t["Lr"]], [t["Nv"], t["Np"], t["Nr"]]])
        turn = numpy.array([[c, s], [-s, c]])
        moments = turn @ body @ numpy.array([[1, 0, 0], [0, c, -s], [0, s, c]])
        rolling = numpy.linalg.solve(turn @ numpy.diag([t["Ix"], t["Iz"]]) @ turn.T, moments)
        lateral = [[t["Yv"] / m, 0, -V, g], [*rolling[0], 0], [*rolling[1], 0], [0, 1, 0, 0]]
        wanted = [sorted(numpy.linalg.eigvals(numpy.array(a)), key=order)
                  for a in (longitudinal, lateral)]
        trim, modes = analysis(capture(Inclined, (0.12, 0.13, 0.14, 0.15), (0, 4, 8),
                                       coupling=0.01))
        # along the body axis, balancing the drag along the path
        self.assertAlmostEqual(trim.thrust, t["drag"] / c, delta=1e-6 * t["drag"])
        found = [root for mode in modes.values() for root in roots(mode)]
        for part, expected in zip((found[:4], found[4:]), wanted):
            for root, wanted_root in zip(sorted(part, key=order), expected):
                self.assert_close(root, wanted_root, 1e-3)


def block(*parts):
    """A block-diagonal matrix: a pair (sigma, omega) as its 2x2 rotation, a real root alone."""
    size = sum(len(part) for part in parts)
    matrix = [[0.0] * size for _ in range(size)]
    i = 0
    for part in parts:
        if len(part) == 2:
            sigma, omega = part
            matrix[i][i], matrix[i][i + 1] = sigma, omega
            matrix[i + 1][i], matrix[i + 1][i + 1] = -omega, sigma
        else:
            matrix[i][i] = part[0]
        i += len(part)
    return matrix


class NamingTest(unittest.TestCase):
    def test_roots_named_as_what_they_are(self):
        pair, slow = (-2, 5), (-0.01, 0.2)
        longitudinal = [
            (block(pair, slow), [(SHORT, (-2 + 5j,)), (PHUGOID_MODE, (-0.01 + 0.2j,))]),
            (block(pair, (-0.05,), (0.03,)), [(SHORT, (-2 + 5j,)), (PHUGOID_MODE, (0.03, -0.05))]),
            (block((-9,), slow, (-1,)), [(SHORT, (-1, -9)), (PHUGOID_MODE, (-0.01 + 0.2j,))]),
            (block((-9,), (-1, 1), (-0.1,)),  # a pair between two real roots
             [(LONGITUDINAL_COUPLED, (-1 + 1j,)), (LONGITUDINAL_COUPLED, (-0.1, -9))]),
            (block((-9,), (-0.2,), (-3,), (-0.1,)),
             [(SHORT, (-3, -9)), (PHUGOID_MODE, (-0.1, -0.2))]),
        ]
        # the state (v, p, r, phi): a pair in v and p has the sideslip
        lateral = [
            (block((-0.5, 2), (-5,), (-0.01,)),
             [(DUTCH, (-0.5 + 2j,)), (ROLL_MODE_NAME, (-5,)), (SPIRAL_MODE, (-0.01,))]),
            (block((-1,), (-5,), (-0.5,), (-0.01,)),
             [(DUTCH, (-0.5, -1)), (ROLL_MODE_NAME, (-5,)), (SPIRAL_MODE, (-0.01,))]),
            (block((-1, 0.5), (-0.5, 2)), [(DUTCH, (-1 + 0.5j,)), (ROLL_SPIRAL, (-0.5 + 2j,))]),
        ]
        for name, cases in ((longitudinal_modes, longitudinal), (lateral_modes, lateral)):
            for matrix, expected in cases:
                with self.subTest(name.__name__, expected=expected):
                    found = name(matrix) if name is longitudinal_modes else name(matrix, 1.0)
                    self.assertEqual([(mode.name, tuple(complex(round(r.real, 9), round(r.imag, 9))
                                                        for r in mode.roots)) for mode in found],
                                     expected)

    def test_figures(self):
        # ln 2 / 0.01 = 69.3 s; two real roots -1 and -9 as a pair: omega_n 3, zeta 10 / 6
        cases = [
            # |root| 5.39, -Re / |root|, 2 pi / Im
            (SHORT, (-2 + 5j,), "omega_n 5.39 rad/s, zeta 0.371, period 1.26 s"),
            (SHORT, (-1, -9),
             "two real roots (overdamped): omega_n 3 rad/s, zeta 1.67 as one pair"),
            (SHORT, (0.5, -9), "two real roots, one divergent: time to double 1.39 s"),
            (PHUGOID_MODE, (0.01 + 0.2j,), "period 31.4 s, zeta -0.0499, time to double 69.3 s"),
            (SPIRAL_MODE, (0.01,), "time to double 69.3 s"),
            (SPIRAL_MODE, (-0.01,), "time to half 69.3 s"),
            (ROLL_MODE_NAME, (0.5,), "time to double 1.39 s"),
            (LONGITUDINAL_COUPLED, (-0.1, -9), "time to half 6.93 s, time to half 0.077 s"),
        ]
        for name, found, text in cases:
            with self.subTest(name, roots=found):
                self.assertEqual(figures_text(Mode(name, tuple(map(complex, found)))), text)


class RatingTest(unittest.TestCase):
    def test_level_boundaries(self):
        def pair(zeta, omega=1.0):
            return Pair(omega, zeta, -zeta * omega)

        def doubling(seconds):  # the root that doubles in `seconds`
            return math.log(2) / seconds

        light, over, slow, up = "lightly damped", "overdamped", "slow", "divergent"
        cases = [  # (rating, category, [(value, level, why)])
            (rate_short_period, "B", [(0.30, 1, None), (0.2999, 2, light), (0.20, 2, light),
                                      (0.1999, 3, light), (0.15, 3, light), (0.1499, 4, light),
                                      (2.0, 1, None), (2.0001, 3, over), (None, 4, up)]),
            (rate_short_period, "A", [(0.35, 1, None), (0.3499, 2, light), (0.25, 2, light),
                                      (0.2499, 3, light), (1.30, 1, None), (1.3001, 2, over),
                                      (2.0, 2, over), (2.0001, 3, over)]),
            (rate_short_period, "C", [(0.3499, 2, light), (1.3001, 2, over)]),
            (rate_phugoid, "B", [(pair(0.04), 1, None), (pair(0.0399), 2, light),
                                 (pair(0.0), 2, light), (pair(1.5), 1, None),
                                 (Pair(None, None, doubling(55)), 3, up),
                                 (Pair(None, None, doubling(54.9)), 4, up)]),
            # Dutch roll: zeta, zeta omega_n and omega_n
            (rate_dutch_roll, "B", [(pair(0.08, 2), 1, None), (pair(0.0799, 2), 2, light),
                                    (pair(0.3, 0.5), 1, None), (pair(0.2999, 0.5), 2, light),
                                    (pair(0.5, 0.3999), 4, slow), (pair(0.02, 2.5), 2, light),
                                    (pair(0.02, 2.49), 3, light), (pair(0.0199, 5), 4, light),
                                    (pair(-0.1, 2), 4, up)]),
            (rate_dutch_roll, "A", [(pair(0.19, 1.85), 1, None), (pair(0.1899, 1.85), 2, light),
                                    (pair(0.19, 1.84), 2, light), (pair(0.5, 0.9999), 2, slow)]),
            (rate_dutch_roll, "C", [(pair(0.08, 2), 1, None), (pair(0.5, 0.9999), 2, slow)]),
            # roll mode: the root -1 / tau
            (rate_roll, "B", [(-1 / 1.399, 1, None), (-1 / 1.401, 2, slow), (-1 / 2.999, 2, slow),
                              (-1 / 3.001, 3, slow), (-1 / 9.99, 3, slow),
                              (-1 / 10.01, 4, slow), (0.0, 4, up)]),
            (rate_roll, "A", [(-1 / 0.999, 1, None), (-1 / 1.001, 2, slow),
                              (-1 / 1.399, 2, slow), (-1 / 1.401, 3, slow)]),
            (rate_roll, "C", [(-1 / 1.001, 2, slow)]),
            (rate_spiral, "B", [(-0.01, 1, None), (0.0, 1, None), (doubling(20.01), 1, None),
                                (doubling(19.99), 2, up), (doubling(12.01), 2, up),
                                (doubling(11.99), 3, up), (doubling(4.01), 3, up),
                                (doubling(3.99), 4, up)]),
            (rate_spiral, "A", [(doubling(12.01), 1, None), (doubling(11.99), 3, up)]),
            (rate_spiral, "C", [(doubling(20.01), 1, None), (doubling(19.99), 2, up)]),
        ]
        for rating, category, values in cases:
            for value, level, why in values:
                with self.subTest(rating.__name__, value=value, category=category):
                    self.assertEqual(rating(value, category), (level, why))


HEAD = [
    "Vessel class: Sailplane",
    "Modes of motion, rated against MIL-F-8785C (1980), Class I (small, light airplanes),"
    " Category B (climb, cruise and descent, gradual manoeuvres):",
    "Reference: level flight at the trim, its lift carrying the weight, with a constant thrust"
    " along the body x axis through the centre of gravity that balances the drag; small"
    " disturbances in body axes.",
    "Derivatives at the trim: by the speed across the Mach numbers around it, by the AOA and the"
    " sideslip across their axes, by the rates across the rate axis; none by the rate of change"
    " of the AOA or the sideslip (the simulator's airfoils see the airspeed alone).",
    "Mass 850 kg, inertia roll 3200, pitch 1100, yaw 4100 kg m^2, gravity 9.80349 m/s^2, at"
    " 1000 m.",
    "",
]
TABLE = ("  mode             eigenvalues [1/s]    figures                                        "
         "MIL-F-8785C")
NEEDS = ("aeroquin-report: modes: needs a report with ReportMoments = 1, a sideslip axis and a"
         " rate axis; this one lacks %s\n")


def cells(line):
    """The cells of a table's line."""
    return re.split(" {2,}", line.strip())


def run_modes(text, *options, env=None):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "r.csv")
        with open(path, "w", encoding="utf-8") as file:
            file.write(text)
        status, out, err = run_tool("modes", path, *options, env=env)
    return status, out.replace(path, "r.csv").splitlines(), err


class OutputTest(unittest.TestCase):
    def assert_numbers(self, text, shape, values, relative=5e-3):
        found_shape, found = numbers(text)
        self.assertEqual(found_shape, shape)
        self.assertEqual(len(found), len(values))
        for value, wanted in zip(found, values):
            self.assertLessEqual(abs(value - wanted), relative * abs(wanted), (text, wanted))

    def test_output(self):
        t = textbook(Steady)
        status, lines, err = run_modes(capture())
        self.assertEqual((status, err), (0, ""))
        self.assertEqual(lines[:8], ["Report: r.csv"] + HEAD + [lines[7]])
        self.assert_numbers(lines[7], "Level flight at the trim: Mach #, # m/s, trim AOA # deg,"
                            " thrust # N (from Mach # and #):",
                            [t["V"] / Steady.sound, t["V"], 0, t["drag"], 0.21, 0.22], 1e-5)
        self.assertEqual(lines[8], TABLE)
        rows = [cells(line) for line in lines[9:14]]
        self.assertEqual([row[0] for row in rows],
                         [SHORT, PHUGOID_MODE, DUTCH, ROLL_MODE_NAME, SPIRAL_MODE])
        self.assertEqual([row[3] for row in rows], ["Level 1"] * 5)
        self.assertEqual([numbers(row[2])[0] for row in rows[:3]], [
            "omega_n # rad/s, zeta #, period # s", "period # s, zeta #",
            "omega_n # rad/s, zeta #, period # s"])
        # The step multiplies the roll rate by 1 - dt k / I.
        step = -0.02 / math.log(1 + 0.02 * t["Lp"] / t["Ix"])
        self.assert_numbers(rows[3][2], "tau # s; the step's: # s", [-t["Ix"] / t["Lp"], step])
        self.assertEqual(numbers(rows[3][1])[1], [float("%.3g" % (t["Lp"] / t["Ix"]))])
        self.assertEqual(rows[4][1:3], ["0", "neutral"])
        # The modes as the step flies them; a neutral spiral has no figure there.
        flown = "  As the simulator's fixed step of # s flies them: short period omega_n # rad/s," \
            " zeta #, period # s; phugoid period # s, zeta #; Dutch roll omega_n # rad/s, zeta #," \
            " period # s"
        self.assertEqual(numbers(lines[14]), (flown, [0.02] + numbers(lines[14])[1][1:]))
        self.assertEqual(len(lines), 15)
        # At a small step the step flies the continuous modes.
        _, fine, _ = run_modes(capture(step=1e-4))
        table = [value for line in fine[9:12] for value in numbers(cells(line)[2])[1]]
        self.assert_numbers(fine[14], flown, [1e-4] + table, 2e-3)
        # Category A asks a zeta of 0.19 of the Dutch roll.
        status, lines, _ = run_modes(capture(), "--category", "A")
        self.assertEqual(lines[2], HEAD[1].replace(
            "B (climb, cruise and descent, gradual manoeuvres)",
            "A (rapid manoeuvring, precision tracking or precise flight-path control)"))
        self.assertEqual(cells(lines[11])[-1], "Level 2")
        self.assertEqual(lines[15:], ["  Hint: Dutch roll lightly damped (Level 2): raise the fin's"
                                      " area or its RotResistance in yaw"])

    def test_trims_and_the_steps_limit(self):
        # Levels -1 and 1 trim beyond the Mach numbers; at a step of 0.1 s the roll damping is
        # I/dt.
        status, lines, _ = run_modes(capture(levels=(-1, 0, 1), step=0.1))
        self.assertEqual(status, 0)
        # at Mach 0.2 the trim AOA 1.5 deg gives 3 + 1.5 - 1 m^2 of CL*S total
        lift = 0.5 * Steady.density * (Steady.sound * 0.2) ** 2 * 3.5
        self.assert_numbers(lines[7], "At control level #, level flight at the trim: below Mach #:"
                            " the trimmed lift there is # times the weight; no modes: they need a"
                            " trim within the grid",
                            [-1, 0.2, lift / (Steady.mass * Steady.gravity)], 1e-5)
        self.assertTrue(lines[9].startswith("At control level 0, level flight at the trim: Mach"))
        self.assertEqual(cells(lines[14])[2:], ["tau 0.1 s; the step's: stopped in one step",
                                                "Level 1"])
        self.assertTrue(lines[16].startswith("  As the simulator's fixed step of 0.1 s flies them"))
        self.assertEqual(lines[17:19], [
            "  Note: the roll damping at the trim is the simulator's limit I/dt = 3200 kg m^2 /"
            " 0.1 s = 32000 N m s, which stops a roll rate in one step: there it depends on the"
            " step, not on the air", ""])
        self.assertTrue(lines[19].startswith("At control level 1, level flight at the trim: above"))
        # No trim within the grid, no sideslip slope: status 4.
        status, lines, _ = run_modes(capture().replace("Mass (kg) = 850", "Mass (kg) = 8500"))
        self.assertEqual(status, 4)
        self.assertTrue(lines[-1].endswith("; no modes: they need a trim within the grid"))
        status, lines, _ = run_modes(Steady.report(machs=(0.2, 0.21, 0.22, 0.23), aoas=(-4, 0, 4),
                                                   rates=(-10, 0, 10), sideslips=(2, 4)))
        self.assertEqual(status, 4)
        self.assertTrue(lines[-1].endswith(" (from Mach 0.21 and 0.22); no modes: the rows around"
                                           " it do not give every derivative (each axis needs rows"
                                           " on either side of 0, or at 0 and beside it)"))

    def test_what_the_modes_need(self):
        cases = [
            (Sailplane.report(), "the sideslip axis"),
            (read_fixture("sideslip.csv"),
             "the moments, the rate axis and the header's mass, inertia and gravity"),
            (capture().replace("Mass (kg) = 850\n", ""), "the header's mass"),
        ]
        for text, lacks in cases:
            with self.subTest(lacks):
                self.assertEqual(run_modes(text), (4, [], NEEDS % lacks))
                pointer = summary_lines(parse_report(text, "r.csv"))[-2:]
                self.assertNotEqual(pointer[-1][:15], "Modes of motion")
        self.assertEqual(summary_lines(parse_report(capture(), "r.csv"))[-2:], [
            "", "Modes of motion and their flying-qualities levels: see aeroquin-report modes"])

    def test_without_numpy(self):
        with tempfile.TemporaryDirectory() as folder:
            os.mkdir(os.path.join(folder, "numpy"))
            with open(os.path.join(folder, "numpy", "__init__.py"), "w") as file:
                file.write("raise ImportError('No module named numpy')\n")
            status, lines, err = run_modes(capture(), env=dict(os.environ, PYTHONPATH=folder))
        self.assertEqual((status, lines), (3, []))
        self.assertEqual(err, library_missing_note("no modes computed", "numpy", PYTHON,
                                                   "No module named numpy") + "\n")
        self.assertEqual(
            library_missing_note("no modes computed", "numpy", "/usr/bin/python3", "gone", True),
            "aeroquin-report: note: no modes computed: numpy is not installed for /usr/bin/python3"
            " (gone); install it: apt-get install python3-numpy")
