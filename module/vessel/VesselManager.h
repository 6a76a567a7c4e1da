// Binds a capture to one vessel and forces it into each test condition.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>

#include "module/config/Configuration.h"
#include "module/simulator/HostApi.h"
#include "module/sweep/Sweeper.h"
#include "module/vessel/CaptureSample.h"
#include "module/vessel/ControlKeeper.h"

namespace aeroquin {

// Refers to the vessel by its handle only; the vessel belongs to the simulator. The vessel's
// interface is looked up afresh on every operation. Errors are std::runtime_error with the
// text for the user.
class VesselManager {
  public:
    VesselManager() = default;
    VesselManager(const VesselManager&) = delete;
    VesselManager& operator=(const VesselManager&) = delete;
    VesselManager(VesselManager&&) = delete;
    VesselManager& operator=(VesselManager&&) = delete;
    virtual ~VesselManager();

    // Finds the configured vessel and fixes its test position, 20 km (or the configured altitude)
    // above its body's mean radius; nothing is set on the vessel before the first test point.
    // Throws when the vessel, its reference body or that body's atmosphere is missing, when the
    // vessel hangs on another (the simulator computes no aerodynamics for an attached vessel) or
    // is docked to one (the simulator moves the whole stack), and ConfigurationError when the
    // altitude reaches the top of the atmosphere. With a control axis it keeps the swept
    // surface's level and the aerodynamic control mode; the first test point turns the mode off,
    // so that the user's input moves no surface during the capture.
    void bind(const Configuration& configuration);

    // Whether the bound vessel is still in the simulation. The simulator deletes vessels at the
    // end of any frame and may give a deleted vessel's handle to a vessel created later: once
    // told of the deletion, the handle is never followed again.
    [[nodiscard]] bool present() const;
    void vesselDeleted(OBJHANDLE vessel);

    // "is attached to <parent>" or "is docked to <vessel>" while the vessel hangs on or is docked
    // to another; empty while it flies alone (or has no interface).
    [[nodiscard]] std::string captiveState() const;

    // Resets the position, then sets the velocity of the sweep's current Mach, AOA and sideslip
    // relative to the rotating atmosphere, and takes the dynamic pressure of that state. Throws
    // when the sweep has finished, when the vessel has lost its reference body, or when that
    // body has no atmosphere data.
    void applyTestPoint(const Sweeper& sweeper);

    // Reads lift and drag (and, when the capture reports them, the moments and the side force)
    // of the step just integrated and divides them by the dynamic pressure they were computed
    // with.
    [[nodiscard]] CaptureSample measure(const Sweeper& sweeper) const;

    // The host's class name; empty when the host gives no interface or no text.
    [[nodiscard]] std::string vesselClassName() const;

    // Puts the vessel back at the anchor in free flight; everything else as the host had it,
    // but for a capture of moments, which stops the rotation (damping would add to the torque)
    // or, with a rate axis, turns it at the point's rates.
    void restorePosition();

    // Sets the velocity for the angle of attack and the sideslip at the commanded airspeed.
    void applyVelocity(double aoaRad, double sideslipRad = 0.0);

    // After each step, with a report of the step's force or torque sums: the first call takes
    // the levels the other surfaces and the thrusters are held at, later ones name those that
    // moved (ControlKeeper::moved).
    [[nodiscard]] std::string controlsMoved();
    [[nodiscard]] const ControlKeeper& controls() const { return controls_; }

    // What the simulator says of the vessel's mass at binding, with any optional item (the
    // header's); nothing otherwise.
    struct MassProperties {
        double massKg = 0.0;
        // Principal moments of inertia about the body axes x forward (roll), y right (pitch),
        // z down (yaw), kg m^2.
        double rollInertia = 0.0;
        double pitchInertia = 0.0;
        double yawInertia = 0.0;
        double gravity = 0.0;  // m/s^2 at the capture point, from the body's mass
    };
    [[nodiscard]] const std::optional<MassProperties>& massProperties() const {
        return massProperties_;
    }

    // Gives the vessel back the swept surface's level and the control mode it had at binding,
    // once; nothing without a control axis, before the first test point or once the vessel is
    // gone. The other levels were never set.
    void restoreControls();
    // The level given back, once more in the next pre-step (ControlKeeper::settle).
    void settleControls();

  private:
    OBJHANDLE vessel_ = nullptr;
    bool deleted_ = false;
    VECTOR3 anchorPosition_{{0.0, 0.0, 0.0}};  // m, relative to the reference body, global frame
    double airspeed_ = 0.0;                    // m/s
    double dynamicPressure_ = 0.0;             // Pa, of the state the last pre-step set
    bool reportMoments_ = false;
    bool reportLateral_ = false;  // a sideslip or a control axis: the side force, and with
                                  // moments Cl and Cn
    std::optional<AIRCTRL_TYPE> controlSurface_;
    ControlKeeper controls_;
    std::optional<MassProperties> massProperties_;
    bool rateAxis_ = false;
    VECTOR3 commandedRotation_{{0.0, 0.0, 0.0}};  // rad/s, vessel frame: the point's rates
    VECTOR3 rotation_{{0.0, 0.0, 0.0}};           // rad/s, vessel frame: as read back
};

}  // namespace aeroquin
