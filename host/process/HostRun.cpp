#include "host/process/HostRun.h"

#include <exception>
#include <optional>
#include <set>
#include <string>

#include "host/interface/HostContext.h"
#include "host/process/ExceptionText.h"
#include "host/process/LastWords.h"
#include "host/process/ModuleLoading.h"
#include "host/process/RunReport.h"
#include "host/process/Simulation.h"
#include "host/process/StopSignals.h"

namespace aeroquin::host {

RunOutcome runHost(const HostOptions& options) {
    std::optional<HostContext> context;
    try {
        context.emplace(options);
    } catch (const std::exception& e) {
        reportFailure(nullptr, e.what());
        return {ExitCode::badInput};
    }
    HostContext& host = *context;
    host.log().host(std::string("aeroquin-host ") + AEROQUIN_VERSION + ", root " +
                    options.root.string() + ", scenario " + options.scenario);
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
        host.world()->checkCoefficientFunctions();
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
    Simulation simulation(host, options, step);
    const ExitCode code = simulation.run();
    return {code, simulation.moduleAbandoned()};
}

}  // namespace aeroquin::host
