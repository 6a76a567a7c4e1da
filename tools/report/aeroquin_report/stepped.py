"""The modes as the simulator's fixed step flies them: the vessel of the small-disturbance
equations (modes.py's derivatives, mass, inertia, gravity; the air's density fixed) moved by the
simulator's default propagator, one midpoint step per frame with the forces and torques of the
step's start held through it and the first half taken with the last step's end's accelerations.
The eigenvalues z of that one-step map, linearised about the trim, read as modes ln(z) / dt.

Aerospace axes here: body x forward, y right, z down; the ground frame x north, y east, z down.
"""

import math
from typing import Any

from .modes import (
    DUTCH, PHUGOID_MODE, SHORT, SPIRAL_MODE, Derivatives, Mode, Trim, _numpy,
)

# The state's parts, each three numbers: the ground-frame velocity (m/s), the attitude's turn
# from the trim (rad), the body rates (rad/s) and the last step's torque (N m), which the next
# step's first half takes. (The last step's force moves only the position in its first half,
# and the position moves nothing here: the air's density is fixed.)
PARTS = 4
SIZE = 3 * PARTS
# A root this close to 0 is a state the step sets anew (the held torque, a rate the damping
# stops in one step); this close to 1 the heading, which nothing holds.
STOPPED, NEUTRAL = 1e-6, 1e-9


def _turn(numpy: Any, angle: Any) -> Any:
    """The rotation by the vector `angle` (rad), right-handed."""
    theta = float(numpy.linalg.norm(angle))
    k = numpy.array([[0.0, -angle[2], angle[1]], [angle[2], 0.0, -angle[0]],
                     [-angle[1], angle[0], 0.0]])
    if theta == 0.0:
        return numpy.eye(3)
    return (numpy.eye(3) + math.sin(theta) / theta * k
            + (1 - math.cos(theta)) / theta ** 2 * k @ k)


def _angle(numpy: Any, rotation: Any) -> Any:
    """The rotation vector of a small rotation."""
    skew = 0.5 * (rotation - rotation.T)
    return numpy.array([skew[2, 1], skew[0, 2], skew[1, 0]])


class _Vessel:
    """The linear force and torque model about the trim and the step that moves it."""

    def __init__(self, d: Derivatives, trim: Trim, mass: float,
                 inertia: tuple[float, float, float], g: float, step: float):
        numpy = self.numpy = _numpy()
        self.d, self.mass, self.step = d, mass, step
        roll, pitch, yaw = inertia
        self.inertia = numpy.array([roll, pitch, yaw])
        self.gravity = numpy.array([0.0, 0.0, g])
        self.attitude = _turn(numpy, numpy.array([0.0, trim.aoa, 0.0]))  # pitched up by the AOA
        self.body_velocity = numpy.array([trim.speed * math.cos(trim.aoa), 0.0,
                                          trim.speed * math.sin(trim.aoa)])
        # At the trim the held force balances the weight.
        self.force_per_mass = -self.attitude.T @ self.gravity

    def loads(self, velocity: Any, attitude: Any, rates: Any) -> tuple[Any, Any]:
        """The force per mass (body, m/s^2) and torque (N m) at a state: the trim's and the
        derivatives' share of the state's departure from it."""
        du, dv, dw = attitude.T @ velocity - self.body_velocity
        p, q, r = rates
        d = self.d
        force = self.mass * self.force_per_mass + self.numpy.array([
            d["X_u"] * du + d["X_w"] * dw + d["X_q"] * q,
            d["Y_v"] * dv + d["Y_p"] * p + d["Y_r"] * r,
            d["Z_u"] * du + d["Z_w"] * dw + d["Z_q"] * q,
        ])
        torque = self.numpy.array([
            d["L_v"] * dv + d["L_p"] * p + d["L_r"] * r,
            d["M_u"] * du + d["M_w"] * dw + d["M_q"] * q,
            d["N_v"] * dv + d["N_p"] * p + d["N_r"] * r,
        ])
        return force / self.mass, torque

    def spin(self, torque: Any, rates: Any) -> Any:
        """Euler's equations: the angular acceleration, rad/s^2."""
        return (torque - self.numpy.cross(rates, self.inertia * rates)) / self.inertia

    def advance(self, state: Any) -> Any:
        """One frame of the simulator's propagator from `state` (PARTS parts)."""
        numpy, h = self.numpy, self.step
        velocity, turned, rates, last_torque = state.reshape(PARTS, 3)
        attitude = self.attitude @ _turn(numpy, turned)
        force, torque = self.loads(velocity, attitude, rates)
        mid_rates = rates + 0.5 * h * self.spin(last_torque, rates)
        mid_attitude = attitude @ _turn(numpy, 0.5 * h * rates)
        velocity = velocity + h * (self.gravity + mid_attitude @ force)
        attitude = attitude @ _turn(numpy, h * mid_rates)
        rates = rates + h * self.spin(torque, mid_rates)
        return numpy.concatenate([velocity, _angle(numpy, self.attitude.T @ attitude), rates,
                                  torque])

    def trim_state(self) -> Any:
        numpy = self.numpy
        return numpy.concatenate([self.attitude @ self.body_velocity, numpy.zeros(9)])


def step_roots(d: Derivatives, trim: Trim, mass: float, inertia: tuple[float, float, float],
               g: float, step: float) -> list[complex]:
    """The roots ln(z) / dt (1/s) of the one-step map about the trim, z by central differences;
    none for a z that the step sets to 0 or that stays 1."""
    vessel = _Vessel(d, trim, mass, inertia, g, step)
    numpy = vessel.numpy
    start = vessel.trim_state()
    scale = numpy.maximum(numpy.abs(start), 1.0) * 1e-6
    columns = []
    for i in range(SIZE):
        delta = numpy.zeros(SIZE)
        delta[i] = scale[i]
        columns.append((vessel.advance(start + delta) - vessel.advance(start - delta))
                       / (2 * scale[i]))
    roots = []
    for z in numpy.linalg.eigvals(numpy.array(columns).T):
        z = complex(z)
        if abs(z) < STOPPED or abs(z - 1) < NEUTRAL or z.imag < 0:
            continue
        roots.append(complex(numpy.log(z)) / step)
    return roots


# The modes given as the step flies them; the roll subsidence has its own (modes.step_roll), and
# a coupled mode none.
STEPPED = (SHORT, PHUGOID_MODE, DUTCH, SPIRAL_MODE)


def as_stepped(modes: list[Mode], roots: list[complex]) -> dict[str, complex]:
    """Each mode's first root's counterpart among the step's roots: the nearest of its kind (a
    pair's a pair's, a real root's a real one's), by relative distance."""
    found = {}
    for mode in modes:
        if mode.name not in STEPPED:
            continue
        root = mode.roots[0]
        kind = [r for r in roots if (r.imag > 0) == (root.imag > 0)]
        if kind and root != 0:
            found[mode.name] = min(kind, key=lambda r: abs(r - root) / abs(root))
    return found
