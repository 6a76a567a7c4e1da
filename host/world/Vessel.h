// One simulated vessel: its state and its motion.
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
// moves the vessel; the moment, with the class's inertia and rotation drag, turns it.
#pragma once

#include <limits>
#include <memory>
#include <string>

#include "host/world/AeroLoads.h"
#include "host/world/Body.h"
#include "host/world/Mat3.h"
#include "host/world/Vec3.h"
#include "host/world/VesselClass.h"

namespace aeroquin::host {

class Vessel {
  public:
    // A vessel at rest at the origin of the global frame, free, attitude (0, 0, 0), at time t.
    // `body` (may be null: empty space) must outlive the vessel.
    Vessel(std::string name, std::shared_ptr<const VesselClass> vesselClass, const Body* body,
           double t = 0.0);

    [[nodiscard]] const std::string& name() const { return name_; }
    [[nodiscard]] const std::string& className() const { return class_->name; }
    [[nodiscard]] const VesselClass& vesselClass() const { return *class_; }
    [[nodiscard]] const Body* referenceBody() const { return body_; }

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
    // Lands the vessel where it is: from now on it rides the surface with the surface's
    // velocity and no rotation of its own.
    void land();
    // Takes the parent's position, velocity, attitude, angular velocity and time, as a vessel
    // attached to it without offset: free, and without loads of its own.
    void followParent(const Vessel& parent);
    // Body-fixed frame -> global frame now; the identity in empty space. Valid until the time
    // changes.
    [[nodiscard]] const Mat3& bodyRotation() const;
    // Heading of the nose in the local horizon, from north towards east, 0 to 2 pi.
    [[nodiscard]] double headingRad() const;

    // Longitude, latitude and radius in the body's rotating frame now. In empty space the same
    // in the global frame.
    void equPos(double& longitudeRad, double& latitudeRad, double& radiusM) const;
    // Local horizon (x east, y up, z north) at the vessel -> vessel frame.
    [[nodiscard]] Vec3 horizonInvRot(const Vec3& horizon) const;
    // Vessel frame -> global frame.
    [[nodiscard]] Vec3 globalRot(const Vec3& local) const;

    // At the current state; 0 density (and temperature 0) without atmosphere.
    [[nodiscard]] double atmTemperature() const;  // K
    [[nodiscard]] double atmDensity() const;      // kg/m^3
    // Lift and drag of the last integrated step, N, signed: negative lift below the zero-lift
    // angle. 0 when landed or without air.
    [[nodiscard]] double lift() const { return loads_.lift; }
    [[nodiscard]] double drag() const { return loads_.drag; }
    [[nodiscard]] double sideForce() const { return loads_.sideForce; }
    // Force and moment of the last integrated step, vessel frame (N, N m).
    [[nodiscard]] const AeroLoads& loads() const { return loads_; }
    // The torque of the last integrated step as the simulator sums and reports it
    // (VESSEL::GetAngularMoment), N m, vessel frame: a force F at r adds F x r, an airfoil
    // +cm q S c, rotation damping its share; 0 when landed.
    [[nodiscard]] const Vec3& angularMoment() const { return angularMoment_; }

    // `self` below is the simulator's interface of this vessel, as whoever serves the interface
    // has it: coefficient functions get it. The vessel keeps none.

    // The loads at the current state, without stepping (coefficient functions are called).
    // Throws NonFiniteError, not naming the vessel, when the air or a force is not finite.
    [[nodiscard]] AeroLoads currentLoads(VESSEL* self = nullptr) const;
    // Calls every coefficient function of the class over the whole circle of angles (5 deg
    // apart) and Mach 0 to 10; throws std::runtime_error at the first value that is not finite.
    void checkCoefficientFunctions(VESSEL* self = nullptr) const;

    // Diagnostics at the current state.
    [[nodiscard]] Vec3 airspeedVector() const;      // vessel frame, m/s
    [[nodiscard]] double airspeed() const;          // m/s
    [[nodiscard]] double mach() const;              // 0 without atmosphere
    [[nodiscard]] double angleOfAttackRad() const;  // rad
    [[nodiscard]] double dynamicPressure() const;   // Pa
    [[nodiscard]] double altitude() const;          // m above the mean radius; |r| in empty space

    [[nodiscard]] bool landed() const { return landed_; }
    // Deleted from the simulation: the world moves it no more. The object stays, so that its
    // address never names another vessel.
    [[nodiscard]] bool deleted() const { return deleted_; }
    void markDeleted() { deleted_ = true; }
    [[nodiscard]] const Vec3& position() const { return position_; }       // global, m
    [[nodiscard]] const Vec3& velocity() const { return velocity_; }       // global, m/s
    [[nodiscard]] const Vec3& attitudeAnglesRad() const { return arot_; }  // Attitude.h
    [[nodiscard]] const Vec3& angularVelocity() const { return vrot_; }    // vessel frame, rad/s
    [[nodiscard]] const Mat3& attitude() const { return attitude_; }       // vessel -> global
    [[nodiscard]] double time() const { return time_; }                    // s

    // Integrates from time() to time() + dt (velocity Verlet for gravity, aerodynamic force held
    // from the start). Returns true when the vessel touched down in this step. Throws
    // NonFiniteError when the state or the air at the start, the loads, or the state at the end
    // is not finite.
    bool step(double dt, VESSEL* self = nullptr);

  private:
    // Turns the attitude and the angular velocity over dt under the step's moment and rotation
    // drag.
    void turn(double dt, const AeroLoads& loads);
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
    const Body* body_;
    double time_;

    Vec3 position_;
    Vec3 velocity_;
    Vec3 arot_;
    Mat3 attitude_;
    Vec3 vrot_;
    bool landed_ = false;
    bool deleted_ = false;
    bool stateSet_ = false;  // setFree since the last step
    // Landed: position and attitude in the body-fixed frame.
    Vec3 fixedPosition_;
    Mat3 fixedAttitude_;

    AeroLoads loads_;
    Vec3 angularMoment_;  // N m, the simulator's sum (angularMoment())
    // Where the vessel is over its body, and the state it belongs to; NaN time: none yet.
    struct EquPos {
        Vec3 position;
        double time = std::numeric_limits<double>::quiet_NaN();
        double longitudeRad = 0.0;
        double latitudeRad = 0.0;
        double radiusM = 0.0;
        Mat3 horizonToBodyFixed;  // local horizon -> body-fixed frame
    };
    // The last answer, kept while the position and the time stay.
    [[nodiscard]] const EquPos& place() const;
    mutable EquPos equPosCache_;
};

}  // namespace aeroquin::host
