// Earth's air below 90 km as the simulator's default Earth model (EarthAtmJ71G) computes it:
// the Jacchia-77 program's form of the US Standard Atmosphere 1976.
//
// It differs from the standard in what shows in a capture: geopotential height with a 6369 km
// radius, h = Z * 6369 / (Z + 6369); a molar mass of 28.96 g/mol and its own Avogadro
// constant; and layers that change at other heights for temperature (Z < 12, 21, 33, 48, 52, 72
// km) than for density (Z <= 11, 20, 32, 47, 51, 71, 85 km). At Z = 20 km the density therefore
// jumps by 2.9e-4 of itself: the layer above 20 km starts from its own base pressure. From 86 km
// the temperature is 188 K; between 85 and 90 km the density comes from the program's
// barometric integration in 1 km steps.
#pragma once

namespace aeroquin::host::j77 {

inline constexpr double topKm = 90.0;  // the model's range: geometric km above the mean radius

// Geometric altitude Z in km, below topKm.
[[nodiscard]] double temperatureK(double zKm);
[[nodiscard]] double densityKgM3(double zKm);
[[nodiscard]] double molarMassGPerMol(double zKm);
// From density, temperature and molar mass as the model relates them.
[[nodiscard]] double pressurePa(double densityKgM3, double temperatureK, double molarMassGPerMol);

}  // namespace aeroquin::host::j77
