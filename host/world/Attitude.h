// Vessel attitude as three angles, the convention of VESSELSTATUS::arot and of scenarios.
//
// The angles (a, b, c), rad, turn the vessel frame relative to the global frame about the
// global x axis by a, then about the global y axis by b, then about the global z axis by c:
// vessel -> global = rotationZ(c) * rotationY(b) * rotationX(a).
#pragma once

#include "host/world/Mat3.h"
#include "host/world/Vec3.h"

namespace aeroquin::host {

// Vessel frame -> global frame.
Mat3 attitudeMatrix(const Vec3& angles);

// The angles of a rotation matrix; b in [-pi/2, pi/2], a and c in (-pi, pi]. At b = +-pi/2
// (gimbal lock) a is taken as 0.
Vec3 attitudeAngles(const Mat3& vesselToGlobal);

// The rotation by |axisAngle| rad about the direction of axisAngle, turning the same way as the
// elementary rotations (rotationX for an axis along +x). Identity for the zero vector.
Mat3 rotationAbout(const Vec3& axisAngle);

}  // namespace aeroquin::host
