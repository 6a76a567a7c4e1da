// The report file's format, which aeroquin-report parses (tools/report/aeroquin_report/report.py;
// a test holds the two together): six header lines, then one row per test point, one number per
// name of the column line, separated by "; ".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
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
// With any optional item, after line 5 and before the column line, each when it applies: the
// altitude and the vessel's mass properties at the start; the sideslip, control and rate axes;
// and with a column of the step's force or torque sums, what the controls not swept and the
// thrusters were held at in the first step, and that step's length.
inline constexpr std::string_view kAltitudeLabel = "Altitude (m) = ";
inline constexpr std::string_view kMassLabel = "Mass (kg) = ";
// About the body axes x forward, y right, z down.
inline constexpr std::string_view kInertiaLabel = "Inertia roll, pitch, yaw (kg m^2) = ";
inline constexpr std::string_view kGravityLabel = "Gravity (m/s^2) = ";
inline constexpr std::string_view kSideslipCountLabel = "Number of sideslip points = ";
inline constexpr std::string_view kControlSurfaceLabel = "Control surface = ";
inline constexpr std::string_view kControlCountLabel = "Number of control levels = ";
// Values per body axis.
inline constexpr std::string_view kRateCountLabel = "Number of rate points = ";
inline constexpr std::string_view kControlsHeldLabel = "Controls held = ";
inline constexpr std::string_view kThrustHeldLabel = "Thrust held (N) = ";
inline constexpr std::string_view kTimeStepLabel = "Time step (s) = ";
inline constexpr std::array<std::string_view, 11> kHeaderItems{
    kAltitudeLabel,      kMassLabel,           kInertiaLabel,      kGravityLabel,
    kSideslipCountLabel, kControlSurfaceLabel, kControlCountLabel, kRateCountLabel,
    kControlsHeldLabel,  kThrustHeldLabel,     kTimeStepLabel};

inline constexpr std::string_view kSeparator = "; ";

// Every column a report may have, in the order a report has them. The first seven are in every
// report; the others only when the configuration asks for them (module/output/ReportColumns.h).
enum class Column : std::uint8_t {
    mach,
    aoa,
    dynamicPressure,
    airspeed,
    clS,
    cdS,
    liftOverDrag,
    cmSc,          // ReportMoments = 1
    sideslip,      // a sideslip axis
    cyS,           // a sideslip, a control or a rate axis
    clSb,          // a sideslip, a control or a rate axis, and ReportMoments = 1
    cnSb,          // a sideslip, a control or a rate axis, and ReportMoments = 1
    controlLevel,  // a control axis
    clTotalS,      // a control axis
    cdTotalS,      // a control axis
    pitchRate,     // a rate axis: deg/s, aerospace q, p, r
    rollRate,
    yawRate,
};
inline constexpr std::array<std::string_view, 18> kColumns{
    "Mach Number",   "AOA",        "Dynamic Pressure", "Airspeed",   "CL*S",      "CD*S",
    "L/D",           "CM*S*c",     "Sideslip",         "CY*S",       "Cl*S*b",    "Cn*S*b",
    "Control Level", "CL*S total", "CD*S total",       "Pitch Rate", "Roll Rate", "Yaw Rate"};
inline constexpr std::size_t kAlwaysReported = 7;

[[nodiscard]] constexpr std::string_view columnName(Column column) {
    return kColumns[static_cast<std::size_t>(column)];
}

}  // namespace aeroquin::contract
