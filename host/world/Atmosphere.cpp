#include "host/world/Atmosphere.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "host/world/EarthJ77.h"

namespace aeroquin::host {

namespace {

// The standard's constants.
constexpr double gasConstantStar = 8.31432;  // J/(mol K)
constexpr double molarMass = 0.0289644;      // kg/mol
constexpr double g0 = 9.80665;               // m/s^2
constexpr double earthRadius = 6356766.0;    // m, for geopotential altitude
constexpr double seaLevelTemperature = 288.15;
constexpr double seaLevelPressure = 101325.0;
// Geopotential base heights (m) and lapse rates (K/m) of the layers; the last one holds the
// temperature of the standard's top (84852 m geopotential, 86 km geometric) upwards.
constexpr std::array<double, 8> baseHeights = {0.0,     11000.0, 20000.0, 32000.0,
                                               47000.0, 51000.0, 71000.0, 84852.0};
constexpr std::array<double, 8> lapseRates = {-0.0065, 0.0,     0.001,  0.0028,
                                              0.0,     -0.0028, -0.002, 0.0};
// Lowest altitude modelled; below it the value there is held.
constexpr double floorAltitude = -5000.0;
// The simulator's temperature for a body whose air is given only by its configuration.
constexpr double configuredTemperature = 288.16;                  // K
constexpr double hydrostatic = g0 * molarMass / gasConstantStar;  // K/m

}  // namespace

Atmosphere::Atmosphere(const AtmosphereParams& params, double meanRadiusM, double gm)
    : params_(params) {
    // C = rho0 g0 / p0, with g0 the body's own gravity at its mean radius.
    const double g0Body = gm / (meanRadiusM * meanRadiusM);  // m/s^2
    decayPerMetre_ = params.density0 * g0Body / params.pressure0;

    double t = seaLevelTemperature;
    double p = seaLevelPressure;
    for (int i = 0; i < layerCount; ++i) {
        layers_[i] = {baseHeights[i], t, lapseRates[i], p};
        if (i + 1 < layerCount) {
            const double dh = baseHeights[i + 1] - baseHeights[i];
            const double top = t + lapseRates[i] * dh;
            p = lapseRates[i] == 0.0 ? p * std::exp(-hydrostatic * dh / t)
                                     : p * std::pow(t / top, hydrostatic / lapseRates[i]);
            t = top;
        }
    }
}

AtmosphereState Atmosphere::at(double altitude) const {
    // Asked for several times a frame at the same height: the last answer is kept.
    if (altitude == lastAltitude_) {
        return last_;
    }
    // As in the simulator: at and above the top there is no air, and no temperature either.
    last_ = altitude >= params_.altLimit ? AtmosphereState{0.0, 0.0, 0.0} : below(altitude);
    lastAltitude_ = altitude;
    return last_;
}

AtmosphereState Atmosphere::below(double altitude) const {
    switch (params_.model) {
        case AtmosphereModel::US1976:
            return us1976(altitude);
        case AtmosphereModel::J71G:
            return j71g(altitude);
        case AtmosphereModel::Isothermal:
            break;
    }
    return configured(altitude);
}

double Atmosphere::speedOfSound(double temperature) const {
    return std::sqrt(params_.gamma * params_.gasConstant * temperature);
}

AtmosphereState Atmosphere::us1976(double altitude) const {
    // Geopotential altitude; the floor also keeps the formula away from the centre.
    const double z = std::max(altitude, floorAltitude);
    const double h = earthRadius * z / (earthRadius + z);
    int i = layerCount - 1;
    while (i > 0 && h < layers_[i].baseHeight) {
        --i;
    }
    const Layer& layer = layers_[i];
    const double dh = h - layer.baseHeight;
    const double temperature = layer.baseTemperature + layer.lapseRate * dh;
    const double pressure =
        layer.lapseRate == 0.0
            ? layer.basePressure * std::exp(-hydrostatic * dh / layer.baseTemperature)
            : layer.basePressure *
                  std::pow(layer.baseTemperature / temperature, hydrostatic / layer.lapseRate);
    const double density = pressure * molarMass / (gasConstantStar * temperature);
    return {temperature, pressure, density};
}

AtmosphereState Atmosphere::j71g(double altitude) {
    // The simulator's own conversion: km as m * 1e-3.
    const double zKm = std::max(altitude, floorAltitude) * 1e-3;
    if (zKm < j77::topKm) {
        const double temperature = j77::temperatureK(zKm);
        const double density = j77::densityKgM3(zKm);
        const double molarMass = j77::molarMassG(zKm);
        return {temperature, j77::pressurePa(density, temperature, molarMass), density};
    }
    const double topTemperature = j77::temperatureK(j77::topKm - 1.0);  // 188 K
    const double topMolarMass = j77::molarMassG(j77::topKm);
    const double topH = earthRadius * j77::topKm * 1e3 / (earthRadius + j77::topKm * 1e3);
    const double h = earthRadius * zKm * 1e3 / (earthRadius + zKm * 1e3);
    const double decay =
        std::exp(-hydrostatic * (topMolarMass * 1e-3 / molarMass) * (h - topH) / topTemperature);
    const double density = j77::densityKgM3(std::nextafter(j77::topKm, 0.0)) * decay;
    return {topTemperature, j77::pressurePa(density, topTemperature, topMolarMass), density};
}

AtmosphereState Atmosphere::configured(double altitude) const {
    const double decay = std::exp(-decayPerMetre_ * std::max(altitude, floorAltitude));
    return {configuredTemperature, params_.pressure0 * decay, params_.density0 * decay};
}

}  // namespace aeroquin::host
