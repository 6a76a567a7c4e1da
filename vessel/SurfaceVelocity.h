// Velocity of a rotating body's surface beneath a vessel.
#pragma once

#include "module/HostApi.h"

namespace aeroquin {

// The eastward speed of the body's surface at the vessel's latitude, taken at the body's mean
// radius (m/s), expressed in the vessel frame.
[[nodiscard]] VECTOR3 surfaceVelocity(const VESSEL& vessel, OBJHANDLE body);

}  // namespace aeroquin
