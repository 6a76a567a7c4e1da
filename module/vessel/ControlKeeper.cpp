#include "module/vessel/ControlKeeper.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <sstream>
#include <type_traits>

#include "module/config/Configuration.h"

namespace aeroquin {

namespace {

// The count's and index's type differs between the simulator's builds.
using ThrusterCount =
    std::remove_const_t<decltype(std::declval<const VESSEL&>().GetThrusterCount())>;

std::vector<double> thrusterLevels(const VESSEL& vessel) {
    const ThrusterCount count = vessel.GetThrusterCount();
    std::vector<double> levels;
    levels.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (ThrusterCount i = 0; i < count; ++i) {
        levels.push_back(vessel.GetThrusterLevel(vessel.GetThrusterHandleByIndex(i)));
    }
    return levels;
}

}  // namespace

void ControlKeeper::bind(const VESSEL& vessel, std::optional<AIRCTRL_TYPE> swept, bool watch) {
    swept_ = swept;
    watch_ = watch;
    kept_.reset();
    taken_ = false;
    settling_.reset();
    held_.reset();
    if (swept_) {
        kept_ = Kept{vessel.GetADCtrlMode(), vessel.GetControlSurfaceLevel(*swept_)};
    }
}

void ControlKeeper::command(const VESSEL& vessel, double level) {
    if (!swept_) {
        return;
    }
    if (!taken_) {
        taken_ = true;
        vessel.SetADCtrlMode(0);
    }
    vessel.SetControlSurfaceLevel(*swept_, level, true);
}

std::string ControlKeeper::moved(const VESSEL& vessel) {
    if (!watch_) {
        return {};
    }
    Held now;
    for (const AIRCTRL_TYPE type : kControlTypes) {
        now.levels.at(static_cast<std::size_t>(type)) = vessel.GetControlSurfaceLevel(type);
    }
    now.thrusterLevels = thrusterLevels(vessel);
    if (!held_) {
        VECTOR3 thrust{{0.0, 0.0, 0.0}};
        static_cast<void>(vessel.GetThrustVector(thrust));
        now.thrustN = std::sqrt(thrust.x * thrust.x + thrust.y * thrust.y + thrust.z * thrust.z);
        held_ = std::move(now);
        return {};
    }
    std::ostringstream text;
    const char* separator = "";
    for (const AIRCTRL_TYPE type : kControlTypes) {
        const auto i = static_cast<std::size_t>(type);
        if (type != swept_ && now.levels.at(i) != held_->levels.at(i)) {
            text << separator << controlSurfaceName(type) << ' ' << now.levels.at(i) << " (held "
                 << held_->levels.at(i) << ')';
            separator = "; ";
        }
    }
    // A thruster created or deleted mid-capture counts as one at level 0 where it is missing.
    const std::size_t thrusters = std::max(now.thrusterLevels.size(), held_->thrusterLevels.size());
    for (std::size_t i = 0; i < thrusters; ++i) {
        const double level = i < now.thrusterLevels.size() ? now.thrusterLevels[i] : 0.0;
        const double was = i < held_->thrusterLevels.size() ? held_->thrusterLevels[i] : 0.0;
        if (level != was) {
            text << separator << "thruster " << i << ' ' << level << " (held " << was << ')';
            separator = "; ";
        }
    }
    return text.str();
}

void ControlKeeper::giveBack(const VESSEL* vessel) {
    if (!kept_ || !taken_) {
        return;
    }
    const Kept kept = *kept_;
    kept_.reset();
    if (vessel == nullptr) {
        return;
    }
    vessel->SetControlSurfaceLevel(*swept_, kept.level, true);
    vessel->SetADCtrlMode(kept.mode);
    settling_ = kept.level;
}

void ControlKeeper::settle(const VESSEL* vessel) {
    if (!settling_) {
        return;
    }
    const double level = *settling_;
    settling_.reset();
    if (vessel != nullptr) {
        vessel->SetControlSurfaceLevel(*swept_, level, true);
    }
}

}  // namespace aeroquin
