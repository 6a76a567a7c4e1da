#include "host/process/StatusWatch.h"

#include <charconv>
#include <limits>

namespace aeroquin::host {

namespace {

// A decimal count at the front of `text`; consumed on success.
std::optional<std::uint64_t> takeCount(std::string_view& text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

}  // namespace

std::optional<std::uint64_t> sweepPoints(std::string_view line) {
    if (!line.starts_with(contract::kSweepMachLabel)) {
        return std::nullopt;
    }
    line.remove_prefix(contract::kSweepMachLabel.size());
    const auto mach = takeCount(line);
    if (!mach || !line.starts_with(contract::kSweepAoaLabel)) {
        return std::nullopt;
    }
    line.remove_prefix(contract::kSweepAoaLabel.size());
    const auto aoa = takeCount(line);
    if (!aoa) {
        return std::nullopt;
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t points = *mach;
    const auto multiply = [&points](std::uint64_t factor) {
        points = factor != 0 && points > kMax / factor ? kMax : points * factor;
    };
    multiply(*aoa);
    // The optional axes, in the order the description names them.
    for (const std::string_view label : contract::kSweepOptionalLabels) {
        if (line.starts_with(label)) {
            line.remove_prefix(label.size());
            const auto count = takeCount(line);
            if (!count) {
                return std::nullopt;
            }
            multiply(*count);
        }
    }
    return points;
}

void StatusWatch::observe(std::string_view line) {
    if (stopped_) {
        return;
    }
    if (frame_ == 1) {
        frameOneLogged_ = true;
        frameOneStatus_.assign(line);
    }
    const bool ended = completed_ || !endText_.empty();
    if (!ended && line == contract::kCompletedStatus) {
        completed_ = true;
        endFrame_ = frame_;
    } else if (!ended && frame_ > 0 &&
               (line.starts_with(contract::kEndedPrefix) ||
                line.starts_with(contract::kStoppedPrefix))) {
        endText_.assign(line);
        // Found gone in a pre-step: that frame measured nothing.
        endFrame_ = line.starts_with(contract::kStoppedPrefix) ? frame_ - 1 : frame_;
    } else if (startFrame_ == 0 && frame_ > 0 && line == contract::kStartedStatus) {
        startFrame_ = frame_;
    } else if (frame_ == 0 && !totalPoints_) {
        totalPoints_ = sweepPoints(line);
    }
}

std::uint64_t StatusWatch::pointsMeasured(std::uint64_t framesRun) const {
    const bool ended = completed_ || !endText_.empty();
    if (startFrame_ == 0 || (ended && endFrame_ < startFrame_)) {
        return 0;
    }
    const std::uint64_t last = ended ? endFrame_ : framesRun;
    std::uint64_t points = last >= startFrame_ ? last - startFrame_ + 1 : 0;
    if (totalPoints_ && points > *totalPoints_) {
        points = *totalPoints_;
    }
    return points;
}

}  // namespace aeroquin::host
