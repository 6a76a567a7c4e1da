#include "host/world/EarthJ77.h"

#include <array>
#include <cmath>

namespace aeroquin::host::j77 {

namespace {

constexpr double radiusKm = 6369.0;  // for geopotential height
constexpr double seaLevelMolarMassGPerMol = 28.96;
constexpr double avogadro = 6.02257e23;             // 1/mol, the model's value
constexpr double boltzmann = 1.38066e-23;           // J/K, the model's value
constexpr double hydrostatic = 34.163195;           // g0 M / R*, K per geopotential km
constexpr double seaLevelNumberDensity = 2.547e19;  // molecules per cm^3 at 288.15 K, 1 atm

struct Layer {
    double topKm;         // the layer holds Z below (temperature) or up to (density) this
    double baseKm;        // geopotential
    double baseK;         // temperature at the base
    double lapseKPerKm;   // per geopotential km
    double basePressure;  // relative to sea level; density layers only
};

// Temperature layers: Z strictly below the top.
constexpr std::array<Layer, 7> temperatureLayers{{{12.0, 0.0, 288.15, -6.5, 0.0},
                                                  {21.0, 11.0, 216.65, 0.0, 0.0},
                                                  {33.0, 20.0, 216.65, 1.0, 0.0},
                                                  {48.0, 32.0, 228.65, 2.8, 0.0},
                                                  {52.0, 47.0, 270.65, 0.0, 0.0},
                                                  {72.0, 51.0, 270.65, -2.8, 0.0},
                                                  {86.0, 71.0, 214.65, -2.0, 0.0}}};
// Density layers: Z up to and including the top.
constexpr std::array<Layer, 7> densityLayers{{{11.0, 0.0, 288.15, -6.5, 1.0},
                                              {20.0, 11.0, 216.65, 0.0, 2.233611e-1},
                                              {32.0, 20.0, 216.65, 1.0, 5.403295e-2},
                                              {47.0, 32.0, 228.65, 2.8, 8.5666784e-3},
                                              {51.0, 47.0, 270.65, 0.0, 1.0945601e-3},
                                              {71.0, 51.0, 270.65, -2.8, 6.6063531e-4},
                                              {85.0, 71.0, 214.65, -2.0, 3.9046834e-5}}};

double geopotentialKm(double zKm) {
    return zKm * radiusKm / (zKm + radiusKm);
}

double layerTemperature(const Layer& layer, double zKm) {
    return layer.baseK + layer.lapseKPerKm * (geopotentialKm(zKm) - layer.baseKm);
}

// The molar mass falls off from 85 km with the share y of dissociated oxygen.
double dissociated(double zKm) {
    const double dz = zKm - 85.0;
    return std::pow(10.0, -3.7469 + dz * (0.226434 - dz * 5.945e-3));
}

// Molecules per cm^3.
double numberDensity(double zKm) {
    if (zKm <= 85.0) {
        const Layer* layer = &densityLayers.back();
        for (const Layer& candidate : densityLayers) {
            if (zKm <= candidate.topKm) {
                layer = &candidate;
                break;
            }
        }
        const double h = geopotentialKm(zKm);
        double temperature = layer->baseK;
        double ratio = 0.0;
        if (layer->lapseKPerKm != 0.0) {
            temperature = layerTemperature(*layer, zKm);
            ratio = std::pow(layer->baseK / temperature, hydrostatic / layer->lapseKPerKm);
        } else {
            ratio = std::exp(-hydrostatic * (h - layer->baseKm) / layer->baseK);
        }
        return seaLevelNumberDensity * (288.15 / temperature) * layer->basePressure * ratio;
    }
    // 85 to 90 km: the program's barometric integration at 188 K, in 1 km steps from its values
    // at 85 km, then linear between the last two steps.
    double previousZ = 85.0;
    double previousT = 188.8889;
    double previousN = 1.7083677e14;
    double previousM = 28.954813;
    double n = previousN;
    const int lastStep = static_cast<int>(std::ceil(zKm));
    for (int km = 86; km <= lastStep; ++km) {
        const double step = km;
        const double temperature = 188.0;
        const double molarMass = seaLevelMolarMassGPerMol * (1.0 - dissociated(step));
        n = previousN * (previousT / temperature) * (molarMass / previousM) *
            std::exp(-0.5897446 *
                     ((previousM / previousT) * std::pow(1.0 + previousZ / 6356.766, -2.0) +
                      (molarMass / temperature) * std::pow(1.0 + step / 6356.766, -2.0)));
        if (km < lastStep) {
            previousZ = step;
            previousT = temperature;
            previousN = n;
            previousM = molarMass;
        }
    }
    return (zKm - previousZ) * (n - previousN) + previousN;
}

}  // namespace

double temperatureK(double zKm) {
    if (zKm >= 86.0) {
        return 188.0;
    }
    for (const Layer& layer : temperatureLayers) {
        if (zKm < layer.topKm) {
            return layer.lapseKPerKm == 0.0 ? layer.baseK : layerTemperature(layer, zKm);
        }
    }
    return 188.0;
}

double molarMassGPerMol(double zKm) {
    return seaLevelMolarMassGPerMol * (1.0 - dissociated(zKm));
}

double densityKgM3(double zKm) {
    // g per cm^3 of the molecules, to kg per m^3.
    return molarMassGPerMol(zKm) * numberDensity(zKm) * (1e3 / avogadro);
}

double pressurePa(double densityKgM3, double temperatureK, double molarMassGPerMol) {
    // The model's gas constant: its Avogadro constant per kmol times its Boltzmann constant.
    constexpr double perKmol = 6.02257e26;
    return densityKgM3 * (perKmol * boltzmann) / molarMassGPerMol * temperatureK;
}

}  // namespace aeroquin::host::j77
