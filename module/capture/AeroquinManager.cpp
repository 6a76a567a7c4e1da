#include "module/capture/AeroquinManager.h"

#include <exception>
#include <sstream>

#include "module/contract/StatusTexts.h"
#include "module/simulator/WriteLog.h"

namespace aeroquin {

AeroquinManager::AeroquinManager(std::int32_t startArgument) : feedback_(startArgument) {
    writeLog(std::string(contract::kManagerCreated));
    try {
        initialise();
    } catch (const std::exception& failure) {
        // Reaches the log through the display at the first pre-step.
        status_ = failure.what();
    }
}

AeroquinManager::~AeroquinManager() {
    vesselManager_.restoreControls();
    if (active_) {
        // The simulation ends before the sweep does.
        std::ostringstream text;
        text << contract::kStoppedPrefix << pointsMeasured_ << " of " << totalPoints()
             << " points measured";
        writeLog(text.str());
    }
    writeLog(std::string(contract::kManagerDestroyed));
}

void AeroquinManager::initialise() {
    configuration_.load();
    columns_ = ReportColumns(configuration_);
    writeLog(configuration_.describe());
    sweeper_.build(configuration_);
    writeLog(sweeper_.describe());
    vesselManager_.bind(configuration_);
    reporter_.open(configuration_, columns_, sweeper_, vesselManager_);
    active_ = true;
    status_ = contract::kStartedStatus;
}

void AeroquinManager::preStep(double /*simt*/, double /*simdt*/, double /*mjd*/) {
    vesselManager_.settleControls();
    if (active_) {
        pointApplied_ = false;
        if (!vesselManager_.present()) {
            stop("is no longer in the simulation");
        } else if (const std::string captive = vesselManager_.captiveState(); !captive.empty()) {
            // Moved with another vessel, it is no longer flown or measured alone.
            stop(captive);
        } else {
            try {
                vesselManager_.applyTestPoint(sweeper_);
                pointApplied_ = true;
            } catch (const std::exception& failure) {
                status_ = failure.what();
            }
        }
    }
    feedback_.show(status_);
}

void AeroquinManager::postStep(double /*simt*/, double simdt, double /*mjd*/) {
    if (!active_) {
        return;
    }
    if (pointApplied_) {
        // Formatted once: the status text and the report row are the same text, shown and logged
        // in the frame that writes it, whatever ends the capture before the next frame.
        const CaptureSample sample = vesselManager_.measure(sweeper_);
        // Every surface and thruster enters the force and torque sums, not only the swept one.
        const std::string moved = vesselManager_.controlsMoved();
        reporter_.completeHeader(vesselManager_.controls(), simdt);
        rowText_.write(sample, columns_, status_);
        reporter_.writeRow(status_);
        ++pointsMeasured_;
        // The vessel's own pre-step runs after this module's and may move the level.
        if (configuration_.hasControlAxis() &&
            !(sample.controlLevel == sweeper_.currentControlLevel())) {
            ++pointsOffLevel_;
        }
        feedback_.show(status_);
        if (!moved.empty()) {
            ++pointsMoved_;
            writeLog(std::string(contract::kMovedPrefix) + moved);
        }
    } else {
        // A row would carry the previous point's airspeed and q under this point's name.
        ++pointsFailed_;
    }
    sweeper_.advance();
    if (sweeper_.finished()) {
        complete();
        feedback_.show(status_);
    }
}

void AeroquinManager::complete() {
    active_ = false;
    vesselManager_.restoreControls();
    const std::uint64_t linesMissing = reporter_.finish();
    if (pointsFailed_ == 0 && pointsOffLevel_ == 0 && pointsMoved_ == 0 && linesMissing == 0) {
        status_ = sweeper_.statusText();
        return;
    }
    std::ostringstream text;
    text << contract::kEndedPrefix;
    const char* separator = "";
    if (pointsFailed_ > 0) {
        text << pointsFailed_ << " of " << totalPoints()
             << " points could not be applied and have no row";
        separator = "; ";
    }
    if (pointsOffLevel_ > 0) {
        text << separator << pointsOffLevel_ << " of " << totalPoints()
             << " points ran at another control level than commanded (their rows say which)";
        separator = "; ";
    }
    if (pointsMoved_ > 0) {
        text << separator << pointsMoved_ << " of " << totalPoints()
             << " points ran with another control surface or thruster level than in the first "
                "step (the log says which)";
        separator = "; ";
    }
    if (linesMissing > 0) {
        text << separator << linesMissing << " of " << reporter_.linesWritten()
             << " lines are missing from " << reporter_.path();
    }
    status_ = text.str();
}

void AeroquinManager::vesselDeleted(OBJHANDLE vessel) {
    vesselManager_.vesselDeleted(vessel);
}

void AeroquinManager::stop(const std::string& why) {
    active_ = false;
    vesselManager_.restoreControls();
    reporter_.close();
    std::ostringstream text;
    text << contract::kStoppedPrefix << "vessel " << configuration_.vesselName << " " << why << "; "
         << pointsMeasured_ << " of " << totalPoints() << " points measured";
    status_ = text.str();
}

std::uint64_t AeroquinManager::totalPoints() const {
    return sweeper_.totalPoints();
}

}  // namespace aeroquin
