// The simulation of one run: the start callback, the frames (pre-step, the world's step,
// post-step) until the module's status, a signal or the frame limit ends them, then the end
// callback and the unloading of the module.
#pragma once

#include <chrono>
#include <cstdint>

#include "host/interface/HostContext.h"
#include "host/process/CommandLine.h"
#include "host/process/ExitCode.h"
#include "host/process/StatusWatch.h"
#include "host/process/TerminalDisplay.h"

namespace aeroquin::host {

// `host` has its world and, unless the run has no module, the module's objects.
class Simulation {
  public:
    // `step`: the time step of every frame, s.
    // `status` watches the module's log lines.
    Simulation(HostContext& host, StatusWatch& status, const HostOptions& options, double step);

    // Runs the whole simulation and summarises it; the exit status.
    ExitCode run();
    [[nodiscard]] bool moduleAbandoned() const { return simulationEndFailed_; }

  private:
    // Runs `call` on every registered module; false after an exception, which is logged.
    template <typename Call>
    bool toModules(const char* callback, Call call);
    void endSimulation();
    [[nodiscard]] DisplayState displayState() const;

    HostContext& host_;
    StatusWatch& status_;
    const HostOptions& options_;
    double stepS_;     // time step of every frame
    double startMjd_;  // days, at simulation time 0
    TerminalDisplay display_;
    std::uint64_t frames_ = 0;
    bool simulationEndFailed_ = false;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace aeroquin::host
