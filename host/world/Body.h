// The celestial body of a scenario: size, gravity, rotation and atmosphere.
//
// Frames. The global frame is inertial and centred on the body. The body-fixed frame turns with
// the body: its +y axis is the north pole, longitude 0 / latitude 0 lies on its +x axis, and
// longitude grows eastwards, towards +z. The north pole is global +y tilted about global x by
// the obliquity, i.e. (0, cos e, sin e); at t = 0 longitude 0 / latitude 0 lies on global +x.
// The surface moves east: at t = 0 the point on global +x moves towards global +z. Like the
// simulator's, all frames are left-handed; every frame change is a proper rotation.
#pragma once

#include <filesystem>
#include <limits>
#include <optional>
#include <string>

#include "host/support/ItemFile.h"
#include "host/world/Atmosphere.h"
#include "host/world/Mat3.h"
#include "host/world/Vec3.h"

namespace aeroquin::host {

// Newton's constant of the host, m^3/(kg s^2).
inline constexpr double gravitationalConstant = 6.67259e-11;

class Body {
  public:
    // Items: Size (m), Mass (kg), SidRotPeriod (s, > 0), optional Obliquity (rad, default 0),
    // Atmosphere = US1976 | Isothermal | J71G | None, and for an atmosphere AtmGasConstant,
    // AtmGamma, AtmPressure0, AtmDensity0, optional AtmAltLimit (m, default 2.5e6).
    // Throws HostFileError.
    static Body fromItems(const ItemFile& items, std::string name);
    // Reads root/Config/<name>.cfg, named "Config/<name>.cfg" in messages.
    static Body load(const std::filesystem::path& root, const std::string& name);

    Body(std::string name, double meanRadius, double mass, double rotationPeriod,
         double obliquityRad, std::optional<AtmosphereParams> atmosphere);

    [[nodiscard]] const std::string& name() const { return name_; }
    [[nodiscard]] double meanRadius() const { return meanRadius_; }          // m
    [[nodiscard]] double mass() const { return mass_; }                      // kg
    [[nodiscard]] double gm() const { return gm_; }                          // m^3/s^2
    [[nodiscard]] double rotationPeriod() const { return rotationPeriod_; }  // sidereal, s
    [[nodiscard]] double obliquityRad() const { return obliquityRad_; }
    [[nodiscard]] double rotationRate() const;  // rad/s

    // Null when the body has no atmosphere.
    [[nodiscard]] const Atmosphere* atmosphere() const;

    // Rotation rate times the north pole direction, global frame, rad/s. With the left-handed
    // frames the velocity of the body's point at r is cross(r, angularVelocity()).
    [[nodiscard]] Vec3 angularVelocity() const;
    // Velocity, global frame, of the body's point at global position r (m/s).
    [[nodiscard]] Vec3 surfaceVelocity(const Vec3& r) const;
    // Body-fixed -> global at time t (s); valid until the next call with another time.
    [[nodiscard]] const Mat3& rotation(double t) const;
    // Gravitational acceleration at global position r (m/s^2); zero at the centre.
    [[nodiscard]] Vec3 gravity(const Vec3& r) const;

  private:
    std::string name_;
    double meanRadius_;  // m
    double mass_;
    double gm_;
    double rotationPeriod_;
    double obliquityRad_;
    Mat3 tilt_;             // rotationX(obliquityRad_)
    Vec3 angularVelocity_;  // rad/s, global frame
    // The rotation last asked for, and its time (s); NaN: none yet.
    mutable double rotationTime_ = std::numeric_limits<double>::quiet_NaN();
    mutable Mat3 rotation_;
    std::optional<Atmosphere> atmosphere_;
};

// Unit vector, body-fixed frame, of longitude and latitude.
Vec3 surfaceDirection(double longitudeRad, double latitudeRad);
// Local horizon (x east, y up, z north) -> body-fixed frame at longitude, latitude.
Mat3 horizonToBodyFixed(double longitudeRad, double latitudeRad);

}  // namespace aeroquin::host
