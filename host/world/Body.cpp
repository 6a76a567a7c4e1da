#include "host/world/Body.h"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace aeroquin::host {

Body Body::fromItems(const ItemFile& items, std::string name) {
    const double size = items.requirePositive("Size");
    const double mass = items.requirePositive("Mass");
    const double period = items.requirePositive("SidRotPeriod");
    const double obliquityRad = items.optionalNumber("Obliquity", 0.0);
    const std::size_t model =
        items.requireChoice("Atmosphere", {"US1976", "Isothermal", "J71G", "None"});
    std::optional<AtmosphereParams> atmosphere;
    if (model != 3) {
        constexpr std::array<AtmosphereModel, 3> models{
            AtmosphereModel::US1976, AtmosphereModel::Isothermal, AtmosphereModel::J71G};
        AtmosphereParams params;
        params.model = models.at(model);
        params.gasConstant = items.requirePositive("AtmGasConstant");
        params.gamma = items.requirePositive("AtmGamma");
        params.pressure0Pa = items.requirePositive("AtmPressure0");
        params.density0KgM3 = items.requirePositive("AtmDensity0");
        params.altLimitM = items.optionalNumber("AtmAltLimit", params.altLimitM);
        if (params.altLimitM <= 0.0) {
            throw items.error("AtmAltLimit", "AtmAltLimit must be positive");
        }
        atmosphere = params;
    }
    return {std::move(name), size, mass, period, obliquityRad, atmosphere};
}

Body Body::load(const std::filesystem::path& root, const std::string& name) {
    const std::string file = name + ".cfg";
    return fromItems(ItemFile::load(root / "Config" / file, "Config/" + file), name);
}

Body::Body(std::string name, double meanRadius, double mass, double rotationPeriod,
           double obliquityRad, std::optional<AtmosphereParams> atmosphere)
    : name_(std::move(name)),
      meanRadius_(meanRadius),
      mass_(mass),
      gm_(gravitationalConstant * mass),
      rotationPeriod_(rotationPeriod),
      obliquityRad_(obliquityRad),
      tilt_(rotationX(obliquityRad)),
      angularVelocity_(rotationRate() *
                       Vec3{0.0, std::cos(obliquityRad_), std::sin(obliquityRad_)}) {
    if (atmosphere) {
        atmosphere_.emplace(*atmosphere, meanRadius_, gm_);
    }
}

double Body::rotationRate() const {
    return 2.0 * std::numbers::pi / rotationPeriod_;
}

const Atmosphere* Body::atmosphere() const {
    return atmosphere_ ? &*atmosphere_ : nullptr;
}

Vec3 Body::angularVelocity() const {
    return angularVelocity_;
}

Vec3 Body::surfaceVelocity(const Vec3& r) const {
    return cross(r, angularVelocity_);
}

const Mat3& Body::rotation(double t) const {
    // Asked for many times a frame at the same time: the last answer is kept.
    if (t != rotationTime_) {
        // The turned angle, reduced to one period first to keep its precision over long runs.
        const double angle =
            2.0 * std::numbers::pi * (std::fmod(t, rotationPeriod_) / rotationPeriod_);
        // rotationY(-angle) turns x towards z: east.
        rotation_ = tilt_ * rotationY(-angle);
        rotationTime_ = t;
    }
    return rotation_;
}

Vec3 Body::gravity(const Vec3& r) const {
    const double distance = length(r);
    if (distance == 0.0) {
        return {};
    }
    return (-gm_ / (distance * distance * distance)) * r;
}

Vec3 surfaceDirection(double longitudeRad, double latitudeRad) {
    const double cosLat = std::cos(latitudeRad);
    return {cosLat * std::cos(longitudeRad), std::sin(latitudeRad),
            cosLat * std::sin(longitudeRad)};
}

Mat3 horizonToBodyFixed(double longitudeRad, double latitudeRad) {
    const double sinLng = std::sin(longitudeRad);
    const double cosLng = std::cos(longitudeRad);
    const double sinLat = std::sin(latitudeRad);
    const double cosLat = std::cos(latitudeRad);
    const Vec3 east{-sinLng, 0.0, cosLng};
    const Vec3 up{cosLat * cosLng, sinLat, cosLat * sinLng};
    const Vec3 north{-sinLat * cosLng, cosLat, -sinLat * sinLng};
    return Mat3::fromColumns(east, up, north);
}

}  // namespace aeroquin::host
