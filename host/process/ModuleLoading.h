// Loading the plug-in library: its entry points and the module objects it registers.
#pragma once

#include <optional>

#include "host/interface/HostContext.h"
#include "host/process/CommandLine.h"
#include "host/process/ExitCode.h"

namespace aeroquin::host {

// Loads the library (--module, or the one beside the host), logs ModuleDate and
// GetModuleVersion and calls InitModule. Nothing when that succeeded; otherwise the exit status,
// with the library unloaded again.
std::optional<ExitCode> loadModule(HostContext& host, const HostOptions& options);

}  // namespace aeroquin::host
