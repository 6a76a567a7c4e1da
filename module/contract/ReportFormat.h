// The report file's format, which aeroquin-report parses (tools/report/aeroquin_report/report.py;
// a test holds the two together): six header lines, then one row per test point of seven numbers,
// or eight with the pitching moment, separated by "; ".
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The project's version, from the VERSION file at the source tree's root (CMake defines it).
#ifndef AEROQUIN_VERSION
#error "AEROQUIN_VERSION is defined by the build, from the VERSION file"
#endif

namespace aeroquin::contract {

inline constexpr std::string_view kVersion = AEROQUIN_VERSION;

// Header lines 1 to 5, each label followed by its value; line 6 is the column line.
inline constexpr std::string_view kVersionLabel = "Aeroquin version: ";
inline constexpr std::string_view kClassLabel = "Vessel Class: ";
inline constexpr std::string_view kStartTimeLabel = "System time at simulation start: ";
inline constexpr std::string_view kAoaCountLabel = "Number of AOA points = ";
inline constexpr std::string_view kMachCountLabel = "Number of Mach points = ";
inline constexpr std::size_t kHeaderLines = 6;

inline constexpr std::string_view kSeparator = "; ";
// The columns; the eighth only with ReportMoments = 1.
inline constexpr std::array<std::string_view, 8> kColumns{
    "Mach Number", "AOA", "Dynamic Pressure", "Airspeed", "CL*S", "CD*S", "L/D", "CM*S*c"};
inline constexpr std::size_t kColumnsWithoutMoment = 7;

}  // namespace aeroquin::contract
