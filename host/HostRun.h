// One run of the host: load the world and the module, start the simulation, run the frames,
// end the simulation, unload the module.
#pragma once

#include "host/CommandLine.h"
#include "host/ExitCode.h"

namespace aeroquin::host {

ExitCode runHost(const HostOptions& options);

}  // namespace aeroquin::host
