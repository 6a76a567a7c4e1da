// One simulated vessel: its placement and its motion. Its parts: the state (VesselState.h),
// the frame conversions at it (VesselFrames.h) and the loads of the last step; the air at the
// state is AirData.h's.
//
// State: position and velocity relative to the reference body (global frame), attitude, angular
// velocity (vessel frame) and landed or free. Free vessels feel gravity and the aerodynamic
// force and moment of their class; landed vessels are fixed to the rotating surface (position and
// attitude turn with the body) and feel neither; their centre of gravity sits the class's
// LandedHeight above the mean radius. A free vessel that comes down to its landed height touches
// down and is landed from then on.
//
// Aerodynamics: the air turns rigidly with the body. The airflow is the velocity against the
// body's surface velocity at the vessel's own position, in the vessel frame (x right, y up,
// z forward); the class's airfoils and drag elements turn it into a force and a moment
// (AeroLoads.h), computed from the state at the start of a step and held through it. The force
// moves the vessel; the moment, with the class's inertia and rotation drag, turns it. The control
// surfaces act at the levels the vessel holds (ControlSurface.h), updated before each step.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/world/AeroLoads.h"
#include "host/world/Body.h"
#include "host/world/ControlSurface.h"
#include "host/world/Mat3.h"
#include "host/world/Vec3.h"
#include "host/world/VesselClass.h"
#include "host/world/VesselFrames.h"
#include "host/world/VesselState.h"

namespace aeroquin::host {

// The loads of the last integrated step, held until the next; 0 when landed or without air.
struct StepLoads {
    // Force and moment, vessel frame (N, N m), computed from the state at the step's start; lift
    // and drag signed: negative lift below the zero-lift angle.
    AeroLoads aero;
    // The torque as the simulator reports it (VESSEL::GetAngularMoment), vessel frame: the
    // aerodynamic moment and the rotation damping.
    Vec3 angularMomentNm;
    // The forces a module added for the step (VESSEL::AddForce), vessel frame, N.
    Vec3 addedForceN;
};

class Vessel {
  public:
    // A vessel at rest at the origin of the global frame, free, attitude (0, 0, 0), at time t.
    // `body` (may be null: empty space) must outlive the vessel.
    Vessel(std::string name, std::shared_ptr<const VesselClass> vesselClass, const Body* body,
           double t = 0.0);

    [[nodiscard]] const std::string& name() const { return name_; }
    [[nodiscard]] const std::string& className() const { return class_->name; }
    [[nodiscard]] const VesselClass& vesselClass() const { return *class_; }

    // Placement (also used by World::load).
    void placeLanded(double longitudeRad, double latitudeRad, const Vec3& attitudeRad);
    // Landed as the simulator lands a vessel: y up along the local vertical, the nose towards
    // `headingRad` (from north towards east).
    void placeUpright(double longitudeRad, double latitudeRad, double headingRad);
    void placeFlying(double longitudeRad, double latitudeRad, double altitudeM,
                     const Vec3& attitudeRad);

    // Free flight from this state: position and velocity relative to the reference body (global
    // frame, m and m/s), attitude angles (Attitude.h) and angular velocity (rad/s, vessel
    // frame). The angles are kept as given, so that angles read and set back unchanged leave the
    // attitude bit-identical.
    void setFree(const Vec3& position, const Vec3& velocity, const Vec3& attitudeRad,
                 const Vec3& angularVelocity);
    // The attitude as the simulator's SetRotationMatrix sets it: vessel frame -> global frame.
    void setAttitudeMatrix(const Mat3& vesselToGlobal);
    // A force (N) at a point (m), both in the vessel frame, added to the next step's force and
    // torque sums only, as the simulator's AddForce.
    void addForce(const Vec3& forceN, const Vec3& atM);
    // Lands the vessel where it is: from now on it rides the surface with the surface's
    // velocity and no rotation of its own.
    void land();
    // Takes the parent's position, velocity, attitude, angular velocity and time, as a vessel
    // attached to it without offset: free, and without loads of its own.
    void followParent(const Vessel& parent);

    [[nodiscard]] bool landed() const { return landed_; }
    // Deleted from the simulation: the world moves it no more. The object stays, so that its
    // address never names another vessel.
    [[nodiscard]] bool deleted() const { return deleted_; }
    void markDeleted() { deleted_ = true; }
    // Into the simulation, for a vessel the scenario creates after some frame.
    void markCreated() { deleted_ = false; }

    [[nodiscard]] const VesselState& state() const { return state_; }
    // The frame conversions at the state now; valid while the vessel stays where it is in memory.
    [[nodiscard]] VesselFrames frames() const { return {state_, place_}; }
    [[nodiscard]] const StepLoads& loads() const { return loads_; }

    // The control levels and mode, as the simulator's functions set and read them.
    [[nodiscard]] ControlLevels& controls() { return controls_; }
    [[nodiscard]] const ControlLevels& controls() const { return controls_; }
    void setHolds(std::vector<ControlHold> holds) { holds_ = std::move(holds); }
    // Before each step, for every vessel in the simulation, free, landed or attached: the
    // vessel's own pre-step (its holds, after the modules' pre-steps), then the levels' update of
    // a step of dt (ControlLevels::apply).
    void updateControls(double dt);

    // Integrates from time to time + dt (propagate(), the loads of the start held). Returns true
    // when the vessel touched down in this step. Throws NonFiniteError when the state or the air at
    // the start, the loads, or the state at the end is not finite. `self` is the simulator's
    // interface of this vessel, as whoever serves the interface has it: coefficient functions get
    // it. The vessel keeps none.
    bool step(double dt, VESSEL* self = nullptr);

  private:
    // The loads at the current state (coefficient functions are called). Throws NonFiniteError,
    // not naming the vessel, when the air is not finite.
    [[nodiscard]] AeroLoads currentLoads(VESSEL* self) const;
    // Moves and turns the vessel over dt as the simulator's default propagator does at rates
    // up to 50 deg/s: midpoint (RK2) sub-steps of position, velocity, attitude and angular
    // velocity together, the force (N) and the torque sum (N m, as GetAngularMoment gives it)
    // held through the step in the vessel frame, gravity taken at each stage. Each sub-step's
    // first half takes the accelerations of the last one's end; a state set starts from gravity
    // alone and keeps the angular acceleration, as in the simulator. (Above 1 deg per step the
    // simulator changes to RK4 and higher orders; the stand-in stays with RK2.) The angular
    // velocity is the simulator's, in its left-handed frame: +x pitches the nose up, +y turns it
    // left, +z rolls the right wing down, the opposite of the right-hand rule of rotationAbout.
    void propagate(double dt, const Vec3& forceN, const Vec3& torqueNm);
    // rad/s^2, vessel frame, at the angular velocity w (rad/s) under a torque per unit mass.
    [[nodiscard]] Vec3 angularAcceleration(const Vec3& torquePerMass, const Vec3& w) const;
    // Throws NonFiniteError naming the first part of the state that is not finite (the air is
    // checked where the loads read it).
    void requireFinite(const char* when) const;
    // The simulator's rotation damping in the air, N m, vessel frame.
    [[nodiscard]] Vec3 rotationDragMoment(double dt, const AeroLoads& loads) const;
    [[nodiscard]] Vec3 gravity(const Vec3& r) const;
    // Distance from the body's centre of the centre of gravity when landed, m.
    [[nodiscard]] double groundRadius() const;
    void setAttitude(const Vec3& angles);
    void fixToSurface();
    void followSurface();

    std::string name_;
    std::shared_ptr<const VesselClass> class_;

    VesselState state_;
    bool landed_ = false;
    bool deleted_ = false;
    // The last sub-step's end's accelerations: global, m/s^2 (none after a state set or at the
    // start: gravity alone then), and vessel frame, rad/s^2.
    std::optional<Vec3> accelerationMps2_;
    Vec3 angularAccelerationRadps2_;
    // Landed: position and attitude in the body-fixed frame.
    Vec3 fixedPosition_;
    Mat3 fixedAttitude_;

    StepLoads loads_;
    // Added for the next step (addForce), vessel frame.
    Vec3 addedForceN_;
    Vec3 addedMomentNm_;
    ControlLevels controls_;
    std::vector<ControlHold> holds_;
    mutable Place place_;  // frames()' last place
};

}  // namespace aeroquin::host
