// The test set-up of one capture, read once from the module's configuration file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "module/simulator/HostApi.h"

namespace aeroquin {

// Path of the configuration file, relative to the host's configuration folder.
inline constexpr const char* kConfigurationPath = simulator::kPathSeparator == '/'
                                                      ? "Modules/Plugin/Aeroquin.cfg"
                                                      : "Modules\\Plugin\\Aeroquin.cfg";

// The optional axes (module/config/OptionalAxes.h), in their sweep order.
enum class OptionalAxis : std::uint8_t { control, sideslip, rate };

// Where a capture is held without an Altitude item, above the body's mean radius.
inline constexpr double kDefaultAltitudeM = 20000.0;

// A plain record: filled by load() and read-only afterwards. Angles of attack are in degrees,
// Mach numbers have no unit.
struct Configuration {
    std::string vesselName;
    std::string saveDirectory;
    std::int32_t reportNameStyle = 0;           // 0: class name only; 1: with a UTC time stamp
    std::vector<double> aoaIntervals;           // strictly ascending bounds, deg
    std::vector<std::uint32_t> aoaIncrements;   // steps per interval
    std::vector<double> machIntervals;          // strictly ascending bounds
    std::vector<std::uint32_t> machIncrements;  // steps per interval
    // Optional items; absent, a capture is exactly what it is without them.
    bool reportMoments = false;       // ReportMoments = 1: the pitching moment column
    std::optional<double> altitudeM;  // above the body's mean radius; absent: 20 km
    // A sideslip axis, deg, like the AOA's; both empty without one.
    std::vector<double> sideslipIntervals;
    std::vector<std::uint32_t> sideslipIncrements;

    [[nodiscard]] bool hasSideslipAxis() const { return !sideslipIntervals.empty(); }
    // A control axis: one surface's levels, -1 to 1; the surface absent and the lists empty
    // without one.
    std::optional<AIRCTRL_TYPE> controlSurface;
    std::vector<double> controlIntervals;
    std::vector<std::uint32_t> controlIncrements;

    [[nodiscard]] bool hasControlAxis() const { return controlSurface.has_value(); }
    // A rate axis, deg/s, swept about the pitch, roll and yaw axes in turn; both empty without one.
    std::vector<double> rateIntervals;
    std::vector<std::uint32_t> rateIncrements;

    [[nodiscard]] bool hasRateAxis() const { return !rateIntervals.empty(); }

    // Whether any optional item is given: then the report's header says what was captured.
    [[nodiscard]] bool hasOptionalItems() const {
        return reportMoments || altitudeM || hasSideslipAxis() || hasControlAxis() || hasRateAxis();
    }
    // Whether the report has the side force (and with the moments the rolling and yawing ones):
    // a sideslip moves them, and so do a rudder, an aileron and a roll or yaw rate at none.
    [[nodiscard]] bool hasLateralColumns() const {
        return hasSideslipAxis() || hasControlAxis() || hasRateAxis();
    }
    // Whether the report holds a column of the step's force or torque sums (a moment, the side
    // force, the totals), which every control surface and thruster enters.
    [[nodiscard]] bool readsForceSums() const { return reportMoments || hasLateralColumns(); }
    // The capture's height above the body's mean radius, m.
    [[nodiscard]] double altitude() const { return altitudeM.value_or(kDefaultAltitudeM); }

    // Reads and validates every item through the host's item-file functions. Throws
    // ConfigurationError on the first problem; the file is closed before anything leaves. The
    // altitude's upper limit, the top of the body's atmosphere, is the binding's to check.
    void load();

    // One line for the host log.
    [[nodiscard]] std::string describe() const;

  private:
    void readOptionalItems(FILEHANDLE file);
    void readSweptAxis(FILEHANDLE file, OptionalAxis which);
    void readControlAxis(FILEHANDLE file);
};

// "Elevator", "Rudder", "Aileron", "Flap", "ElevatorTrim" or "RudderTrim".
[[nodiscard]] std::string_view controlSurfaceName(AIRCTRL_TYPE type);

}  // namespace aeroquin
