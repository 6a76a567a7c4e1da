#include "host/world/VesselFrames.h"

#include <cmath>
#include <numbers>

namespace aeroquin::host {

const Mat3& VesselFrames::bodyRotation() const {
    static constexpr Mat3 kIdentity = Mat3::identity();
    return state_->body != nullptr ? state_->body->rotation(state_->time) : kIdentity;
}

const Place& VesselFrames::place() const {
    // The angles and the horizon are made as the simulator makes its surface parameters.
    if (!(state_->position == place_->position && state_->time == place_->time)) {
        const Vec3 r = bodyRotation().transposeTimes(state_->position);
        const double radiusM = length(r);
        const double longitudeRad = std::atan2(r.z, r.x);
        const double latitudeRad = radiusM > 0.0 ? std::asin(r.y / radiusM) : 0.0;
        *place_ = {state_->position, state_->time, longitudeRad,
                   latitudeRad,      radiusM,      horizonToBodyFixed(longitudeRad, latitudeRad)};
    }
    return *place_;
}

double VesselFrames::headingRad() const {
    // The nose's direction in the local horizon; a nose within 1e-4 of the vertical takes the
    // vessel's -y axis instead, as the simulator does.
    const Mat3& horizonToBodyFixed = place().horizonToBodyFixed;
    const Mat3& toGlobal = bodyRotation();
    const auto inHorizon = [&](const Vec3& global) {
        return horizonToBodyFixed.transposeTimes(toGlobal.transposeTimes(global));
    };
    constexpr double kVertical = 1e-4;
    const Mat3& attitude = state_->attitude;
    Vec3 nose = inHorizon(attitude.column(2));
    if (std::abs(nose.x) <= kVertical && std::abs(nose.z) <= kVertical) {
        nose = inHorizon(-attitude.column(1));
    }
    const double heading = std::atan2(nose.x, nose.z);
    return heading < 0.0 ? heading + 2.0 * std::numbers::pi : heading;
}

void VesselFrames::equPos(double& longitudeRad, double& latitudeRad, double& radiusM) const {
    const Place& here = place();
    longitudeRad = here.longitudeRad;
    latitudeRad = here.latitudeRad;
    radiusM = here.radiusM;
}

Vec3 VesselFrames::horizonInvRot(const Vec3& horizon) const {
    // One rotation after the other, in the simulator's order.
    return state_->attitude.transposeTimes(bodyRotation() * (place().horizonToBodyFixed * horizon));
}

Vec3 VesselFrames::globalRot(const Vec3& local) const {
    return state_->attitude * local;
}

}  // namespace aeroquin::host
