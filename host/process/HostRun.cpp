#include "host/process/HostRun.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "host/interface/HostContext.h"
#include "host/process/LastWords.h"
#include "host/process/ModuleLoading.h"
#include "host/process/RunReport.h"
#include "host/process/Simulation.h"
#include "host/process/StatusWatch.h"
#include "host/process/StopSignals.h"
#include "host/support/ExceptionText.h"

namespace aeroquin::host {

namespace {

// The process works in the run's root folder, as the simulator works in its own: a module may
// open files relative to it with the standard library. The folder before is restored at the
// end, for runs within a test.
class WorkingFolder {
  public:
    // Throws std::filesystem::filesystem_error when the folder cannot be entered.
    explicit WorkingFolder(const std::filesystem::path& folder)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;
    WorkingFolder(WorkingFolder&&) = delete;
    WorkingFolder& operator=(WorkingFolder&&) = delete;
    ~WorkingFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }

  private:
    std::filesystem::path previous_;
};

}  // namespace

RunOutcome runHost(const HostOptions& options) {
    // The watch outlives the context: the module may log while it is unloaded. The working
    // folder is left after the module is gone.
    StatusWatch status;
    std::optional<WorkingFolder> workingFolder;
    std::optional<HostContext> context;
    try {
        context.emplace(HostSettings{options.root, options.trace, options.utc,
                                     options.display != DisplayMode::none,
                                     options.failWritesAfter});
    } catch (const std::exception& e) {
        reportFailure(nullptr, e.what());
        return {ExitCode::badInput};
    }
    HostContext& host = *context;
    // The watch sees every module line as the log holds it.
    host.log().onModuleLine([&status](std::string_view line) { status.observe(line); });
    host.log().host(std::string("aeroquin-host ") + AEROQUIN_VERSION + ", root " +
                    options.root.string() + ", scenario " + options.scenario);
    try {
        workingFolder.emplace(options.root);
    } catch (const std::filesystem::filesystem_error& e) {
        reportFailure(&host, "cannot work in the root folder " + options.root.string() + ": " +
                                 e.code().message());
        return {ExitCode::badInput};
    }
    // From here on a stop signal, a crash or an exit() in the user's code leaves a line.
    const StopSignals signals;
    const LastWords lastWords(host.log().fd());
    try {
        host.setWorld(World::load(options.root, options.scenario));
        std::set<std::string> classes;
        for (const Vessel& vessel : host.world()->vessels()) {
            if (classes.insert(vessel.className()).second) {
                for (const std::string& warning : vessel.vesselClass().unknownItems) {
                    host.log().host(warning);
                }
            }
        }
        // Coefficient functions get each vessel's interface: checked once it exists.
        LastWords::setFrame(0, true);
        host.world()->checkCoefficientFunctions(
            [&host](const Vessel& vessel) { return host.objects().interfaceOf(vessel); });
        LastWords::setFrame(0, false);
    } catch (const std::exception& e) {
        // HostFileError names the file and the line.
        reportFailure(&host, e.what());
        return {ExitCode::badInput};
    } catch (...) {
        // A coefficient function may throw anything.
        reportFailure(&host, "reading the world threw " + describeCurrentException());
        return {ExitCode::badInput};
    }
    const double step = options.step.value_or(host.world()->stepSize());
    host.world()->setStepSize(step);

    if (!options.noModule) {
        if (const auto failure = loadModule(host, options)) {
            return {*failure};
        }
    }
    Simulation simulation(host, status, options, step);
    const ExitCode code = simulation.run();
    return {code, simulation.moduleAbandoned()};
}

}  // namespace aeroquin::host
