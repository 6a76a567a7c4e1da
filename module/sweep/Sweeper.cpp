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
    for (const OptionalAxisDescription& axis : kOptionalAxes) {
        std::vector<double>& points = optional_.at(static_cast<std::size_t>(axis.axis));
        points.clear();
        const std::vector<double>& intervals = configuration.*axis.intervals;
        if (!intervals.empty()) {
            static_cast<void>(expandAxis(points, intervals, configuration.*axis.increments,
                                         axis.name.substr(0, axis.name.find(' ')), Spacing::exact));
        }
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
    aoaIndex_ = 0;
    // The optional axes from the innermost out; each one that moves starts those inside it anew.
    for (std::size_t i = kOptionalAxisCount; i-- > 0;) {
        if (optionalIndex_.at(i) + 1 < size(static_cast<OptionalAxis>(i))) {
            ++optionalIndex_.at(i);
            return true;
        }
        optionalIndex_.at(i) = 0;
    }
    ++machIndex_;
    if (machIndex_ < machPoints_.size()) {
        return true;
    }
    // Mach and AOA stay at their list sizes, the optional axes at their last points.
    aoaIndex_ = aoaPoints_.size();
    for (std::size_t i = 0; i < kOptionalAxisCount; ++i) {
        optionalIndex_.at(i) = static_cast<std::size_t>(size(static_cast<OptionalAxis>(i)) - 1);
    }
    finished_ = true;
    return false;
}

double Sweeper::currentMach() const {
    return machPoints_.at(machIndex_);
}

double Sweeper::currentAoaDeg() const {
    return aoaPoints_.at(aoaIndex_);
}

double Sweeper::current(OptionalAxis axis) const {
    const std::vector<double>& points = values(axis);
    return points.empty() ? 0.0 : points.at(index(axis) % points.size());
}

double Sweeper::currentSideslipDeg() const {
    return current(OptionalAxis::sideslip);
}

double Sweeper::currentControlLevel() const {
    return current(OptionalAxis::control);
}

Sweeper::Rates Sweeper::currentRatesDegPerS() const {
    Rates rates;
    const std::vector<double>& points = values(OptionalAxis::rate);
    if (points.empty()) {
        return rates;
    }
    const double rate = current(OptionalAxis::rate);
    switch (index(OptionalAxis::rate) / points.size()) {
        case 0:
            rates.pitch = rate;
            break;
        case 1:
            rates.roll = rate;
            break;
        default:
            rates.yaw = rate;
            break;
    }
    return rates;
}

std::uint64_t Sweeper::size(OptionalAxis axis) const {
    const std::vector<double>& points = values(axis);
    return points.empty() ? 1 : points.size() * axisDescription(axis).repeats;
}

std::uint64_t Sweeper::totalPoints() const {
    // Saturates: four axes of kMaxAxisPoints would wrap.
    std::uint64_t total = 1;
    const auto multiply = [&total](std::uint64_t factor) {
        total = factor != 0 && total > std::numeric_limits<std::uint64_t>::max() / factor
                    ? std::numeric_limits<std::uint64_t>::max()
                    : total * factor;
    };
    multiply(aoaPoints_.size());
    multiply(machPoints_.size());
    for (std::size_t i = 0; i < kOptionalAxisCount; ++i) {
        multiply(size(static_cast<OptionalAxis>(i)));
    }
    return total;
}

std::string Sweeper::statusText() const {
    if (finished_) {
        return std::string(contract::kCompletedStatus);
    }
    std::ostringstream text;
    text << "Mach: " << currentMach() << ", AOA: " << currentAoaDeg();
    for (const OptionalAxisDescription& axis : kOptionalAxes) {
        if (values(axis.axis).empty()) {
            continue;
        }
        // Which repeat of the values: the body axis of a rate.
        text << axis.statusLabels.at(index(axis.axis) / values(axis.axis).size())
             << current(axis.axis);
    }
    return text.str();
}

std::string Sweeper::describe() const {
    std::ostringstream text;
    text << contract::kSweepMachLabel << machPoints_.size() << contract::kSweepAoaLabel
         << aoaPoints_.size();
    for (const OptionalAxisDescription& axis : kOptionalAxes) {
        if (!values(axis.axis).empty()) {
            text << axis.sizeLabel << size(axis.axis);
        }
    }
    text << ", Current indexes - Mach: " << machIndex_ << " AOA: " << aoaIndex_;
    for (const OptionalAxisDescription& axis : kOptionalAxes) {
        if (!values(axis.axis).empty()) {
            text << axis.indexLabel << index(axis.axis);
        }
    }
    return text.str();
}

}  // namespace aeroquin
