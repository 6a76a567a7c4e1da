#include "vessel/SurfaceVelocity.h"

#include <cmath>

namespace aeroquin {

namespace {

constexpr double kTwoPi = 6.283185307179586;

}  // namespace

VECTOR3 surfaceVelocity(const VESSEL& vessel, OBJHANDLE body) {
    double longitude = 0.0;
    double latitude = 0.0;  // rad
    double radius = 0.0;
    vessel.GetEquPos(longitude, latitude, radius);

    const double rotationRate = kTwoPi / oapiGetPlanetPeriod(body);  // rad/s
    // At the mean radius: the anchor's 20 km of altitude are deliberately left out.
    const double surfaceSpeed = oapiGetSize(body) * rotationRate;  // m/s
    const double eastward = std::cos(latitude) * surfaceSpeed;

    VECTOR3 inVesselFrame{{0.0, 0.0, 0.0}};
    vessel.HorizonInvRot(VECTOR3{{eastward, 0.0, 0.0}}, inVesselFrame);
    return inVesselFrame;
}

}  // namespace aeroquin
