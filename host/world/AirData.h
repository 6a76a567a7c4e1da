// The air at a vessel's state: the atmosphere there, as the simulator's interface serves it, the
// airflow the loads are computed from, and for tests and diagnostics the whole air data.
#pragma once

#include "host/world/Atmosphere.h"
#include "host/world/Vec3.h"
#include "host/world/VesselState.h"

namespace aeroquin::host {

// At the state's altitude; all 0 without atmosphere (and at or above its limit).
[[nodiscard]] AtmosphereState airAt(const VesselState& state);

// The velocity against the air, which turns rigidly with the body, in the vessel frame, m/s.
[[nodiscard]] Vec3 airspeedVector(const VesselState& state);

struct AirData {
    Vec3 airspeedVector;             // vessel frame, m/s
    double airspeed = 0.0;           // m/s
    double mach = 0.0;               // 0 without atmosphere
    double angleOfAttackRad = 0.0;   // atan2(-v_y, v_z)
    double dynamicPressurePa = 0.0;  // 1/2 rho v^2
    double altitudeM = 0.0;          // above the mean radius; |r| in empty space
};

[[nodiscard]] AirData airDataAt(const VesselState& state);

}  // namespace aeroquin::host
