// The test-point lists and the cursor over their cross product: Mach outermost, then the control
// level and the sideslip (each when the configuration has that axis), the AOA innermost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "module/config/Configuration.h"

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

    [[nodiscard]] const std::vector<double>& aoaPoints() const { return aoaPoints_; }
    [[nodiscard]] const std::vector<double>& machPoints() const { return machPoints_; }
    // Empty without a sideslip axis.
    [[nodiscard]] const std::vector<double>& sideslipPoints() const { return sideslipPoints_; }
    // Empty without a control axis.
    [[nodiscard]] const std::vector<double>& controlPoints() const { return controlPoints_; }
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
    bool finished_ = false;
    std::size_t aoaIndex_ = 0;
    std::size_t machIndex_ = 0;
    std::size_t sideslipIndex_ = 0;
    std::size_t controlIndex_ = 0;
    std::vector<double> aoaPoints_;
    std::vector<double> machPoints_;
    std::vector<double> sideslipPoints_;
    std::vector<double> controlPoints_;
};

}  // namespace aeroquin
