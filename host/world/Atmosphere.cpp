#include "host/world/Atmosphere.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "host/world/EarthJ77.h"

namespace aeroquin::host {

namespace {

// The standard's constants.
constexpr double gasConstantStar = 8.31432;  // J/(mol K)
constexpr double molarMassKgPerMol = 0.0289644;
constexpr double g0 = 9.80665;             // m/s^2
constexpr double earthRadius = 6356766.0;  // m, for geopotential altitude
constexpr double seaLevelTemperatureK = 288.15;
constexpr double seaLevelPressurePa = 101325.0;
// Geopotential base heights (m) and lapse rates (K/m) of the layers; the last one holds the
// temperature of the standard's top (84852 m geopotential, 86 km geometric) upwards.
constexpr std::array<double, 8> baseHeights = {0.0,     11000.0, 20000.0, 32000.0,
                                               47000.0, 51000.0, 71000.0, 84852.0};
constexpr std::array<double, 8> lapseRates = {-0.0065, 0.0,     0.001,  0.0028,
                                              0.0,     -0.0028, -0.002, 0.0};
// Lowest altitude modelled; below it the value there is held.
constexpr double floorAltitudeM = -5000.0;
// The simulator's temperature for a body whose air is given only by its configuration.
constexpr double configuredTemperatureK = 288.16;
constexpr double hydrostatic = g0 * molarMassKgPerMol / gasConstantStar;  // K/m

}  // namespace

Atmosphere::Atmosphere(const AtmosphereParams& params, double meanRadiusM, double gm)
    : params_(params) {
    // C = rho0 g0 / p0, with g0 the body's own gravity at its mean radius.
    const double g0Body = gm / (meanRadiusM * meanRadiusM);  // m/s^2
    decayPerMetre_ = params.density0KgM3 * g0Body / params.pressure0Pa;

    double t = seaLevelTemperatureK;
    double p = seaLevelPressurePa;
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

AtmosphereState Atmosphere::at(double altitudeM) const {
    // Asked for several times a frame at the same height: the last answer is kept.
    if (altitudeM == lastAltitudeM_) {
        return last_;
    }
    // As in the simulator: at and above the top there is no air, and no temperature either.
    last_ = altitudeM >= params_.altLimitM ? AtmosphereState{0.0, 0.0, 0.0} : below(altitudeM);
    lastAltitudeM_ = altitudeM;
    return last_;
}

AtmosphereState Atmosphere::below(double altitudeM) const {
    switch (params_.model) {
        case AtmosphereModel::US1976:
            return us1976(altitudeM);
        case AtmosphereModel::J71G:
            return j71g(altitudeM);
        case AtmosphereModel::Isothermal:
            break;
    }
    return configured(altitudeM);
}

double Atmosphere::speedOfSound(double temperatureK) const {
    return std::sqrt(params_.gamma * params_.gasConstant * temperatureK);
}

AtmosphereState Atmosphere::us1976(double altitudeM) const {
    // Geopotential altitude; the floor also keeps the formula away from the centre.
    const double z = std::max(altitudeM, floorAltitudeM);
    const double h = earthRadius * z / (earthRadius + z);
    int i = layerCount - 1;
    while (i > 0 && h < layers_[i].baseHeightM) {
        --i;
    }
    const Layer& layer = layers_[i];
    const double dh = h - layer.baseHeightM;
    const double temperatureK = layer.baseTemperatureK + layer.lapseRateKPerM * dh;
    const double pressurePa =
        layer.lapseRateKPerM == 0.0
            ? layer.basePressurePa * std::exp(-hydrostatic * dh / layer.baseTemperatureK)
            : layer.basePressurePa * std::pow(layer.baseTemperatureK / temperatureK,
                                              hydrostatic / layer.lapseRateKPerM);
    const double densityKgM3 = pressurePa * molarMassKgPerMol / (gasConstantStar * temperatureK);
    return {temperatureK, pressurePa, densityKgM3};
}

AtmosphereState Atmosphere::j71g(double altitudeM) {
    // The simulator's own conversion: km as m * 1e-3.
    const double zKm = std::max(altitudeM, floorAltitudeM) * 1e-3;
    if (zKm < j77::topKm) {
        const double temperatureK = j77::temperatureK(zKm);
        const double densityKgM3 = j77::densityKgM3(zKm);
        const double molarMassGPerMol = j77::molarMassGPerMol(zKm);
        return {temperatureK, j77::pressurePa(densityKgM3, temperatureK, molarMassGPerMol),
                densityKgM3};
    }
    const double topTemperatureK = j77::temperatureK(j77::topKm - 1.0);  // 188 K
    const double topMolarMassGPerMol = j77::molarMassGPerMol(j77::topKm);
    const double topH = earthRadius * j77::topKm * 1e3 / (earthRadius + j77::topKm * 1e3);
    const double h = earthRadius * zKm * 1e3 / (earthRadius + zKm * 1e3);
    const double decay = std::exp(-hydrostatic * (topMolarMassGPerMol * 1e-3 / molarMassKgPerMol) *
                                  (h - topH) / topTemperatureK);
    const double densityKgM3 = j77::densityKgM3(std::nextafter(j77::topKm, 0.0)) * decay;
    return {topTemperatureK, j77::pressurePa(densityKgM3, topTemperatureK, topMolarMassGPerMol),
            densityKgM3};
}

AtmosphereState Atmosphere::configured(double altitudeM) const {
    const double decay = std::exp(-decayPerMetre_ * std::max(altitudeM, floorAltitudeM));
    return {configuredTemperatureK, params_.pressure0Pa * decay, params_.density0KgM3 * decay};
}

}  // namespace aeroquin::host
