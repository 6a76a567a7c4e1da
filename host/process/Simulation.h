// The simulation of one run: the start callback, the frames (pre-step, the world's step,
// post-step) until the module's status, a signal or the frame limit ends them, then the end
// callback and the unloading of the module.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

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
    // How a frame went, as far as the host itself can tell; the module's status is the watch's.
    enum class FrameOutcome { ran, failed, notFinite };

    // The start callback; an exit status when the run ends right there.
    std::optional<ExitCode> startSimulation();
    // One frame: pre-step, the world's step, post-step, the vessels deleted after it, display.
    FrameOutcome runFrame();
    FrameOutcome stepWorld();
    // The exit status once a frame has decided it.
    [[nodiscard]] std::optional<ExitCode> verdictAfterFrame(FrameOutcome outcome) const;
    // The last word after the simulation's end: its failure, lines lost.
    [[nodiscard]] ExitCode verdictAtEnd(ExitCode afterFrames) const;
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
