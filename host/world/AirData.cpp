#include "host/world/AirData.h"

#include <cmath>

namespace aeroquin::host {

namespace {

const Atmosphere* atmosphereOf(const VesselState& state) {
    return state.body != nullptr ? state.body->atmosphere() : nullptr;
}

}  // namespace

AtmosphereState airAt(const VesselState& state) {
    const Atmosphere* air = atmosphereOf(state);
    return air != nullptr ? air->at(altitudeM(state)) : AtmosphereState{0.0, 0.0, 0.0};
}

Vec3 airspeedVector(const VesselState& state) {
    const Vec3 air = state.body != nullptr ? state.body->surfaceVelocity(state.position) : Vec3{};
    return state.attitude.transposeTimes(state.velocity - air);
}

AirData airDataAt(const VesselState& state) {
    AirData data;
    data.airspeedVector = airspeedVector(state);
    data.airspeed = length(data.airspeedVector);
    data.altitudeM = altitudeM(state);
    const AtmosphereState here = airAt(state);
    if (const Atmosphere* air = atmosphereOf(state)) {
        data.mach = data.airspeed / air->speedOfSound(here.temperatureK);
    }
    data.angleOfAttackRad = std::atan2(-data.airspeedVector.y, data.airspeedVector.z);
    data.dynamicPressurePa = 0.5 * here.densityKgM3 * data.airspeed * data.airspeed;
    return data;
}

}  // namespace aeroquin::host
