// The aerodynamic force and moment on a vessel, summed over its airfoils and drag elements as
// the simulator sums them.
//
// v is the vessel's velocity against the air, vessel frame (x right, y up, z forward).
// alpha = atan2(-v_y, v_z), beta = atan2(-v_x, v_z); q = rho |v|^2 / 2; Re0 = rho |v| / mu with
// mu = 1.7894e-5 kg/(m s), and an airfoil's function gets Re0 * chord. Directions: drag
// d = -v / |v|, lift unit(0, v_z, -v_y), side unit(v_z, 0, -v_x).
// A vertical airfoil adds cl q S along the lift direction and cd q S along d, at its centre of
// pressure, and cm q S c about x; a horizontal one the same with beta, the side direction and
// y. S = 0 stands for the projected cross-section: |d_z| C_z + |d_y| C_y (vertical),
// |d_z| C_z + |d_x| C_z (horizontal, as the simulator's code has it). A drag element adds
// factor q along d at its position. A control surface adds its force (ControlSurface.h) at its
// reference point; as in the simulator, lift and drag leave the control surfaces out, and the
// force and the moment include them.
// The moment is about the centre of gravity and summed as the simulator sums the torque that
// VESSEL::GetAngularMoment reports: a force F at r adds F x r, a vertical airfoil adds
// cm q S c about x, a horizontal one about y. In body axes (x forward, y right, z down) that is:
// pitching moment, nose up, +x; rolling moment, right wing down, +z; yawing moment, nose right, -y.
#pragma once

#include <span>

#include "host/world/Airfoil.h"
#include "host/world/ControlSurface.h"
#include "host/world/Vec3.h"

namespace aeroquin::host {

struct Airflow {
    Vec3 velocity;            // m/s, vessel frame, against the air
    double density = 0.0;     // kg/m^3
    double speedOfSound = 0;  // m/s; 0 without air
};

struct AeroLoads {
    Vec3 force;                    // N, vessel frame
    Vec3 moment;                   // N m, vessel frame, about the centre of gravity
    double lift = 0.0;             // N, signed sum over vertical airfoils
    double drag = 0.0;             // N, signed sum over airfoils and drag elements
    double sideForce = 0.0;        // N, signed sum over horizontal airfoils
    double dynamicPressure = 0.0;  // Pa, of the airflow the loads were computed for
    double density = 0.0;          // kg/m^3, likewise
    double airspeed = 0.0;         // m/s, likewise
};

// The control surfaces and the level of each type.
struct Controls {
    std::span<const ControlSurface> surfaces;
    ControlValues levels{};
};

inline constexpr double airViscosity = 1.7894e-5;  // kg/(m s), the simulator's mu

// Zero loads when there is no airflow or no air. `vessel` goes to the coefficient functions.
[[nodiscard]] AeroLoads aeroLoads(std::span<const Airfoil> airfoils,
                                  std::span<const DragElement> dragElements,
                                  const Vec3& crossSectionsM2, const Airflow& airflow,
                                  VESSEL* vessel, const Controls& controls = {});

}  // namespace aeroquin::host
