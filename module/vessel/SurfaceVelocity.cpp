#include "module/vessel/SurfaceVelocity.h"

#include <cmath>

namespace aeroquin {

namespace {

constexpr double kTwoPi = 6.283185307179586;

}  // namespace

VECTOR3 surfaceVelocity(const VESSEL& vessel, OBJHANDLE body) {
    double longitude = 0.0;
    double latitude = 0.0;  // rad
    double radius = 0.0;    // m from the body's centre
    vessel.GetEquPos(longitude, latitude, radius);

    const double rotationRate = kTwoPi / oapiGetPlanetPeriod(body);  // rad/s
    // The atmosphere's own speed at the vessel's distance from the centre, so that the
    // commanded airflow is what the vessel flies in whatever attitude.
    const double surfaceSpeed = radius * rotationRate;  // m/s
    const double eastward = std::cos(latitude) * surfaceSpeed;

    VECTOR3 inVesselFrame{{0.0, 0.0, 0.0}};
    vessel.HorizonInvRot(VECTOR3{{eastward, 0.0, 0.0}}, inVesselFrame);
    return inVesselFrame;
}

}  // namespace aeroquin
