// What a run tells its user: failures on stderr and in the log, and the summary line at the end.
#pragma once

#include <cstdint>
#include <string>

#include "host/interface/HostContext.h"
#include "host/process/ExitCode.h"
#include "host/process/StatusWatch.h"

namespace aeroquin::host {

// One line on stderr ("aeroquin-host: <message>") and, with a context, a host: log line.
void reportFailure(HostContext* host, const std::string& message);

// Closes and frees what the module left, then writes the summary line (stdout and log) and, for
// an unsuccessful end, what went wrong (stderr). `elapsedS` is the run's wall time.
void summariseRun(HostContext& host, const StatusWatch& status, ExitCode code, std::uint64_t frames,
                  double elapsedS);

}  // namespace aeroquin::host
