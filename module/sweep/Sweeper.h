// The test-point lists and the cursor over their cross product: Mach outermost, then the optional
// axes in their sweep order (control level, sideslip, rate; each when configured), the AOA
// innermost.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "module/config/Configuration.h"
#include "module/config/OptionalAxes.h"

namespace aeroquin {

// Most points one axis may have: 16 Mi points, 128 MiB a list. An optimised build fills such
// a list in under 0.1 s on a 2-core machine (2^26 points took 0.3 to 1.1 s), and at one point a
// frame it is already days of capture.
inline constexpr std::uint64_t kMaxAxisPoints = std::uint64_t{1} << 24;

// Most points one sweep may have: at one point a frame, millennia of capture; and every count of
// points stays exact in a double.
inline constexpr std::uint64_t kMaxSweepPoints = std::uint64_t{1} << 48;

class Sweeper {
  public:
    Sweeper() = default;
    Sweeper(const Sweeper&) = default;
    Sweeper& operator=(const Sweeper&) = default;
    Sweeper(Sweeper&&) = default;
    Sweeper& operator=(Sweeper&&) = default;
    virtual ~Sweeper() = default;

    // Expands the axes (AOA, Mach, sideslip, control); leaves the cursor where it is. Throws
    // std::length_error when an axis would exceed kMaxAxisPoints, before that axis gets any
    // point, or the sweep kMaxSweepPoints. The sideslip and control axes reach each bound, and 0
    // where it lies on them, exactly.
    void build(const Configuration& configuration);

    // Moves to the next point; false once the sweep is (or already was) complete.
    bool advance();
    [[nodiscard]] bool finished() const { return finished_; }

    // Current test point; std::out_of_range when an index lies outside its list.
    [[nodiscard]] double currentMach() const;
    [[nodiscard]] double currentAoaDeg() const;
    // 0 without a sideslip axis.
    [[nodiscard]] double currentSideslipDeg() const;
    // 0 without a control axis.
    [[nodiscard]] double currentControlLevel() const;
    // Aerospace body rates, deg/s: q nose up, p right wing down, r nose right. The rate axis
    // sweeps its values about the pitch, then the roll, then the yaw axis: one is non-zero at a
    // time. All 0 without a rate axis.
    struct Rates {
        double pitch = 0.0;
        double roll = 0.0;
        double yaw = 0.0;
    };
    [[nodiscard]] Rates currentRatesDegPerS() const;

    [[nodiscard]] const std::vector<double>& aoaPoints() const { return aoaPoints_; }
    [[nodiscard]] const std::vector<double>& machPoints() const { return machPoints_; }
    // An optional axis's values; empty without the axis. The rate axis has each value once per
    // body axis: it has 3 x values points.
    [[nodiscard]] const std::vector<double>& values(OptionalAxis axis) const {
        return optional_.at(static_cast<std::size_t>(axis));
    }
    [[nodiscard]] const std::vector<double>& sideslipPoints() const {
        return values(OptionalAxis::sideslip);
    }
    [[nodiscard]] const std::vector<double>& controlPoints() const {
        return values(OptionalAxis::control);
    }
    // Its points: the values times the axis's repeats; 1 without the axis.
    [[nodiscard]] std::uint64_t size(OptionalAxis axis) const;
    // Every point of the sweep: the product of the axes' sizes.
    [[nodiscard]] std::uint64_t totalPoints() const;
    [[nodiscard]] std::size_t aoaIndex() const { return aoaIndex_; }
    [[nodiscard]] std::size_t machIndex() const { return machIndex_; }

    // "Capture completed" when finished, otherwise the current point.
    [[nodiscard]] std::string statusText() const;
    // One line for the host log.
    [[nodiscard]] std::string describe() const;

    // Fills `points` with the first bound and each interval's step points. False, with
    // `points` unchanged, when the axis is not valid; std::length_error, with `points`
    // unchanged, when it would exceed kMaxAxisPoints.
    static bool buildAxis(std::vector<double>& points, const std::vector<double>& intervals,
                          const std::vector<std::uint32_t>& increments);

  private:
    [[nodiscard]] std::size_t index(OptionalAxis axis) const {
        return optionalIndex_.at(static_cast<std::size_t>(axis));
    }
    // The axis's current value; 0 without it.
    [[nodiscard]] double current(OptionalAxis axis) const;

    bool finished_ = false;
    std::size_t aoaIndex_ = 0;
    std::size_t machIndex_ = 0;
    std::array<std::size_t, kOptionalAxisCount> optionalIndex_{};  // by OptionalAxis
    std::vector<double> aoaPoints_;
    std::vector<double> machPoints_;
    std::array<std::vector<double>, kOptionalAxisCount> optional_;  // by OptionalAxis
};

}  // namespace aeroquin
