// Velocity of a rotating body's surface beneath a vessel.
#pragma once

#include "module/simulator/HostApi.h"

namespace aeroquin {

// The eastward speed (m/s) of the body's atmosphere at the vessel's latitude and distance from
// the body's centre, turning with the body, expressed in the vessel frame.
[[nodiscard]] VECTOR3 surfaceVelocity(const VESSEL& vessel, OBJHANDLE body);

}  // namespace aeroquin
