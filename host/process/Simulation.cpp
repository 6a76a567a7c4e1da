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

ExitCode Simulation::run() {
    World& world = *host_.world();
    const auto mode = options_.display == DisplayMode::terminal ? oapi::Module::RENDER_WINDOW
                                                                : oapi::Module::RENDER_NONE;
    started_ = std::chrono::steady_clock::now();
    if (host_.trace().on()) {
        host_.trace().callback("clbkSimulationStart");
    }
    LastWords::setFrame(0, true);
    bool ok = toModules("clbkSimulationStart",
                        [mode](oapi::Module& module) { module.clbkSimulationStart(mode); });
    LastWords::setFrame(0, false);

    std::optional<ExitCode> result;
    if (!ok) {
        result = ExitCode::moduleException;
    } else if (StopSignals::received() != 0) {
        result = ExitCode::interrupted;
    }
    while (!result) {
        host_.setFrame(++frames_);
        status_.setFrame(frames_);
        LastWords::setFrame(frames_, true);
        const double startTime = world.time();
        if (host_.trace().on()) {
            host_.trace().callback(frames_, "clbkPreStep");
        }
        const double startMjd = startMjd_ + startTime / 86400.0;
        ok = toModules("clbkPreStep", [&](oapi::Module& module) {
            module.clbkPreStep(startTime, stepS_, startMjd);
        });
        bool finite = true;
        if (ok) {
            try {
                const auto interfaceOf = [this](const Vessel& vessel) {
                    return host_.objects().interfaceOf(vessel);
                };
                for (const auto& vessel : world.step(stepS_, interfaceOf)) {
                    host_.log().host("vessel " + vessel + " touched down");
                }
            } catch (const NonFiniteError& e) {
                reportFailure(&host_, "frame " + std::to_string(frames_) + ": " + e.what());
                ok = false;
                finite = false;
            } catch (...) {
                reportFailure(&host_, "World::step in frame " + std::to_string(frames_) +
                                          " threw " + describeCurrentException());
                ok = false;
            }
        }
        if (ok) {
            const double endTime = world.time();
            const double endMjd = startMjd_ + endTime / 86400.0;
            if (host_.trace().on()) {
                host_.trace().callback(frames_, "clbkPostStep");
            }
            ok = toModules("clbkPostStep", [&](oapi::Module& module) {
                module.clbkPostStep(endTime, stepS_, endMjd);
            });
        }
        for (const auto& vessel : world.deleteVessels(frames_)) {
            host_.log().host("vessel " + vessel + " deleted after frame " +
                             std::to_string(frames_));
        }
        LastWords::setFrame(frames_, false);
        if (display_.enabled()) {
            display_.update(displayState());
        }

        const StatusWatch& status = status_;
        if (!finite) {
            result = ExitCode::notFinite;
        } else if (!ok) {
            result = ExitCode::moduleException;
        } else if (status.completed()) {
            result = ExitCode::completed;
        } else if (status.incomplete()) {
            result = ExitCode::incomplete;
        } else if (frames_ == 1 && status.frameOneLogged() && !status.startedInFrameOne()) {
            result = ExitCode::captureFailed;
        } else if (StopSignals::received() != 0) {
            result = ExitCode::interrupted;
        } else if (options_.frames && frames_ >= *options_.frames) {
            result = ExitCode::frameLimit;
        }
    }
    // The last frame's state, before the module takes its annotation away.
    display_.finish(displayState());
    endSimulation();
    if (simulationEndFailed_) {
        result = ExitCode::moduleException;
    }
    // A capture whose rows did not all reach the disk is no success, whatever the module says:
    // in the simulator it cannot know, here the host does.
    if (*result == ExitCode::completed &&
        (host_.files().linesLost() > 0 || host_.log().linesLost() > 0)) {
        result = ExitCode::linesLost;
    }
    summariseRun(
        host_, status_, *result, frames_,
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count());
    return *result;
}

}  // namespace aeroquin::host
