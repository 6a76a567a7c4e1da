// Sweeps built from configured axes, for the sweep's tests and those of the parts that walk it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "module/config/Configuration.h"
#include "module/sweep/Sweeper.h"

namespace aeroquin::testsupport {

inline Configuration configurationOf(std::vector<double> machBounds,
                                     std::vector<std::uint32_t> machSteps,
                                     std::vector<double> aoaBounds,
                                     std::vector<std::uint32_t> aoaSteps) {
    Configuration configuration;
    configuration.vesselName = "Probe";
    configuration.saveDirectory = "Reports";
    configuration.machIntervals = std::move(machBounds);
    configuration.machIncrements = std::move(machSteps);
    configuration.aoaIntervals = std::move(aoaBounds);
    configuration.aoaIncrements = std::move(aoaSteps);
    return configuration;
}

// An invalid axis (no bounds) is left empty by the build, which lets a test put a cursor
// index outside its list.
inline Sweeper sweepOf(const Configuration& configuration) {
    Sweeper sweeper;
    sweeper.build(configuration);
    return sweeper;
}

}  // namespace aeroquin::testsupport
