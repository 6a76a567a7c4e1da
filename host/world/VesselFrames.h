// The frame conversions at a vessel's state that the simulator's interface serves: global,
// body-fixed, local horizon (x east, y up, z north) and vessel frame (x right, y up, z forward).
#pragma once

#include <limits>

#include "host/world/Mat3.h"
#include "host/world/Vec3.h"
#include "host/world/VesselState.h"

namespace aeroquin::host {

// Where a vessel is over its body, and the state it belongs to; NaN time: none yet. Asked for
// several times a frame for the same state, so the vessel keeps the last one.
struct Place {
    Vec3 position;
    double time = std::numeric_limits<double>::quiet_NaN();
    double longitudeRad = 0.0;
    double latitudeRad = 0.0;
    double radiusM = 0.0;
    Mat3 horizonToBodyFixed;  // local horizon -> body-fixed frame
};

// A view of one state and the place kept for it (Vessel::frames()); both must outlive it.
class VesselFrames {
  public:
    VesselFrames(const VesselState& state, Place& place) : state_(&state), place_(&place) {}

    // Body-fixed frame -> global frame now; the identity in empty space. Valid until the time
    // changes.
    [[nodiscard]] const Mat3& bodyRotation() const;
    // Heading of the nose in the local horizon, from north towards east, 0 to 2 pi.
    [[nodiscard]] double headingRad() const;
    // Longitude, latitude and radius in the body's rotating frame now. In empty space the same
    // in the global frame.
    void equPos(double& longitudeRad, double& latitudeRad, double& radiusM) const;
    // Local horizon -> vessel frame.
    [[nodiscard]] Vec3 horizonInvRot(const Vec3& horizon) const;
    // Vessel frame -> global frame.
    [[nodiscard]] Vec3 globalRot(const Vec3& local) const;

  private:
    // The kept place, made anew when the state has moved on.
    [[nodiscard]] const Place& place() const;

    const VesselState* state_;
    Place* place_;
};

}  // namespace aeroquin::host
