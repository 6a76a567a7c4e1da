#include "module/sweep/Sweeper.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "module/config/AxisValidation.h"
#include "module/contract/StatusTexts.h"

namespace aeroquin {

namespace {

// 1 + the sum of the counts. Saturates rather than wraps, so no sum can slip under the ceiling.
std::uint64_t finalCount(const std::vector<std::uint32_t>& increments) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t count = 1;
    for (const std::uint32_t n : increments) {
        count = count > kMax - n ? kMax : count + n;
    }
    return count;
}

// How the points between two bounds are computed.
enum class Spacing {
    // lower + j * step: the arithmetic the Mach and AOA axes have always had.
    stepped,
    // The same, but each interval ends exactly at its upper bound and a point that is 0 in exact
    // arithmetic is 0: a level of 1.0000000000000002 is one the simulator clamps, a centre of
    // -1.1e-16 one that no reader finds as 0.
    exact,
};

// `axis` names the axis in the error text; empty for an unnamed one.
bool expandAxis(std::vector<double>& points, const std::vector<double>& intervals,
                const std::vector<std::uint32_t>& increments, std::string_view axis,
                Spacing spacing = Spacing::stepped) {
    if (!isValidAxis(intervals, increments)) {
        return false;
    }
    const std::uint64_t count = finalCount(increments);
    if (count > kMaxAxisPoints) {
        std::ostringstream message;
        message << "Sweeper: " << axis << (axis.empty() ? "" : " ") << "axis of " << count
                << " points exceeds the limit of " << kMaxAxisPoints << " points";
        throw std::length_error(message.str());
    }
    // Built aside and swapped in, so that a failure part-way leaves `points` as it was.
    std::vector<double> expanded;
    expanded.reserve(static_cast<std::size_t>(count));
    expanded.push_back(intervals.front());
    for (std::size_t i = 0; i < increments.size(); ++i) {
        const std::uint64_t n = increments[i];
        if (n == 0) {
            continue;
        }
        const double lower = intervals[i];
        const double step = (intervals[i + 1] - lower) / static_cast<double>(n);
        // Each point afresh from the lower bound, so rounding does not accumulate. The build
        // forbids fusing the multiply and add (-ffp-contract=off), so the points are the same
        // on every compiler.
        for (std::uint64_t j = 1; j <= n; ++j) {
            double point = lower + static_cast<double>(j) * step;
            if (spacing == Spacing::exact) {
                // The residue of a sum that is 0 is a few units in the last place of `lower`.
                if (j == n) {
                    point = intervals[i + 1];
                } else if (std::abs(point) < std::abs(step) * 1e-9) {
                    point = 0.0;
                }
            }
            expanded.push_back(point);
        }
    }
    points.swap(expanded);
    return true;
}

}  // namespace

void Sweeper::build(const Configuration& configuration) {
    static_cast<void>(
        expandAxis(aoaPoints_, configuration.aoaIntervals, configuration.aoaIncrements, "AOA"));
    static_cast<void>(
        expandAxis(machPoints_, configuration.machIntervals, configuration.machIncrements, "Mach"));
    sideslipPoints_.clear();
    if (configuration.hasSideslipAxis()) {
        static_cast<void>(expandAxis(sideslipPoints_, configuration.sideslipIntervals,
                                     configuration.sideslipIncrements, "Sideslip", Spacing::exact));
    }
    controlPoints_.clear();
    if (configuration.hasControlAxis()) {
        static_cast<void>(expandAxis(controlPoints_, configuration.controlIntervals,
                                     configuration.controlIncrements, "Control", Spacing::exact));
    }
    if (totalPoints() > kMaxSweepPoints) {
        std::ostringstream message;
        message << "Sweeper: the axes make more than " << kMaxSweepPoints
                << " points, the limit of one sweep";
        throw std::length_error(message.str());
    }
}

bool Sweeper::buildAxis(std::vector<double>& points, const std::vector<double>& intervals,
                        const std::vector<std::uint32_t>& increments) {
    return expandAxis(points, intervals, increments, {});
}

bool Sweeper::advance() {
    if (finished_) {
        return false;
    }
    ++aoaIndex_;
    if (aoaIndex_ < aoaPoints_.size()) {
        return true;
    }
    if (sideslipIndex_ + 1 < sideslipPoints_.size()) {
        ++sideslipIndex_;
        aoaIndex_ = 0;
        return true;
    }
    if (controlIndex_ + 1 < controlPoints_.size()) {
        ++controlIndex_;
        aoaIndex_ = 0;
        sideslipIndex_ = 0;
        return true;
    }
    ++machIndex_;
    if (machIndex_ < machPoints_.size()) {
        aoaIndex_ = 0;
        sideslipIndex_ = 0;
        controlIndex_ = 0;
        return true;
    }
    // The indices stay at the list sizes.
    finished_ = true;
    return false;
}

double Sweeper::currentMach() const {
    return machPoints_.at(machIndex_);
}

double Sweeper::currentAoaDeg() const {
    return aoaPoints_.at(aoaIndex_);
}

double Sweeper::currentSideslipDeg() const {
    return sideslipPoints_.empty() ? 0.0 : sideslipPoints_.at(sideslipIndex_);
}

double Sweeper::currentControlLevel() const {
    return controlPoints_.empty() ? 0.0 : controlPoints_.at(controlIndex_);
}

std::uint64_t Sweeper::totalPoints() const {
    // Saturates: four axes of kMaxAxisPoints would wrap.
    std::uint64_t total = 1;
    for (const std::uint64_t size :
         {static_cast<std::uint64_t>(aoaPoints_.size()),
          static_cast<std::uint64_t>(machPoints_.size()),
          static_cast<std::uint64_t>(std::max<std::size_t>(sideslipPoints_.size(), 1)),
          static_cast<std::uint64_t>(std::max<std::size_t>(controlPoints_.size(), 1))}) {
        total = size != 0 && total > std::numeric_limits<std::uint64_t>::max() / size
                    ? std::numeric_limits<std::uint64_t>::max()
                    : total * size;
    }
    return total;
}

std::string Sweeper::statusText() const {
    if (finished_) {
        return std::string(contract::kCompletedStatus);
    }
    std::ostringstream text;
    text << "Mach: " << currentMach() << ", AOA: " << currentAoaDeg();
    if (!sideslipPoints_.empty()) {
        text << ", Sideslip: " << currentSideslipDeg();
    }
    if (!controlPoints_.empty()) {
        text << ", Control: " << currentControlLevel();
    }
    return text.str();
}

std::string Sweeper::describe() const {
    std::ostringstream text;
    text << contract::kSweepMachLabel << machPoints_.size() << contract::kSweepAoaLabel
         << aoaPoints_.size();
    if (!sideslipPoints_.empty()) {
        text << contract::kSweepSideslipLabel << sideslipPoints_.size();
    }
    if (!controlPoints_.empty()) {
        text << contract::kSweepControlLabel << controlPoints_.size();
    }
    text << ", Current indexes - Mach: " << machIndex_ << " AOA: " << aoaIndex_;
    if (!sideslipPoints_.empty()) {
        text << " Sideslip: " << sideslipIndex_;
    }
    if (!controlPoints_.empty()) {
        text << " Control: " << controlIndex_;
    }
    return text.str();
}

}  // namespace aeroquin
