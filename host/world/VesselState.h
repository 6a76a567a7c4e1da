// Where a vessel is and how it moves at one time: what its frames (VesselFrames.h) and the air
// at it (AirData.h) follow from. The vessel keeps it; only the vessel changes it.
#pragma once

#include "host/world/Body.h"
#include "host/world/Mat3.h"
#include "host/world/Vec3.h"

namespace aeroquin::host {

struct VesselState {
    const Body* body = nullptr;  // the reference body; null: empty space
    double time = 0.0;           // s
    Vec3 position;               // global, relative to the body, m
    Vec3 velocity;               // global, m/s
    Vec3 attitudeAnglesRad;      // Attitude.h
    Mat3 attitude;               // vessel -> global, of the angles
    Vec3 angularVelocity;        // vessel frame, rad/s
};

// Above the body's mean radius, m; |position| in empty space.
inline double altitudeM(const VesselState& state) {
    return length(state.position) - (state.body != nullptr ? state.body->meanRadius() : 0.0);
}

}  // namespace aeroquin::host
