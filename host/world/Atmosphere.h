// A body's atmosphere: temperature, pressure and density against altitude.
#pragma once

#include <array>
#include <limits>

namespace aeroquin::host {

struct AtmosphereState {
    double temperatureK;
    double pressurePa;
    double densityKgM3;
};

enum class AtmosphereModel {
    // US Standard Atmosphere 1976 to 86 km geometric altitude; above, its top layer's
    // temperature is held and pressure keeps falling hydrostatically (continuous, smooth).
    US1976,
    // The simulator's air for a body configured with AtmPressure0 and AtmDensity0 alone:
    // T = 288.16 K everywhere, p = p0 exp(-C h) and rho = rho0 exp(-C h), C = rho0 g0 / p0 with
    // g0 = GM / Size^2.
    Isothermal,
    // The simulator's default Earth (EarthAtmJ71G): below 90 km its Jacchia-77 form of the 1976
    // standard (EarthJ77.h). Above 90 km the simulator's model follows the sun and the solar
    // flux; this host holds 188 K there and lets the density fall hydrostatically from its value
    // at 90 km.
    J71G,
};

// The body file's values. For US1976 and J71G they are what the body reports to the module; those
// models use their own constants.
struct AtmosphereParams {
    AtmosphereModel model = AtmosphereModel::US1976;
    double gasConstant = 0.0;  // J/(kg K)
    double gamma = 0.0;
    double pressure0Pa = 0.0;   // at the mean radius
    double density0KgM3 = 0.0;  // at the mean radius
    double altLimitM = 2.5e6;   // above the mean radius; no air above
};

class Atmosphere {
  public:
    // The body's mean radius and GM give the surface gravity of the configured model.
    Atmosphere(const AtmosphereParams& params, double meanRadiusM, double gm);

    // `altitudeM` is geometric, above the mean radius. At and above the limit everything is 0,
    // temperature included. Below -5 km the value at -5 km is held.
    [[nodiscard]] AtmosphereState at(double altitudeM) const;
    // sqrt(gamma R T) with the configured gamma and R, m/s.
    [[nodiscard]] double speedOfSound(double temperatureK) const;
    [[nodiscard]] const AtmosphereParams& params() const { return params_; }
    // C = rho0 g0 / p0 (1/m), which the simulator also reports in the body's constants.
    [[nodiscard]] double decayPerMetre() const { return decayPerMetre_; }

  private:
    struct Layer {
        double baseHeightM;  // geopotential
        double baseTemperatureK;
        double lapseRateKPerM;  // per geopotential m
        double basePressurePa;
    };
    static constexpr int layerCount = 8;  // seven standard layers, then the held top

    [[nodiscard]] AtmosphereState below(double altitudeM) const;
    [[nodiscard]] AtmosphereState us1976(double altitudeM) const;
    [[nodiscard]] AtmosphereState configured(double altitudeM) const;
    [[nodiscard]] static AtmosphereState j71g(double altitudeM);

    AtmosphereParams params_;
    double decayPerMetre_;  // C of the configured model, 1/m
    std::array<Layer, layerCount> layers_{};
    // The last answer of at() and its altitude; NaN: none yet.
    mutable double lastAltitudeM_ = std::numeric_limits<double>::quiet_NaN();
    mutable AtmosphereState last_{0.0, 0.0, 0.0};
};

}  // namespace aeroquin::host
