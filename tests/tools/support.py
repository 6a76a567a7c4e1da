"""Paths and helpers shared by the aeroquin-report tests."""

import math
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "fixtures")
TOOLS = os.path.normpath(os.path.join(HERE, os.pardir, os.pardir, "tools"))
TOOL = os.path.join(TOOLS, "aeroquin-report")
PACKAGE_ROOT = os.path.join(TOOLS, "report")
# The interpreter the tests run under, the one the build found.
PYTHON = sys.executable

if PACKAGE_ROOT not in sys.path:
    sys.path.insert(0, PACKAGE_ROOT)


def fixture(name):
    return os.path.join(FIXTURES, name)


def read_fixture(name):
    with open(fixture(name), encoding="utf-8", newline="") as file:
        return file.read()


def run_tool(*args, cwd=None, env=None):
    """Runs the tool as users do; returns (exit status, stdout, stderr)."""
    done = subprocess.run(
        [PYTHON, TOOL, *args], capture_output=True, text=True, cwd=cwd, env=env, timeout=300
    )
    return done.returncode, done.stdout, done.stderr


def columns(text, keep):
    """The report `text` with only the columns named in `keep`, in their order."""
    lines = text.splitlines()
    names = lines[5].split("; ")
    chosen = [names.index(name) for name in keep]
    rows = ["; ".join(line.split("; ")[i] for i in chosen) for line in lines[5:]]
    return "\n".join(lines[:5] + rows) + "\n"


def with_sideslip(text):
    """The elevator report with a sideslip axis of -5, 0 and 5 deg, swept inside the levels; off
    sideslip 0 CM*S*c is 5 (no trim) and CL*S total 9."""
    lines = text.splitlines()
    header = lines[5].replace("CM*S*c; CY*S", "CM*S*c; Sideslip; CY*S")
    out = lines[:5] + [header]
    rows = lines[6:]
    for start in range(0, len(rows), 4):  # one Mach number and level: four AOAs
        for beta in ("-5", "0", "5"):
            for line in rows[start:start + 4]:
                fields = line.split("; ")
                if beta != "0":
                    fields[7], fields[12] = "5", "9"
                out.append("; ".join(fields[:8] + [beta] + fields[8:]))
    return "\n".join(out) + "\n"


class Sailplane:
    """The model of the rate reports: a linear wing below its stall, a parabolic polar, a pitching
    moment that trims it, the simulator's rotation damping per body axis, with a sideslip axis a
    side force, rolling and yawing moment linear in it and, at a control level, an elevator's lift
    and moment. Lengths m, angles deg, rates deg/s. A subclass changes what it overrides."""

    density = 1.1  # kg/m^3
    sound = 336.4  # m/s
    mass = 850.0  # kg
    gravity = 9.80349  # m/s^2
    inertia = (3200.0, 1100.0, 4100.0)  # kg m^2: roll, pitch, yaw
    cross_section = 5.0  # m^2
    rot_drag = (2.0, 1.0, 1.5)  # roll, pitch, yaw
    sideways = (-0.06, -0.05, 0.27)  # CY*S, Cl*S*b, Cn*S*b per degree of sideslip
    drag_mach = 0.0  # CD*S added per unit of Mach number

    @staticmethod
    def lift(aoa):  # CL*S
        return 3 + aoa if aoa <= 12 else 15 - 0.5 * (aoa - 12)

    @classmethod
    def drag(cls, aoa):  # CD*S
        return 0.2 + 0.004 * cls.lift(aoa) ** 2 + 0.1 * max(0, aoa - 12)

    @staticmethod
    def trim(mach, level=0.0):  # where CM*S*c is 0 at rate 0
        return (0.8 + 2 * (mach - 0.08) - 0.3 * level) / 0.2

    @classmethod
    def damping(cls, mach, axis, step):
        """N m per rad/s about the body axis (0 roll, 1 pitch, 2 yaw): the aerodynamic damping,
        or what stops the rotation in one step."""
        air = 0.5 * cls.density * (cls.sound * mach + 30) ** 2 * cls.cross_section
        return min(air * cls.rot_drag[axis], cls.inertia[axis] / step)

    @classmethod
    def report(cls, machs=(0.08, 0.12, 0.16, 0.2), aoas=(-4, 0, 4, 8, 12, 16),
               rates=(-20, -10, 0, 10, 20), levels=None, step=0.02, coupling=0.0, stiffness=0.2,
               sideslips=None):
        """The report of a capture over the rate axis (and an elevator's levels, the sideslips);
        `coupling` adds that much Cl*S*b per deg/s of yaw rate and Cn*S*b per deg/s of roll rate;
        CM*S*c falls `stiffness` m^3 per degree of AOA (rises, unstable, when negative)."""
        head = [
            "Aeroquin version: 1.0", "Vessel Class: Sailplane",
            "System time at simulation start: 2024/03/05::14:07:09",
            "Number of AOA points = %d" % len(aoas), "Number of Mach points = %d" % len(machs),
            "Altitude (m) = 1000", "Mass (kg) = %g" % cls.mass,
            "Inertia roll, pitch, yaw (kg m^2) = %g %g %g" % cls.inertia,
            "Gravity (m/s^2) = %g" % cls.gravity,
        ]
        if sideslips is not None:
            head.append("Number of sideslip points = %d" % len(sideslips))
        if levels is not None:
            head += ["Control surface = Elevator", "Number of control levels = %d" % len(levels)]
        head.append("Number of rate points = %d" % len(rates))
        head += ["Controls held = %sRudder 0, Aileron 0, Flap 0, ElevatorTrim 0, RudderTrim 0"
                 % ("Elevator 0, " if levels is None else ""),
                 "Thrust held (N) = 0", "Time step (s) = %g" % step]
        control = "; Control Level; CL*S total; CD*S total" if levels is not None else ""
        head.append("Mach Number; AOA; Dynamic Pressure; Airspeed; CL*S; CD*S; L/D; CM*S*c; %sCY*S;"
                    " Cl*S*b; Cn*S*b%s; Pitch Rate; Roll Rate; Yaw Rate"
                    % ("" if sideslips is None else "Sideslip; ", control))
        rows = []
        for mach in machs:
            speed = cls.sound * mach
            q = 0.5 * cls.density * speed ** 2
            for level in (0.0,) if levels is None else levels:
                for beta in (None,) if sideslips is None else sideslips:
                    # Without a sideslip axis none, not a 0 that would turn a -0 into 0.
                    side, roll, yaw = (0, None, None) if beta is None else (
                        k * beta for k in cls.sideways)
                    for axis in (1, 0, 2):  # pitch, roll, yaw
                        for rate in rates:
                            w = [0.0, 0.0, 0.0]  # p, q, r, deg/s
                            w[axis] = rate
                            turning = [-cls.damping(mach, i, step) * math.radians(w[i]) / q
                                       for i in range(3)]
                            for aoa in aoas:
                                lift, drag = cls.lift(aoa), cls.drag(aoa) + cls.drag_mach * mach
                                moment = stiffness * (cls.trim(mach, level) - aoa) + turning[1]
                                values = [mach, aoa, q, speed, lift, drag, lift / drag, moment]
                                values += [] if beta is None else [beta]
                                moments = [turning[0] + coupling * w[2],
                                           turning[2] + coupling * w[0]]
                                if beta is not None:
                                    moments = [moments[0] + roll, moments[1] + yaw]
                                values += [side] + moments
                                if levels is not None:
                                    values += [level, lift + level, drag + 0.05 * abs(level)]
                                values += [w[1], w[0], w[2]]
                                rows.append("; ".join("%g" % v for v in values))
        return "\n".join(head + rows) + "\n"
