"""Holds a capture's report against what the test plug-in VesselProbe logged of the same vessel in
the simulator (tools/check-in-simulator runs it).

Usage: check_probe.py LOG REPORT CONFIG [--signs] [--restore] [--off-level]

With a rate axis each row's rates must be those the probe reads back in its pre-step
(GetAngularVel: q = w.x, p = w.z, r = -w.y) and the commanded ones, and the moments the probe's
GetAngularMoment at that rate.

Row k of the report is point k of the grid that CONFIG (the module's configuration) sweeps and
frame k of the log. It must be the row logged in that frame; the angles that the simulator reads
back in the probe's pre-step, just after Aeroquin's, must be the commanded ones (to 1e-9 rad);
and every column that the docs map onto a call must print as that call's value over the forces'
own dynamic pressure (the pre-step's). With a control axis each row's Control Level is the level
the probe read after the step; it must be the commanded one on every row, or, with --off-level,
on none of the rows the final status counts. --restore: the control levels and mode on the last
frame are those at the simulation's start. --signs: at AOA 0 a positive sideslip gives CY*S < 0,
Cn*S*b > 0 and Cl*S*b < 0, a negative one the opposite signs.
"""

import math
import re
import sys

from aeroquin_report.numtext import g6
from aeroquin_report.report import read_report

ANGLE_TOLERANCE = 1e-9  # rad
RESIDUE = 1e-9  # m^2 or m^3: below it a value that is 0 in exact arithmetic agrees as 0
CONTROL_TYPES = ["elevator", "rudder", "aileron", "flap", "elevatortrim", "ruddertrim"]
ROW = re.compile(r"[-+.0-9a-z]+(; [-+.0-9a-z]+)+")
SIZES = {"F": 3, "M": 3, "w": 3, "levels": 6}


def items(path):
    """The configuration's items, comments and blanks trimmed, names in lower case."""
    found = {}
    for line in open(path, encoding="utf-8"):
        name, _, value = line.split(";")[0].partition("=")
        if value:
            found[name.strip().lower()] = value.split()
    return found


def axis(found, intervals, increments, exact=False):
    """The points the module makes of an axis: each afresh from its interval's lower bound; on
    an exact axis (sideslip, control) each interval ends at its bound and a residue of 0 is 0."""
    if intervals not in found:
        return [None]
    bounds = [float(b) for b in found[intervals]]
    points = [bounds[0]]
    for i, n in enumerate(int(c) for c in found[increments]):
        step = (bounds[i + 1] - bounds[i]) / n if n else 0.0
        for j in range(1, n + 1):
            point = bounds[i] + j * step
            if exact and j == n:
                point = bounds[i + 1]
            elif exact and abs(point) < abs(step) * 1e-9:
                point = 0.0
            points.append(point)
    return points


def fields(words):
    """'aoa 1 slip 2 F 1 2 3' as {'aoa': [1.0], 'slip': [2.0], 'F': [1.0, 2.0, 3.0]}."""
    found, i = {}, 0
    while i < len(words):
        n = SIZES.get(words[i], 1)
        found[words[i]] = [float(w) for w in words[i + 1:i + 1 + n]]
        i += 1 + n
    return found


def main():
    log_path, report_path, config_path = sys.argv[1:4]
    flags = set(sys.argv[4:])
    found = items(config_path)
    # The rate axis: its values about the pitch, the roll and the yaw axis in turn, deg/s.
    values = axis(found, "rateintervals", "rateincrements", True)
    rates = [None] if values == [None] else [
        tuple(v if i == body else 0.0 for i in range(3)) for body in range(3) for v in values]
    grid = [(mach, level, slip, rate, aoa)
            for mach in axis(found, "machintervals", "machincrements")
            for level in axis(found, "controlintervals", "controlincrements", True)
            for slip in axis(found, "sideslipintervals", "sideslipincrements", True)
            for rate in rates
            for aoa in axis(found, "aoaintervals", "aoaincrements")]
    control = (CONTROL_TYPES.index(found["controlsurface"][0].lower())
               if "controlsurface" in found else None)

    start, pre, post, logged, statuses = None, {}, {}, {}, []
    frame = 0
    for line in open(log_path, encoding="utf-8", errors="replace"):
        line = re.sub(r"^[0-9]+\.[0-9]+: ", "", line.rstrip("\n"))
        probe = re.match(r"VesselProbe: frame (\d+) (pre|post): (.*)", line)
        if probe:
            frame = int(probe.group(1))
            (pre if probe.group(2) == "pre" else post)[frame] = fields(probe.group(3).split())
        elif line.startswith("VesselProbe: start: levels"):
            start = fields(line.split(": ", 2)[2].split())
        elif ROW.fullmatch(line):
            logged[frame] = line
        elif line.startswith("Capture "):
            statuses.append(line)

    report = read_report(report_path)
    lines = open(report_path, encoding="utf-8").read().splitlines()
    texts = lines[next(i for i, line in enumerate(lines) if line.startswith("Mach Number")) + 1:]
    columns = report.columns
    problems = []
    if len(report.rows) != len(grid):
        problems.append("%d rows for a grid of %d points" % (len(report.rows), len(grid)))
    worst_aoa = worst_slip = worst_moved = worst_level = worst_rate = 0.0
    mapped = {}
    off_level = []
    for k, (row, text, point) in enumerate(zip(report.rows, texts, grid), start=1):
        mach, level, slip, rate, aoa = point
        if k not in pre or k not in post:
            problems.append("frame %d: no probe line" % k)
            break
        if logged.get(k) != text:
            problems.append("row %d is not the row logged in frame %d (%s)" % (k, k, logged.get(k)))
            break
        if (g6(row.mach), g6(row.aoa)) != (g6(mach), g6(aoa)) or (
                slip is not None and g6(row.sideslip) != g6(slip)):
            problems.append("row %d is not at point %s" % (k, point))
            break
        a, b = aoa * math.pi / 180, (slip or 0.0) * math.pi / 180
        worst_aoa = max(worst_aoa, abs(pre[k]["aoa"][0] - a))
        worst_slip = max(worst_slip, abs(-pre[k]["slip"][0] - b))
        worst_moved = max(worst_moved, abs(post[k]["aoa"][0] - a), abs(-post[k]["slip"][0] - b))
        q = pre[k]["q"][0]
        force, moment = post[k]["F"], post[k]["M"]
        # The commanded airspeed's direction, the simulator's lift direction and drag direction.
        n = math.hypot(math.sin(b) * math.cos(a), math.cos(b))
        v = (math.sin(b) * math.cos(a) / n, -math.sin(a) * math.cos(b) / n,
             math.cos(a) * math.cos(b) / n)
        expected = {
            "Dynamic Pressure": q,
            "CM*S*c": moment[0] / q,
            "CY*S": force[0] / q,
            "Cl*S*b": moment[2] / q,
            "Cn*S*b": -moment[1] / q,
            "CL*S total": (force[1] * v[2] - force[2] * v[1]) / math.hypot(v[2], v[1]) / q,
            "CD*S total": -(force[0] * v[0] + force[1] * v[1] + force[2] * v[2]) / q,
        }
        if rate is not None:
            # Aerospace q, p, r from the simulator's angular velocity read back in the pre-step:
            # q about x, p about z, r about -y; each the commanded rate.
            w = [x * 180 / math.pi for x in pre[k]["w"]]
            read = (w[0], w[2], -w[1])
            expected.update(zip(("Pitch Rate", "Roll Rate", "Yaw Rate"), read))
            worst_rate = max([worst_rate] + [abs(r - c) for r, c in zip(read, rate)])
        if control is not None:
            used = post[k]["levels"][control]
            expected["Control Level"] = used
            worst_level = max(worst_level, abs(used - level))
            if g6(used) != g6(level):
                off_level.append(k)
        for name, value in expected.items():
            if name in columns:
                mapped.setdefault(name, [])
                printed = g6(row.value(name))
                # The reader takes a column's rounding residue as 0; so is the probe's.
                if g6(value) != printed and not (abs(value) < RESIDUE and
                                                 abs(row.value(name)) < RESIDUE):
                    mapped[name].append("row %d: %s against %s" % (k, printed, g6(value)))

    print("   %d rows, each the row logged in its frame; read back in the pre-step: AOA within"
          " %.2g rad, sideslip within %.2g rad (after the step they have moved by up to %.2g)"
          % (len(report.rows), worst_aoa, worst_slip, worst_moved))
    if max(worst_aoa, worst_slip) > ANGLE_TOLERANCE:
        problems.append("an angle read back is off by more than %g rad" % ANGLE_TOLERANCE)
    if rates != [None]:
        print("   rates read back in the pre-step within %.2g deg/s of the commanded ones"
              % worst_rate)
        if worst_rate > 1e-9:
            problems.append("a rate read back is off by %g deg/s" % worst_rate)
    for name, bad in mapped.items():
        print("   %-16s the probe's value in print on %d of %d rows"
              % (name, len(report.rows) - len(bad), len(report.rows)))
        if bad:
            problems.append("%s differs from the probe's: %s" % (name, "; ".join(bad[:3])))

    if control is not None:
        print("   level read back against the commanded one: %d of %d rows differ in print, the"
              " largest difference %.3g" % (len(off_level), len(report.rows), worst_level))
        print("   final status: %s" % (statuses[-1] if statuses else "none"))
        if "--off-level" in flags:
            text = ("Capture ended: %d of %d points ran at another control level than commanded"
                    " (their rows say which)" % (len(off_level), len(grid)))
            if not off_level or text not in statuses:
                problems.append("no line '%s'" % text)
            if "Capture completed" in statuses:
                problems.append("'Capture completed' in the log")
        else:
            if off_level:
                problems.append("rows %s ran at another level" % off_level[:5])
            if statuses != ["Capture completed"]:
                problems.append("the statuses %s, not 'Capture completed' alone" % statuses)
    if "--restore" in flags:
        # The capture gives back the swept level and the mode that it found at the start: at the
        # end of the last point's frame directly, and again in the next pre-step, since the
        # simulator's pass over the user's input turns the first into a ramp; so from the next
        # frame's post-step on they are back. Every other level stays where the first step had
        # it (a scenario's levels are applied in that step) on every frame.
        last = max(post) if post else 0
        start_levels, start_mode = (start or {}).get("levels"), (start or {}).get("mode")
        first = post.get(1, {}).get("levels")
        others = [i for i in range(6) if i != control]

        def given_back(f):
            return (post[f]["levels"][control] == start_levels[control] and
                    post[f].get("mode") == start_mode)

        back = next((f for f in sorted(post) if f > len(grid) and
                     all(given_back(g) for g in sorted(post) if g >= f)), None)
        moved = [f for f in sorted(post)
                 if [post[f]["levels"][i] for i in others] != [first[i] for i in others]]
        print("   at the start: %s, mode %s; after the first step: %s; at frame %d: %s, mode %s;"
              " the swept level and the mode back from frame %s on"
              % (start_levels, start_mode, first, last, post[last]["levels"],
                 post[last].get("mode"), back))
        if start_levels is None or first is None or back is None or back > len(grid) + 1:
            problems.append("the swept level and the mode are not back in the frame after the"
                            " last point's")
        if moved:
            problems.append("another level moved in frames %s" % moved[:5])

    if "--signs" in flags:
        wrong = []
        for mach in sorted({row.mach for row in report.rows}):
            at = {row.sideslip: row for row in report.rows if row.mach == mach and row.aoa == 0}
            for slip, row in at.items():
                sign = (slip > 0) - (slip < 0)
                if sign and not (math.copysign(1, row.cy_s) == -sign and
                                 math.copysign(1, row.yaw_s_b) == sign and
                                 math.copysign(1, row.roll_s_b) == -sign):
                    wrong.append("Mach %s, sideslip %s: CY*S %s, Cn*S*b %s, Cl*S*b %s" % (
                        g6(mach), g6(slip), g6(row.cy_s), g6(row.yaw_s_b), g6(row.roll_s_b)))
            side = sorted(s for s in at if s > 0)
            if side and -side[0] in at:
                lo, hi = at[-side[0]], at[side[0]]
                per_rad = 2 * side[0] * math.pi / 180
                slopes = [(hi.value(c) - lo.value(c)) / per_rad
                          for c in ("CY*S", "Cn*S*b", "Cl*S*b")]
                print("   Mach %s, AOA 0, from sideslip +-%s: CY_beta*S %.4g m^2/rad, Cn_beta*S*b"
                      " %.4g m^3/rad, Cl_beta*S*b %.4g m^3/rad"
                      % tuple([g6(mach), g6(side[0])] + slopes))
        if wrong:
            problems.append("wrong signs: " + "; ".join(wrong[:3]))
        else:
            print("   at AOA 0 every positive sideslip gives CY*S < 0, Cn*S*b > 0 (stable in yaw)"
                  " and Cl*S*b < 0 (rolls away), every negative one the opposite")

    if problems:
        print("   FAILED: " + "; ".join(problems))
        sys.exit(1)


if __name__ == "__main__":
    main()
