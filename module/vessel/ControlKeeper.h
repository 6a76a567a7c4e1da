// What a capture does to a vessel's controls: the swept surface and the aerodynamic control mode
// it takes, the levels it must not see move, and what it gives back.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "module/simulator/HostApi.h"

namespace aeroquin {

// Every surface the vessel may have, in AIRCTRL_TYPE's order.
inline constexpr std::array<AIRCTRL_TYPE, 6> kControlTypes{
    AIRCTRL_ELEVATOR, AIRCTRL_RUDDER,       AIRCTRL_AILERON,
    AIRCTRL_FLAP,     AIRCTRL_ELEVATORTRIM, AIRCTRL_RUDDERTRIM};

// Holds no vessel: each operation takes the vessel's interface, looked up afresh by the caller.
class ControlKeeper {
  public:
    // What the vessel's controls were held at in the capture's first step.
    struct Held {
        std::array<double, 6> levels{};      // by AIRCTRL_TYPE; the swept one as commanded
        std::vector<double> thrusterLevels;  // by thruster index, 0 to 1
        double thrustN = 0.0;                // the thrusters' summed force
    };

    ControlKeeper() = default;
    ControlKeeper(const ControlKeeper&) = delete;
    ControlKeeper& operator=(const ControlKeeper&) = delete;
    ControlKeeper(ControlKeeper&&) = delete;
    ControlKeeper& operator=(ControlKeeper&&) = delete;
    virtual ~ControlKeeper() = default;

    // `swept`: the control axis's surface, whose level and the mode are kept to be given back.
    // `watch`: whether the report holds a column of the step's force or torque sums, which every
    // control surface and thruster enters.
    void bind(const VESSEL& vessel, std::optional<AIRCTRL_TYPE> swept, bool watch);

    // Sets the swept level directly, so that this very step uses it; the first call also turns
    // the mode off, so that the user's input moves no surface. Nothing without a swept surface.
    void command(const VESSEL& vessel, double level);

    // After each step while watching: the first call takes what the controls are held at; later
    // calls name each surface and thruster whose level differs from it, as "Rudder 0.7 (held
    // 0)", joined by "; " (empty when none does). Always empty without watching.
    [[nodiscard]] std::string moved(const VESSEL& vessel);
    [[nodiscard]] const std::optional<Held>& held() const { return held_; }
    [[nodiscard]] std::optional<AIRCTRL_TYPE> swept() const { return swept_; }

    // Gives back the swept surface's level (directly) and the mode, once; nothing when no
    // test point has taken them. A null vessel (gone) only forgets them.
    void giveBack(const VESSEL* vessel);
    [[nodiscard]] bool hasToGiveBack() const { return kept_ && taken_; }
    // Sets the level given back once more, directly, in the pre-step after the give-back: the
    // simulator's pass over the user's input on the focused vessel, after each step, sets every
    // surface without the direct flag, which turns a direct set made in a post-step into a ramp.
    void settle(const VESSEL* vessel);
    [[nodiscard]] bool isSettling() const { return settling_.has_value(); }

  private:
    // The mode's type differs between the simulator's builds.
    using ControlMode = decltype(std::declval<const VESSEL&>().GetADCtrlMode());
    struct Kept {
        ControlMode mode = 0;
        double level = 0.0;
    };

    std::optional<AIRCTRL_TYPE> swept_;
    bool watch_ = false;
    std::optional<Kept> kept_;  // as found at binding, until given back
    bool taken_ = false;        // a test point has set the mode and the level
    std::optional<double> settling_;
    std::optional<Held> held_;
};

}  // namespace aeroquin
