#include "host/world/ControlSurface.h"

#include <algorithm>

#include "host/support/Text.h"

namespace aeroquin::host {

namespace {

constexpr std::array<std::string_view, controlTypeCount> typeNames{
    "Elevator", "Rudder", "Aileron", "Flap", "ElevatorTrim", "RudderTrim"};

}  // namespace

std::optional<ControlType> controlTypeNamed(std::string_view name) {
    for (std::size_t i = 0; i < typeNames.size(); ++i) {
        if (equalsIgnoringCase(typeNames.at(i), name)) {
            return static_cast<ControlType>(i);
        }
    }
    return std::nullopt;
}

std::string controlTypeList() {
    std::string list;
    for (const std::string_view name : typeNames) {
        list.append(list.empty() ? "" : ", ").append(name);
    }
    return list;
}

ControlAxis resolvedAxis(ControlType type, ControlAxis declared, const Vec3& position) {
    if (declared != ControlAxis::Auto) {
        return declared;
    }
    switch (type) {
        case ControlType::Rudder:
        case ControlType::RudderTrim:
            return ControlAxis::YPos;
        case ControlType::Aileron:
            return position.x > 0.0 ? ControlAxis::XPos : ControlAxis::XNeg;
        case ControlType::Elevator:
        case ControlType::ElevatorTrim:
        case ControlType::Flap:
            break;
    }
    return ControlAxis::XPos;
}

ControlValues ControlLevels::defaultDelays() {
    ControlValues delays{};
    delays.fill(defaultDelayS);
    return delays;
}

ControlLevels::ControlLevels(const ControlValues& delaysS) : delayS_(delaysS) {}

void ControlLevels::set(ControlType type, double level, bool direct) {
    // std::max(-1, NaN) is -1, as in the simulator's clamp.
    target_[controlIndex(type)] = std::min(1.0, std::max(-1.0, level));
    pending_ = direct ? Pending::direct : Pending::ramp;
}

void ControlLevels::apply(double dt) {
    if (pending_ == Pending::none) {
        return;
    }
    const bool direct = pending_ == Pending::direct;
    pending_ = Pending::none;
    for (std::size_t i = 0; i < controlTypeCount; ++i) {
        const double target = target_[i];
        double& current = current_[i];
        if (target == current) {
            continue;
        }
        double next = target;
        if (!direct && delayS_[i] != 0.0) {
            const double most = dt / delayS_[i];
            if (target - current > most) {
                next = current + most;
                pending_ = Pending::ramp;
            } else if (target - current < -most) {
                next = current - most;
                pending_ = Pending::ramp;
            }
        }
        current = next;
    }
}

}  // namespace aeroquin::host
