// The optional axes of a sweep, each described once: its items, its bounds, its place in the
// sweep and the texts that name it. Mach (outermost) and AOA (innermost) are the sweep's own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "module/config/Configuration.h"
#include "module/contract/ReportFormat.h"
#include "module/contract/StatusTexts.h"

namespace aeroquin {

// OptionalAxis orders them in the sweep, outermost first: Mach, control level, sideslip, rate,
// AOA.
inline constexpr std::size_t kOptionalAxisCount = 3;

struct OptionalAxisDescription {
    OptionalAxis axis;
    std::string_view name;  // in configuration errors
    std::string_view intervalsKey;
    std::string_view incrementsKey;
    std::vector<double> Configuration::*intervals;
    std::vector<std::uint32_t> Configuration::*increments;
    // Every bound within (lowest, highest), or [lowest, highest] when `boundsIncluded`; `range`
    // says so in the error.
    double lowest;
    double highest;
    bool boundsIncluded;
    std::string_view range;
    std::size_t repeats;  // the values are swept once per body axis: 3 for the rates
    // The status text's ", Sideslip: 5", one for each repeat.
    std::array<std::string_view, 3> statusLabels;
    std::string_view indexLabel;  // the sweep description's " Sideslip: 2"
    std::string_view sizeLabel;   // the sweep description's ", Sideslip vector size: 5"
    std::string_view countLabel;  // the report header's "Number of sideslip points = 5"
};

// In the order the texts name them: the log's sweep description, the status text, the header.
inline constexpr std::array<OptionalAxisDescription, kOptionalAxisCount> kOptionalAxes{{
    // At 90 deg the air comes from the side and the simulator's angle of attack has no meaning;
    // beyond it, it reads back 180 deg off.
    {.axis = OptionalAxis::sideslip,
     .name = "Sideslip",
     .intervalsKey = "SideslipIntervals",
     .incrementsKey = "SideslipIncrements",
     .intervals = &Configuration::sideslipIntervals,
     .increments = &Configuration::sideslipIncrements,
     .lowest = -90.0,
     .highest = 90.0,
     .boundsIncluded = false,
     .range = "(-90, 90)",
     .repeats = 1,
     .statusLabels = {", Sideslip: "},
     .indexLabel = " Sideslip: ",
     .sizeLabel = contract::kSweepSideslipLabel,
     .countLabel = contract::kSideslipCountLabel},
    // The simulator clamps a level to [-1, 1]: a bound beyond it would be measured at another
    // level than its row's.
    {.axis = OptionalAxis::control,
     .name = "Control levels",
     .intervalsKey = "ControlIntervals",
     .incrementsKey = "ControlIncrements",
     .intervals = &Configuration::controlIntervals,
     .increments = &Configuration::controlIncrements,
     .lowest = -1.0,
     .highest = 1.0,
     .boundsIncluded = true,
     .range = "[-1, 1]",
     .repeats = 1,
     .statusLabels = {", Control: "},
     .indexLabel = " Control: ",
     .sizeLabel = contract::kSweepControlLabel,
     .countLabel = contract::kControlCountLabel},
    // deg/s. Half a turn a step at 0.02 s; the simulator's damping limit comes long before.
    {.axis = OptionalAxis::rate,
     .name = "Rates",
     .intervalsKey = "RateIntervals",
     .incrementsKey = "RateIncrements",
     .intervals = &Configuration::rateIntervals,
     .increments = &Configuration::rateIncrements,
     .lowest = -9000.0,
     .highest = 9000.0,
     .boundsIncluded = true,
     .range = "[-9000, 9000] deg/s",
     .repeats = 3,
     .statusLabels = {", Pitch rate: ", ", Roll rate: ", ", Yaw rate: "},
     .indexLabel = " Rate: ",
     .sizeLabel = contract::kSweepRateLabel,
     .countLabel = contract::kRateCountLabel},
}};

[[nodiscard]] constexpr const OptionalAxisDescription& axisDescription(OptionalAxis axis) {
    for (const OptionalAxisDescription& description : kOptionalAxes) {
        if (description.axis == axis) {
            return description;
        }
    }
    return kOptionalAxes.front();
}

}  // namespace aeroquin
