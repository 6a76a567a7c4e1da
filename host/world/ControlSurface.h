// A vessel's control surfaces and their levels, as the simulator models them.
//
// A surface of area S, lift slope dCl (per unit level) and reference point r, at its type's level
// l (-1 to 1) in air of dynamic pressure q, adds at r the force -l q S dCl along the lift
// direction (axis XPos), against it (XNeg), along the side direction (YPos) or against it (YNeg),
// and the drag |l| q S along the airflow (AeroLoads.h has the directions). A surface at level 0
// adds nothing. All surfaces of one type share its level.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/world/Vec3.h"

namespace aeroquin::host {

// The simulator's control types, in its order (AIRCTRL_TYPE).
enum class ControlType { Elevator, Rudder, Aileron, Flap, ElevatorTrim, RudderTrim };
inline constexpr std::size_t controlTypeCount = 6;
// One value per control type, indexed by controlIndex.
using ControlValues = std::array<double, controlTypeCount>;

constexpr std::size_t controlIndex(ControlType type) {
    return static_cast<std::size_t>(type);
}

// The type of that name (ASCII case ignored): Elevator, Rudder, Aileron, Flap, ElevatorTrim,
// RudderTrim.
[[nodiscard]] std::optional<ControlType> controlTypeNamed(std::string_view name);
// "Elevator, Rudder, Aileron, Flap, ElevatorTrim, RudderTrim", for messages.
[[nodiscard]] std::string controlTypeList();

// The simulator's AIRCTRL_AXIS_*: X is the surface's hinge across the vessel (lift), Y upright
// (side force); Neg turns the force round.
enum class ControlAxis { Auto, XPos, XNeg, YPos, YNeg };

// The axis the simulator gives a surface declared with Auto: XPos for elevators, elevator trim
// and flaps, YPos for rudders and rudder trim, and for an aileron XPos right of the centre of
// gravity (x > 0), else XNeg. Any other axis stays.
[[nodiscard]] ControlAxis resolvedAxis(ControlType type, ControlAxis declared,
                                       const Vec3& position);

struct ControlSurface {
    std::string name;
    ControlType type = ControlType::Elevator;
    double areaM2 = 0.0;
    double dCl = 0.0;                      // lift coefficient per unit level
    Vec3 position;                         // m, vessel frame, against the centre of gravity
    ControlAxis axis = ControlAxis::XPos;  // resolved: never Auto
};

// A level that a vessel's own pre-step sets every frame, without the direct flag (a scenario's
// Holds).
struct ControlHold {
    ControlType type = ControlType::Elevator;
    double level = 0.0;
};

// One vessel's levels, as the simulator keeps them. A set level is a target; the step moves each
// level to its target before its forces: at once when the last set of the vessel (of any type)
// was direct or the type's delay is 0, else by at most dt/delay, going on in the next steps.
// "Direct" is one flag per vessel: a later set without it turns every pending change into a
// ramp. With no user input there is no transient part: the target is the level set.
class ControlLevels {
  public:
    // The simulator's delay of a type without a surface, s.
    static constexpr double defaultDelayS = 1.0;

    // `delaysS`: per type, the time a ramp takes from 0 to 1, s; 0 moves at once.
    explicit ControlLevels(const ControlValues& delaysS = defaultDelays());

    // VESSEL::SetControlSurfaceLevel: the target, clamped to [-1, 1] as the simulator clamps it
    // (NaN becomes -1 there, and here).
    void set(ControlType type, double level, bool direct);
    // The level the last step used.
    [[nodiscard]] double level(ControlType type) const { return current_[controlIndex(type)]; }
    [[nodiscard]] const ControlValues& levels() const { return current_; }
    // The step's update, dt in s.
    void apply(double dt);

    // The aerodynamic-control mode (bits: elevator, rudder, ailerons follow the user's input);
    // there is no user here, so it is kept and answered. 0, as the simulator starts a vessel.
    [[nodiscard]] std::uint32_t mode() const { return mode_; }
    void setMode(std::uint32_t mode) { mode_ = mode; }

    static ControlValues defaultDelays();

  private:
    enum class Pending { none, ramp, direct };

    ControlValues target_{};
    ControlValues current_{};
    ControlValues delayS_{};
    Pending pending_ = Pending::none;
    std::uint32_t mode_ = 0;
};

}  // namespace aeroquin::host
