// The live one-line display on a terminal: the module's latest annotation text with the frame,
// the simulated time, the progress of the capture and an estimate of the time left. Redrawn in
// place (carriage return) at most ten times a second.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace aeroquin::host {

struct DisplayState {
    std::uint64_t frame = 0;
    double simTime = 0.0;  // s
    std::uint64_t pointsDone = 0;
    std::optional<std::uint64_t> pointsTotal;
    std::string_view text;  // the annotation's text
};

class TerminalDisplay {
  public:
    // Draws only when `enabled` (the terminal display was chosen and stdout is a terminal).
    explicit TerminalDisplay(bool enabled);

    [[nodiscard]] bool enabled() const { return enabled_; }
    // Redraws when the last drawing is old enough; cheap otherwise.
    void update(const DisplayState& state);
    // Draws the final state and ends the line.
    void finish(const DisplayState& state);

  private:
    void draw(const DisplayState& state, std::chrono::steady_clock::time_point now);

    bool enabled_;
    bool drawn_ = false;
    std::size_t width_ = 80;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastDraw_;
    std::string line_;
};

// "12 s", "3 min 05 s", "2 h 07 min".
std::string durationText(double seconds);

}  // namespace aeroquin::host
