// Degrees and radians, spelled one way in the host. Scenarios and tables give degrees; the
// world computes in radians.
#pragma once

#include <numbers>

namespace aeroquin::host {

inline constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
inline constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

[[nodiscard]] constexpr double radians(double degrees) {
    return degrees * kRadiansPerDegree;
}

[[nodiscard]] constexpr double degrees(double radians) {
    return radians * kDegreesPerRadian;
}

}  // namespace aeroquin::host
