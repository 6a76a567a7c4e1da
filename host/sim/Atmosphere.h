// A body's atmosphere: temperature, pressure and density against altitude.
#pragma once

#include <array>

namespace aeroquin::host {

struct AtmosphereState {
    double temperature;  // K
    double pressure;     // Pa
    double density;      // kg/m^3
};

enum class AtmosphereModel {
    // US Standard Atmosphere 1976 to 86 km geometric altitude; above, its top layer's
    // temperature is held and pressure keeps falling hydrostatically (continuous, smooth).
    US1976,
    // T = p0 / (rho0 R) everywhere, p = p0 exp(-h / H), H = R T Size^2 / GM.
    Isothermal,
};

// The body file's values. For US1976 they are what the body reports to the module; the layer
// model itself uses the standard's own constants.
struct AtmosphereParams {
    AtmosphereModel model = AtmosphereModel::US1976;
    double gasConstant = 0.0;  // J/(kg K)
    double gamma = 0.0;
    double pressure0 = 0.0;   // Pa, at the mean radius
    double density0 = 0.0;    // kg/m^3, at the mean radius
    double altLimit = 2.5e6;  // m above the mean radius; no air above
};

class Atmosphere {
  public:
    // bodyRadius (m) and gm (m^3/s^2) give the isothermal scale height.
    Atmosphere(const AtmosphereParams& params, double bodyRadius, double gm);

    // `altitude` is geometric, m above the mean radius. Above the limit: pressure and density
    // 0, temperature as at the limit. Below -5 km the value at -5 km is held.
    [[nodiscard]] AtmosphereState at(double altitude) const;
    // sqrt(gamma R T) with the configured gamma and R, m/s.
    [[nodiscard]] double speedOfSound(double temperature) const;
    [[nodiscard]] const AtmosphereParams& params() const { return params_; }

  private:
    struct Layer {
        double baseHeight;       // geopotential m
        double baseTemperature;  // K
        double lapseRate;        // K per geopotential m
        double basePressure;     // Pa
    };
    static constexpr int layerCount = 8;  // seven standard layers, then the held top

    [[nodiscard]] AtmosphereState below(double altitude) const;
    [[nodiscard]] AtmosphereState us1976(double altitude) const;
    [[nodiscard]] AtmosphereState isothermal(double altitude) const;

    AtmosphereParams params_;
    double scaleHeight_;  // m, isothermal model
    std::array<Layer, layerCount> layers_{};
};

}  // namespace aeroquin::host
