#include "host/HostRun.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "host/ExceptionText.h"
#include "host/HostContext.h"
#include "host/StopSignals.h"
#include "host/TerminalDisplay.h"

namespace aeroquin::host {

namespace {

using InitModuleEntry = void (*)(HINSTANCE);
using ModuleDateEntry = const char* (*)();
using ModuleVersionEntry = int (*)();

template <typename Entry>
Entry entryPoint(const ModuleLibrary& library, const char* name) {
    // The loader gives functions as object addresses.
    return reinterpret_cast<Entry>(library.symbol(name));  // NOLINT
}

void fail(HostContext* host, const std::string& message) {
    if (host != nullptr) {
        host->log().host(message);
    }
    std::fprintf(stderr, "aeroquin-host: %s\n", message.c_str());
}

class Simulation {
  public:
    Simulation(HostContext& host, const HostOptions& options, double step)
        : host_(host),
          options_(options),
          step_(step),
          startMjd_(modifiedJulianDate(host.clock().now())),
          display_(options.display == DisplayMode::terminal && ::isatty(STDOUT_FILENO) == 1) {}

    ExitCode run();
    bool moduleAbandoned() const { return simulationEndFailed_; }

  private:
    // Runs `call` on every registered module; false after an exception, which is logged.
    template <typename Call>
    bool toModules(const char* callback, Call call);
    void endSimulation();
    void summarise(ExitCode code);
    DisplayState displayState() const;

    HostContext& host_;
    const HostOptions& options_;
    double step_;
    double startMjd_;  // days, at simulation time 0
    TerminalDisplay display_;
    std::uint64_t frames_ = 0;
    bool simulationEndFailed_ = false;
    std::chrono::steady_clock::time_point started_;
};

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
        fail(&host_, where + " threw " + describeCurrentException());
        return false;
    }
}

void Simulation::endSimulation() {
    // No frame is under way: what the module logs now is no frame's status.
    host_.status().stop();
    host_.setFrame(0);
    // The simulator deletes every annotation before the simulation-end callback.
    host_.annotations().deleteAtSimulationEnd();
    if (host_.trace().on()) {
        host_.trace().callback("clbkSimulationEnd");
    }
    simulationEndFailed_ =
        !toModules("clbkSimulationEnd", [](oapi::Module& module) { module.clbkSimulationEnd(); });
    if (simulationEndFailed_) {
        host_.log().host("the module objects are not deleted and the library stays loaded");
        host_.abandonModule();
    } else {
        host_.unloadModule();
    }
}

DisplayState Simulation::displayState() const {
    return DisplayState{frames_, host_.world()->time(), host_.status().pointsMeasured(frames_),
                        host_.status().totalPoints(), host_.annotations().latestText()};
}

ExitCode Simulation::run() {
    World& world = *host_.world();
    const auto mode = options_.display == DisplayMode::terminal ? oapi::Module::RENDER_WINDOW
                                                                : oapi::Module::RENDER_NONE;
    started_ = std::chrono::steady_clock::now();
    if (host_.trace().on()) {
        host_.trace().callback("clbkSimulationStart");
    }
    bool ok = toModules("clbkSimulationStart",
                        [mode](oapi::Module& module) { module.clbkSimulationStart(mode); });

    std::optional<ExitCode> result;
    if (!ok) {
        result = ExitCode::moduleException;
    } else if (StopSignals::received() != 0) {
        result = ExitCode::interrupted;
    }
    while (!result) {
        host_.setFrame(++frames_);
        const double startTime = world.time();
        if (host_.trace().on()) {
            host_.trace().callback(frames_, "clbkPreStep");
        }
        const double startMjd = startMjd_ + startTime / 86400.0;
        ok = toModules("clbkPreStep", [&](oapi::Module& module) {
            module.clbkPreStep(startTime, step_, startMjd);
        });
        if (ok) {
            try {
                for (const auto& vessel : world.step(step_)) {
                    host_.log().host("vessel " + vessel + " touched down");
                }
            } catch (...) {
                fail(&host_, "World::step in frame " + std::to_string(frames_) + " threw " +
                                 describeCurrentException());
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
                module.clbkPostStep(endTime, step_, endMjd);
            });
        }
        display_.update(displayState());

        const StatusWatch& status = host_.status();
        if (!ok) {
            result = ExitCode::moduleException;
        } else if (status.completed()) {
            result = ExitCode::completed;
        } else if (frames_ == 1 && status.frameOneLogged() &&
                   status.frameOneStatus() != kStartedStatus) {
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
    summarise(*result);
    return *result;
}

void Simulation::summarise(ExitCode code) {
    host_.files().closeAll();
    host_.annotations().releaseAll();

    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    const std::uint64_t points = host_.status().pointsMeasured(frames_);
    const double rate = elapsed > 0.0 ? static_cast<double>(points) / elapsed : 0.0;
    const std::size_t files = host_.files().filesWritten();
    char summary[200];
    std::snprintf(summary, sizeof summary, "%llu %s, %llu %s, %.6g points/s, %zu %s written",
                  static_cast<unsigned long long>(frames_), frames_ == 1 ? "frame" : "frames",
                  static_cast<unsigned long long>(points), points == 1 ? "point" : "points", rate,
                  files, files == 1 ? "file" : "files");
    std::printf("aeroquin-host: %s\n", summary);
    std::fflush(stdout);
    host_.log().host(std::string("run ended: ") + summary + "; exit status " +
                     std::to_string(toInt(code)));

    switch (code) {
        case ExitCode::captureFailed:
            std::fprintf(stderr, "aeroquin-host: the capture could not start: %s\n",
                         host_.status().frameOneStatus().c_str());
            break;
        case ExitCode::frameLimit:
            std::fprintf(stderr, "aeroquin-host: stopped after %llu frames (--frames)\n",
                         static_cast<unsigned long long>(frames_));
            break;
        case ExitCode::interrupted:
            std::fprintf(stderr, "aeroquin-host: stopped by a signal after %llu frames\n",
                         static_cast<unsigned long long>(frames_));
            break;
        case ExitCode::moduleException:
            std::fprintf(stderr, "aeroquin-host: see %s\n", host_.log().path().c_str());
            break;
        default:
            break;
    }
}

// Loads the library, logs its entry points and lets it register its module objects. Nothing
// when that succeeded; otherwise the exit status.
std::optional<ExitCode> loadModule(HostContext& host, const HostOptions& options) {
    const std::filesystem::path path = options.module.value_or(defaultModulePath());
    if (path.empty()) {
        fail(&host, "no Aeroquin module was found beside the host; name one with --module FILE");
        return ExitCode::badInput;
    }
    host.log().host("loading the module " + path.string());
    ModuleLibrary* library = nullptr;
    try {
        library = &host.loadModule(path);
    } catch (const std::runtime_error& e) {
        fail(&host, e.what());
        return ExitCode::badInput;
    }
    const auto initModule = entryPoint<InitModuleEntry>(*library, "InitModule");
    const auto moduleDate = entryPoint<ModuleDateEntry>(*library, "ModuleDate");
    const auto moduleVersion = entryPoint<ModuleVersionEntry>(*library, "GetModuleVersion");
    if (initModule == nullptr) {
        fail(&host, path.string() + " does not export InitModule");
        host.unloadModule();
        return ExitCode::badInput;
    }
    try {
        if (moduleDate != nullptr) {
            const char* date = moduleDate();
            host.log().host(std::string("ModuleDate: ") + (date == nullptr ? "(null)" : date));
        } else {
            host.log().host("ModuleDate: not exported");
        }
        if (moduleVersion != nullptr) {
            host.log().host("GetModuleVersion: " + std::to_string(moduleVersion()));
        } else {
            host.log().host("GetModuleVersion: not exported");
        }
        initModule(library->handle());
    } catch (...) {
        fail(&host, "the module's entry points threw " + describeCurrentException());
        // No simulation has started: the objects registered so far can go.
        host.unloadModule();
        return ExitCode::moduleException;
    }
    if (host.modules().empty()) {
        host.log().host("InitModule registered no module object");
    }
    return std::nullopt;
}

}  // namespace

RunOutcome runHost(const HostOptions& options) {
    std::optional<HostContext> context;
    try {
        context.emplace(options);
    } catch (const std::exception& e) {
        fail(nullptr, e.what());
        return {ExitCode::badInput};
    }
    HostContext& host = *context;
    host.log().host(std::string("aeroquin-host ") + AEROQUIN_VERSION + ", root " +
                    options.root.string() + ", scenario " + options.scenario);
    try {
        host.setWorld(World::load(options.root, options.scenario));
        // Coefficient functions get each vessel's interface: checked once it exists.
        host.world()->checkCoefficientFunctions();
    } catch (const std::exception& e) {
        // HostFileError names the file and the line.
        fail(&host, e.what());
        return {ExitCode::badInput};
    }
    const double step = options.step.value_or(host.world()->stepSize());
    host.world()->setStepSize(step);

    const StopSignals signals;
    if (!options.noModule) {
        if (const auto failure = loadModule(host, options)) {
            return {*failure};
        }
    }
    Simulation simulation(host, options, step);
    const ExitCode code = simulation.run();
    return {code, simulation.moduleAbandoned()};
}

}  // namespace aeroquin::host
