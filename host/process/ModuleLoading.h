// Loading the plug-in library: its entry points and the module objects it registers.
#pragma once

#include <filesystem>
#include <optional>

#include "host/interface/HostContext.h"
#include "host/process/CommandLine.h"
#include "host/process/ExitCode.h"

namespace aeroquin::host {

// Loads the library (--module, or the one beside the host), logs ModuleDate and
// GetModuleVersion and calls InitModule. Nothing when that succeeded; otherwise the exit status,
// with the library unloaded again.
std::optional<ExitCode> loadModule(HostContext& host, const HostOptions& options);

// Calls the library's ExitModule (else opcDLLExit) when it exports one and then leaves the
// registered objects to it, as the simulator does; without one, deletes them (the simulator
// would leak them). Then unloads the library.
void unloadModule(HostContext& host);
// After a failed clean end: neither the objects nor the library may be touched again.
void abandonModule(HostContext& host);

// The Aeroquin module that came with this host: beside an installed host
// (<exe dir>/../lib/aeroquin/Aeroquin.so), else the one of the build tree it was built in.
// Empty when neither exists.
std::filesystem::path defaultModulePath();

}  // namespace aeroquin::host
