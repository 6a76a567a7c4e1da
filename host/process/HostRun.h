// One run of the host: load the world and the module, start the simulation, run the frames,
// end the simulation, unload the module.
#pragma once

#include "host/process/CommandLine.h"
#include "host/process/ExitCode.h"

namespace aeroquin::host {

struct RunOutcome {
    ExitCode code = ExitCode::completed;
    // The module's simulation end failed: its objects and library were left alone, and the
    // process must end without running any more of its code (no exit handlers, no library
    // destructors).
    bool moduleAbandoned = false;
};

// Works in options.root from the loading of the world to the unloading of the module; the
// options' paths must be absolute (parseCommandLine makes them so).
RunOutcome runHost(const HostOptions& options);

}  // namespace aeroquin::host
