#include "host/process/Simulation.h"

#include <unistd.h>

#include <optional>
#include <string>

#include "host/process/LastWords.h"
#include "host/process/ModuleLoading.h"
#include "host/process/RunReport.h"
#include "host/process/StopSignals.h"
#include "host/support/ExceptionText.h"
#include "host/world/NonFiniteError.h"

namespace aeroquin::host {

Simulation::Simulation(HostContext& host, StatusWatch& status, const HostOptions& options,
                       double step)
    : host_(host),
      status_(status),
      options_(options),
      stepS_(step),
      startMjd_(modifiedJulianDate(host.clock().now())),
      display_(options.display == DisplayMode::terminal && ::isatty(STDOUT_FILENO) == 1) {}

template <typename Call>
bool Simulation::toModules(const char* callback, Call call) {
    try {
        for (const auto& module : host_.modules()) {
            call(*module);
        }
        return true;
    } catch (...) {
        std::string where = std::string(callback);
        if (host_.frame() > 0) {
            where += " in frame " + std::to_string(host_.frame());
        }
        reportFailure(&host_, where + " threw " + describeCurrentException());
        return false;
    }
}

void Simulation::endSimulation() {
    // No frame is under way: what the module logs now is no frame's status.
    status_.stop();
    host_.setFrame(0);
    status_.setFrame(0);
    // The simulator deletes every annotation before the simulation-end callback.
    host_.annotations().deleteAtSimulationEnd();
    if (host_.trace().on()) {
        host_.trace().callback("clbkSimulationEnd");
    }
    simulationEndFailed_ =
        !toModules("clbkSimulationEnd", [](oapi::Module& module) { module.clbkSimulationEnd(); });
    if (simulationEndFailed_) {
        host_.log().host("the module objects are not deleted and the library stays loaded");
        abandonModule(host_);
    } else {
        unloadModule(host_);
    }
}

DisplayState Simulation::displayState() const {
    return DisplayState{frames_, host_.world()->time(), status_.pointsMeasured(frames_),
                        status_.totalPoints(), host_.annotations().latestText()};
}

std::optional<ExitCode> Simulation::startSimulation() {
    const auto mode = options_.display == DisplayMode::terminal ? oapi::Module::RENDER_WINDOW
                                                                : oapi::Module::RENDER_NONE;
    if (host_.trace().on()) {
        host_.trace().callback("clbkSimulationStart");
    }
    LastWords::setFrame(0, true);
    const bool ok = toModules("clbkSimulationStart",
                              [mode](oapi::Module& module) { module.clbkSimulationStart(mode); });
    LastWords::setFrame(0, false);
    if (!ok) {
        return ExitCode::moduleException;
    }
    if (StopSignals::received() != 0) {
        return ExitCode::interrupted;
    }
    return std::nullopt;
}

Simulation::FrameOutcome Simulation::stepWorld() {
    try {
        const auto interfaceOf = [this](const Vessel& vessel) {
            return host_.objects().interfaceOf(vessel);
        };
        for (const auto& vessel : host_.world()->step(stepS_, interfaceOf)) {
            host_.log().host("vessel " + vessel + " touched down");
        }
        return FrameOutcome::ran;
    } catch (const NonFiniteError& e) {
        reportFailure(&host_, "frame " + std::to_string(frames_) + ": " + e.what());
        return FrameOutcome::notFinite;
    } catch (...) {
        reportFailure(&host_, "World::step in frame " + std::to_string(frames_) + " threw " +
                                  describeCurrentException());
        return FrameOutcome::failed;
    }
}

Simulation::FrameOutcome Simulation::runFrame() {
    World& world = *host_.world();
    host_.setFrame(++frames_);
    status_.setFrame(frames_);
    LastWords::setFrame(frames_, true);
    const double startTime = world.time();
    if (host_.trace().on()) {
        host_.trace().callback(frames_, "clbkPreStep");
    }
    const double startMjd = startMjd_ + startTime / 86400.0;
    FrameOutcome outcome =
        toModules("clbkPreStep",
                  [&](oapi::Module& module) { module.clbkPreStep(startTime, stepS_, startMjd); })
            ? stepWorld()
            : FrameOutcome::failed;
    if (outcome == FrameOutcome::ran) {
        const double endTime = world.time();
        const double endMjd = startMjd_ + endTime / 86400.0;
        if (host_.trace().on()) {
            host_.trace().callback(frames_, "clbkPostStep");
        }
        if (!toModules("clbkPostStep", [&](oapi::Module& module) {
                module.clbkPostStep(endTime, stepS_, endMjd);
            })) {
            outcome = FrameOutcome::failed;
        }
    }
    // As the simulator, which deletes the vessels marked for it after the post-step, telling
    // every module of each first.
    const auto tellModules = [&](const Vessel& vessel) {
        OBJHANDLE handle = host_.objects().handleOf(&vessel);
        host_.objects().vesselDeleted(vessel);
        if (host_.trace().on()) {
            host_.trace().callback(frames_, "clbkDeleteVessel");
        }
        if (!toModules("clbkDeleteVessel",
                       [handle](oapi::Module& module) { module.clbkDeleteVessel(handle); })) {
            outcome = FrameOutcome::failed;
        }
    };
    for (const auto& vessel : world.deleteVessels(frames_, tellModules)) {
        host_.log().host("vessel " + vessel + " deleted after frame " + std::to_string(frames_));
    }
    for (const Vessel* vessel : world.changeAfter(frames_)) {
        host_.objects().vesselCreated(*vessel);
        host_.log().host("vessel " + vessel->name() + " created after frame " +
                         std::to_string(frames_));
    }
    LastWords::setFrame(frames_, false);
    if (display_.enabled()) {
        display_.update(displayState());
    }
    return outcome;
}

std::optional<ExitCode> Simulation::verdictAfterFrame(FrameOutcome outcome) const {
    if (outcome == FrameOutcome::notFinite) {
        return ExitCode::notFinite;
    }
    if (outcome == FrameOutcome::failed) {
        return ExitCode::moduleException;
    }
    if (status_.completed()) {
        return ExitCode::completed;
    }
    if (status_.incomplete()) {
        return ExitCode::incomplete;
    }
    if (frames_ == 1 && status_.frameOneLogged() && !status_.startedInFrameOne()) {
        return ExitCode::captureFailed;
    }
    if (StopSignals::received() != 0) {
        return ExitCode::interrupted;
    }
    if (options_.frames && frames_ >= *options_.frames) {
        return ExitCode::frameLimit;
    }
    return std::nullopt;
}

ExitCode Simulation::verdictAtEnd(ExitCode afterFrames) const {
    if (simulationEndFailed_) {
        return ExitCode::moduleException;
    }
    // A capture whose rows did not all reach the disk is no success, whatever the module says:
    // in the simulator it cannot know, here the host does.
    if (afterFrames == ExitCode::completed &&
        (host_.files().linesLost() > 0 || host_.log().linesLost() > 0)) {
        return ExitCode::linesLost;
    }
    return afterFrames;
}

ExitCode Simulation::run() {
    started_ = std::chrono::steady_clock::now();
    std::optional<ExitCode> result = startSimulation();
    while (!result) {
        result = verdictAfterFrame(runFrame());
    }
    // The last frame's state, before the module takes its annotation away.
    display_.finish(displayState());
    endSimulation();
    const ExitCode code = verdictAtEnd(*result);
    summariseRun(
        host_, status_, code, frames_,
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count());
    return code;
}

}  // namespace aeroquin::host
