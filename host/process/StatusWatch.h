// What the host learns about a capture from the module's log lines: the status texts of frame 1,
// the start and the end of the capture, and the number of test points of the sweep.
// The module's log lines are its status texts (one per change) and its set-up descriptions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "module/contract/StatusTexts.h"

namespace aeroquin::host {

class StatusWatch {
  public:
    // 0 while the simulation starts, then the number of the frame under way.
    void setFrame(std::uint64_t frame) { frame_ = frame; }
    void observe(std::string_view line);
    // From now on lines are no status of a frame (the simulation is ending): ignored.
    void stop() { stopped_ = true; }

    [[nodiscard]] bool completed() const { return completed_; }
    // The capture ended without all its points or report lines; the module's text says why.
    [[nodiscard]] bool incomplete() const { return !endText_.empty(); }
    [[nodiscard]] const std::string& endText() const { return endText_; }
    // Whether the module logged anything during frame 1, the last such line, and whether one of
    // them was the successful start.
    [[nodiscard]] bool frameOneLogged() const { return frameOneLogged_; }
    [[nodiscard]] const std::string& frameOneStatus() const { return frameOneStatus_; }
    [[nodiscard]] bool startedInFrameOne() const { return startFrame_ == 1; }
    // Mach values times AOA values, from the sweep's description line; nothing until seen.
    [[nodiscard]] std::optional<std::uint64_t> totalPoints() const { return totalPoints_; }
    // Test points visited after `framesRun` frames: one per frame from the frame that showed
    // the successful start up to the one that showed completion (the last point's frame), or
    // before the one in which the vessel was found gone.
    [[nodiscard]] std::uint64_t pointsMeasured(std::uint64_t framesRun) const;

  private:
    std::uint64_t frame_ = 0;
    bool stopped_ = false;
    bool frameOneLogged_ = false;
    std::string frameOneStatus_;
    bool completed_ = false;
    std::string endText_;
    std::uint64_t endFrame_ = 0;    // of completion or of an incomplete end
    std::uint64_t startFrame_ = 0;  // 0: not started
    std::optional<std::uint64_t> totalPoints_;
};

// "Sweeper: Mach vector size: P, AOA vector size: Q, ..." -> P * Q; nothing for other lines.
std::optional<std::uint64_t> sweepPoints(std::string_view line);

}  // namespace aeroquin::host
