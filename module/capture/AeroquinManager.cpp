#include "module/capture/AeroquinManager.h"

#include <exception>

#include "module/simulator/WriteLog.h"

namespace aeroquin {

AeroquinManager::AeroquinManager(std::int32_t startArgument) : feedback_(startArgument) {
    writeLog("Aeroquin - Manager created");
    try {
        initialise();
    } catch (const std::exception& failure) {
        // Reaches the log through the display at the first pre-step.
        status_ = failure.what();
    }
}

AeroquinManager::~AeroquinManager() {
    writeLog("Aeroquin - Manager destroyed");
}

void AeroquinManager::initialise() {
    configuration_.load();
    writeLog(configuration_.describe());
    sweeper_.build(configuration_);
    writeLog(sweeper_.describe());
    vesselManager_.bind(configuration_);
    reporter_.open(configuration_, sweeper_, vesselManager_);
    active_ = true;
    status_ = "Aeroquin - Manager initialized ok";
}

void AeroquinManager::preStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {
    if (active_) {
        try {
            vesselManager_.applyTestPoint(sweeper_);
        } catch (const std::exception& failure) {
            status_ = failure.what();
        }
    }
    feedback_.show(status_);
}

void AeroquinManager::postStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {
    if (!active_) {
        return;
    }
    // Formatted once: the status text and the report row are the same text.
    rowText_.write(vesselManager_.measure(sweeper_), status_);
    reporter_.writeRow(status_);
    sweeper_.advance();
    if (sweeper_.finished()) {
        status_ = sweeper_.statusText();
        reporter_.close();
        active_ = false;
    }
}

}  // namespace aeroquin
