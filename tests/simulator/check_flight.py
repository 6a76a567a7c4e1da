"""Holds a vessel's free flight against the modes of motion that aeroquin-report predicts from a
capture of it: tools/check-in-simulator runs it on the simulator's flights and the stand-in's,
CTest (flight_standin) on the stand-in's.

Usage:
  check_flight.py release REPORT VESSEL pitch|yaw LOG
      FreeFlight.cfg's text (tests/simulator/plugin/FreeFlight.cpp) for the report's first
      level-flight trim: its airspeed, AOA, thrust and control level, at the report's altitude,
      heading north, nudged by 3 deg/s in pitch or in yaw; LOG is the flight's log.
  check_flight.py check REPORT PITCH_LOG YAW_LOG
      The modes fitted from the two flights against the prediction: the short period, the
      phugoid and the Dutch roll within 10 % in natural frequency and damping ratio, the roll
      time constant within 20 % where it is longer than 5 steps, the spiral's verdict; the
      short period and the Dutch roll also within 2 % of the figures the prediction gives for
      the simulator's fixed step. Exit 1 when one misses.
  check_flight.py agree PITCH_LOG YAW_LOG OTHER_PITCH_LOG OTHER_YAW_LOG
      The modes fitted from one world's flights against another's, in the same figures; exit 1
      beyond the same bounds.

The fit: the logged state after the release, (u, w, q, pitch, altitude) of the pitch flight and
(v, p, r, bank, heading) of the yaw flight, is one step's affine map x' = A x + b, fitted by
least squares; each eigenvalue z of A is the mode ln(z) / dt. The altitude's and the heading's
roots are the density gradient's slow mode and the heading's neutral one, outside the prediction's
equations. A roll rate that the step stops (the prediction says so) is no state of its own.
"""

import math
import sys
from dataclasses import dataclass
from typing import Optional

import numpy

from aeroquin_report import modes as predicted
from aeroquin_report.numtext import g6
from aeroquin_report.report import read_report

NUDGE = 3.0  # deg/s
TOLERANCE = {"pair": 0.10, "roll": 0.20, "stepped": 0.02}
LEAST_ROLL_STEPS = 5  # a roll time constant held only above this many steps
LONGITUDINAL = ("u", "w", "q", "pitch", "altitude")
LATERAL = ("v", "p", "r", "bank", "heading")


def first_trim(report):
    """The first control level whose level-flight trim gives modes, its trim and its modes."""
    for level, _figure, trim, analysis in predicted.analysed(report):
        if analysis is not None:
            return level, trim, analysis
    raise SystemExit("check_flight: the report gives no level-flight trim with modes")


def release(report_path, vessel, nudge, log):
    report = read_report(report_path)
    level, trim, _analysis = first_trim(report)
    rates = {"pitch": "0 %g 0" % NUDGE, "yaw": "0 0 %g" % NUDGE}[nudge]
    lines = [
        "Vessel = %s" % vessel,
        "Altitude = %s" % g6(report.altitude),
        "Airspeed = %r" % trim.speed,
        "AOA = %r" % trim.balance.polar.aoa,
        "Heading = 0",
        "Thrust = %r" % trim.thrust,
        "Nudge = %s" % rates,
        "Log = %s" % log,
    ]
    if level is not None:
        lines.insert(6, "Elevator = %r" % level)
    print("\n".join(lines))


@dataclass(frozen=True)
class Figures:
    """A mode's figures: natural frequency (rad/s) and damping ratio of a pair; of a real root
    its time constant (s, < 0 divergent); or stopped within a step."""

    omega: Optional[float] = None
    zeta: Optional[float] = None
    tau: Optional[float] = None
    stopped: bool = False

    def text(self):
        if self.stopped:
            return "stopped in one step"
        if self.omega is not None:
            return "omega_n %s rad/s, zeta %s, period %s s" % (
                g6(self.omega), g6(self.zeta), g6(2 * math.pi / (self.omega * math.sqrt(
                    max(1 - self.zeta ** 2, 1e-300)))))
        return "tau %s s" % g6(self.tau) if self.tau > 0 else "time to double %s s" % g6(
            -self.tau * math.log(2))


def of_pair(root):
    return Figures(omega=abs(root), zeta=-root.real / abs(root))


def of_real(root):
    return Figures(tau=-1 / root.real)


def read_log(path):
    """The log's rows after the release's, as columns; a last row cut short is left out."""
    with open(path, encoding="utf-8") as file:
        names = file.readline().strip().split(",")
        rows = [line.split(",") for line in file]
    rows = [[float(value) for value in row] for row in rows if len(row) == len(names)]
    table = numpy.array(rows[1:]).T
    return {name: table[i] for i, name in enumerate(names)}


def fitted_roots(log, states):
    """The eigenvalues of the affine one-step map fitted to the states, as ln(z) / dt, 1/s; a
    z of 0 or below (a state stopped within the step) is None."""
    x = numpy.vstack([log[name] for name in states])
    step = float(numpy.median(numpy.diff(log["time"])))
    before = numpy.vstack([x[:, :-1], numpy.ones(x.shape[1] - 1)])
    solution, *_ = numpy.linalg.lstsq(before.T, x[:, 1:].T, rcond=None)
    roots = []
    for z in numpy.linalg.eigvals(solution.T[:, :len(states)]):
        z = complex(z)
        if z.imag < 0:
            continue
        roots.append(None if z.imag == 0 and z.real <= 0 else numpy.log(z) / step)
    return roots, step


def fit_longitudinal(log):
    """Short period and phugoid: the faster and the slower pair."""
    roots, _ = fitted_roots(log, LONGITUDINAL)
    pairs = sorted((r for r in roots if r is not None and r.imag > 0), key=abs)
    if len(pairs) != 2:
        raise SystemExit("check_flight: the pitch flight shows %d oscillations, not 2: %s"
                         % (len(pairs), roots))
    return {predicted.SHORT: of_pair(pairs[1]), predicted.PHUGOID_MODE: of_pair(pairs[0])}


def fit_lateral(log, roll_is_state):
    """Dutch roll, spiral and roll subsidence: the pair, the slower real root after the heading's
    (the slowest), the fastest."""
    states = LATERAL if roll_is_state else tuple(s for s in LATERAL if s != "p")
    roots, _ = fitted_roots(log, states)
    pairs = [r for r in roots if r is not None and r.imag > 0]
    reals = sorted((r for r in roots if r is not None and r.imag == 0), key=abs)
    if len(pairs) != 1 or len(reals) < 2:
        raise SystemExit("check_flight: the yaw flight's roots are not a Dutch roll, a spiral and"
                         " a heading: %s" % roots)
    found = {predicted.DUTCH: of_pair(pairs[0]), predicted.SPIRAL_MODE: of_real(reals[1])}
    if roll_is_state:
        found[predicted.ROLL_MODE_NAME] = of_real(reals[-1]) if len(reals) > 2 else Figures(
            stopped=True)
    return found


def prediction(report):
    """The predicted modes' figures, the roll's time constant as the step flies it; and the
    oscillations as the step flies them."""
    _level, _trim, analysis = first_trim(report)
    found = {}
    for mode in analysis.modes:
        root = mode.roots[0]
        found[mode.name] = of_pair(root) if mode.oscillates else of_real(root)
    inertia = report.inertia
    step_tau = predicted.step_roll(-analysis.derivatives["L_p"], inertia[0], report.time_step)
    if step_tau is None:
        found[predicted.ROLL_MODE_NAME] = Figures(stopped=True)
    else:
        found[predicted.ROLL_MODE_NAME] = Figures(tau=step_tau)
    stepped = {name: of_pair(root) for name, root in analysis.stepped.items() if root.imag > 0}
    return found, stepped


def flown(pitch_log, yaw_log, roll_is_state):
    found = fit_longitudinal(read_log(pitch_log))
    found.update(fit_lateral(read_log(yaw_log), roll_is_state))
    return found


def deviation(a, b):
    return (a - b) / abs(b)


def compare(expected, found, step, title, stepped=None):
    """Prints the table; returns the number of figures beyond their bounds. With `stepped` (the
    oscillations as the step flies them) the short period and the Dutch roll are held within
    2 % of those too."""
    print(title)
    misses = 0
    for name in (predicted.SHORT, predicted.PHUGOID_MODE, predicted.DUTCH,
                 predicted.ROLL_MODE_NAME, predicted.SPIRAL_MODE):
        if name not in expected:
            continue  # a roll that neither world's step lets live
        want, got = expected[name], found.get(name, Figures(stopped=True))
        verdict = ""
        if want.omega is not None and got.omega is not None:
            parts = []
            for label, a, b in (("omega_n", got.omega, want.omega), ("zeta", got.zeta, want.zeta)):
                off = deviation(a, b)
                parts.append("%s %+.1f %%" % (label, 100 * off))
                misses += abs(off) > TOLERANCE["pair"]
            verdict = ", ".join(parts) + " (bound 10 %)"
            flies = (stepped or {}).get(name)
            if flies is not None and name in (predicted.SHORT, predicted.DUTCH):
                parts = []
                for label, a, b in (("omega_n", got.omega, flies.omega),
                                    ("zeta", got.zeta, flies.zeta)):
                    off = deviation(a, b)
                    parts.append("%s %+.2f %%" % (label, 100 * off))
                    misses += abs(off) > TOLERANCE["stepped"]
                verdict += "; the step's: " + ", ".join(parts) + " (bound 2 %)"
        elif name == predicted.SPIRAL_MODE:
            same = (want.tau > 0) == (got.tau > 0)
            said = "the same verdict" if same else "ANOTHER VERDICT"
            verdict = "%s, tau %+.1f %%" % (said, 100 * deviation(got.tau, want.tau))
            misses += not same
        elif want.stopped or want.tau < LEAST_ROLL_STEPS * step:
            verdict = "not held: %s" % ("stopped in one step" if want.stopped else
                                        "%s steps or less" % LEAST_ROLL_STEPS)
        elif got.tau is None:
            verdict = "not seen"
            misses += 1
        else:
            off = deviation(got.tau, want.tau)
            verdict = "tau %+.1f %% (bound 20 %%)" % (100 * off)
            misses += abs(off) > TOLERANCE["roll"]
        print("  %-16s %-48s %-48s %s" % (name, want.text(), got.text(), verdict))
    return misses


def main(argv):
    if len(argv) == 6 and argv[1] == "release":
        release(*argv[2:])
        return 0
    if len(argv) == 5 and argv[1] == "check":
        report = read_report(argv[2])
        expected, stepped = prediction(report)
        roll_is_state = not expected[predicted.ROLL_MODE_NAME].stopped
        found = flown(argv[3], argv[4], roll_is_state)
        title = "Flown (%s, %s) against predicted (%s):" % (argv[3], argv[4], argv[2])
        misses = compare(expected, found, report.time_step, title, stepped)
    elif len(argv) == 6 and argv[1] == "agree":
        expected = flown(argv[4], argv[5], False)
        found = flown(argv[2], argv[3], False)
        step = float(numpy.median(numpy.diff(read_log(argv[2])["time"])))
        misses = compare(expected, found, step,
                         "Flown (%s, %s) against flown (%s, %s):" % tuple(argv[2:6]))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    print("  %s" % ("FAILED: %d figures beyond their bounds" % misses if misses else "agree"))
    return 1 if misses else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
