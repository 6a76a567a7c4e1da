#include "module/sweep/Sweeper.h"

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

// `axis` names the axis in the error text; empty for an unnamed one.
bool expandAxis(std::vector<double>& points, const std::vector<double>& intervals,
                const std::vector<std::uint32_t>& increments, std::string_view axis) {
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
            expanded.push_back(lower + static_cast<double>(j) * step);
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
                                     configuration.sideslipIncrements, "Sideslip"));
    }
    controlPoints_.clear();
    if (configuration.hasControlAxis()) {
        static_cast<void>(expandAxis(controlPoints_, configuration.controlIntervals,
                                     configuration.controlIncrements, "Control"));
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
    const std::uint64_t sideslips = sideslipPoints_.empty() ? 1 : sideslipPoints_.size();
    const std::uint64_t levels = controlPoints_.empty() ? 1 : controlPoints_.size();
    return static_cast<std::uint64_t>(aoaPoints_.size()) * machPoints_.size() * sideslips * levels;
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
