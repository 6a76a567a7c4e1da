#include "host/world/Vessel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>

#include "host/world/Angles.h"
#include "host/world/Attitude.h"
#include "host/world/NonFiniteError.h"

namespace aeroquin::host {

namespace {

bool isFinite(const Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

std::string text(const Vec3& v) {
    return std::to_string(v.x) + ", " + std::to_string(v.y) + ", " + std::to_string(v.z);
}

}  // namespace

Vessel::Vessel(std::string name, std::shared_ptr<const VesselClass> vesselClass, const Body* body,
               double t)
    : name_(std::move(name)), class_(std::move(vesselClass)), body_(body), time_(t) {}

const Mat3& Vessel::bodyRotation() const {
    static constexpr Mat3 kIdentity = Mat3::identity();
    return body_ != nullptr ? body_->rotation(time_) : kIdentity;
}

Vec3 Vessel::gravity(const Vec3& r) const {
    return body_ != nullptr ? body_->gravity(r) : Vec3{};
}

void Vessel::setAttitude(const Vec3& angles) {
    arot_ = angles;
    attitude_ = attitudeMatrix(angles);
}

void Vessel::fixToSurface() {
    landed_ = true;
    const Mat3 toFixed = bodyRotation().transposed();
    fixedPosition_ = toFixed * position_;
    fixedAttitude_ = toFixed * attitude_;
    velocity_ = body_ != nullptr ? body_->surfaceVelocity(position_) : Vec3{};
}

void Vessel::followSurface() {
    const Mat3 toGlobal = bodyRotation();
    position_ = toGlobal * fixedPosition_;
    setAttitude(host::attitudeAngles(toGlobal * fixedAttitude_));
    velocity_ = body_ != nullptr ? body_->surfaceVelocity(position_) : Vec3{};
}

double Vessel::groundRadius() const {
    return (body_ != nullptr ? body_->meanRadius() : 0.0) + class_->landedHeight;
}

void Vessel::placeLanded(double longitudeRad, double latitudeRad, const Vec3& attitudeRad) {
    const double radius = groundRadius();
    position_ = bodyRotation() * (radius * surfaceDirection(longitudeRad, latitudeRad));
    setAttitude(attitudeRad);
    fixToSurface();
}

void Vessel::placeUpright(double longitudeRad, double latitudeRad, double headingRad) {
    // Vessel axes in the local horizon (x east, y up, z north).
    const double s = std::sin(headingRad);
    const double c = std::cos(headingRad);
    const Mat3 vesselToHorizon = Mat3::fromColumns({c, 0.0, -s}, {0.0, 1.0, 0.0}, {s, 0.0, c});
    const Mat3 toGlobal =
        bodyRotation() * horizonToBodyFixed(longitudeRad, latitudeRad) * vesselToHorizon;
    placeLanded(longitudeRad, latitudeRad, host::attitudeAngles(toGlobal));
}

void Vessel::placeFlying(double longitudeRad, double latitudeRad, double altitudeM,
                         const Vec3& attitudeRad) {
    landed_ = false;
    if (body_ != nullptr) {
        position_ = bodyRotation() * ((body_->meanRadius() + altitudeM) *
                                      surfaceDirection(longitudeRad, latitudeRad));
        velocity_ = body_->surfaceVelocity(position_);
    } else {
        position_ = {};
        velocity_ = {};
    }
    setAttitude(attitudeRad);
}

void Vessel::setFree(const Vec3& position, const Vec3& velocity, const Vec3& attitudeRad,
                     const Vec3& angularVelocity) {
    landed_ = false;
    stateSet_ = true;
    position_ = position;
    velocity_ = velocity;
    vrot_ = angularVelocity;
    // A state read and set back unchanged keeps its matrix (bit-identical either way).
    if (!(attitudeRad == arot_)) {
        setAttitude(attitudeRad);
    }
}

void Vessel::land() {
    vrot_ = {};
    fixToSurface();
}

void Vessel::followParent(const Vessel& parent) {
    landed_ = false;
    stateSet_ = false;
    time_ = parent.time_;
    position_ = parent.position_;
    velocity_ = parent.velocity_;
    arot_ = parent.arot_;
    attitude_ = parent.attitude_;
    vrot_ = parent.vrot_;
    loads_ = {};
    angularMoment_ = {};
}

const Vessel::EquPos& Vessel::place() const {
    // Asked for several times a frame for the same state: the last answer is kept. The angles
    // and the horizon are made as the simulator makes its surface parameters.
    if (!(position_ == equPosCache_.position && time_ == equPosCache_.time)) {
        const Vec3 r = bodyRotation().transposeTimes(position_);
        const double radiusM = length(r);
        const double longitudeRad = std::atan2(r.z, r.x);
        const double latitudeRad = radiusM > 0.0 ? std::asin(r.y / radiusM) : 0.0;
        equPosCache_ = {position_,   time_,   longitudeRad,
                        latitudeRad, radiusM, horizonToBodyFixed(longitudeRad, latitudeRad)};
    }
    return equPosCache_;
}

double Vessel::headingRad() const {
    // The nose's direction in the local horizon; a nose within 1e-4 of the vertical takes the
    // vessel's -y axis instead, as the simulator does.
    const Mat3& horizonToBodyFixed = place().horizonToBodyFixed;
    const Mat3& toGlobal = bodyRotation();
    const auto inHorizon = [&](const Vec3& global) {
        return horizonToBodyFixed.transposeTimes(toGlobal.transposeTimes(global));
    };
    constexpr double kVertical = 1e-4;
    Vec3 nose = inHorizon(attitude_.column(2));
    if (std::abs(nose.x) <= kVertical && std::abs(nose.z) <= kVertical) {
        nose = inHorizon(-attitude_.column(1));
    }
    const double heading = std::atan2(nose.x, nose.z);
    return heading < 0.0 ? heading + 2.0 * std::numbers::pi : heading;
}

void Vessel::equPos(double& longitudeRad, double& latitudeRad, double& radiusM) const {
    const EquPos& here = place();
    longitudeRad = here.longitudeRad;
    latitudeRad = here.latitudeRad;
    radiusM = here.radiusM;
}

Vec3 Vessel::horizonInvRot(const Vec3& horizon) const {
    // One rotation after the other, in the simulator's order.
    return attitude_.transposeTimes(bodyRotation() * (place().horizonToBodyFixed * horizon));
}

Vec3 Vessel::globalRot(const Vec3& local) const {
    return attitude_ * local;
}

double Vessel::altitude() const {
    return length(position_) - (body_ != nullptr ? body_->meanRadius() : 0.0);
}

double Vessel::atmTemperature() const {
    const Atmosphere* air = body_ != nullptr ? body_->atmosphere() : nullptr;
    return air != nullptr ? air->at(altitude()).temperatureK : 0.0;
}

double Vessel::atmDensity() const {
    const Atmosphere* air = body_ != nullptr ? body_->atmosphere() : nullptr;
    return air != nullptr ? air->at(altitude()).densityKgM3 : 0.0;
}

Vec3 Vessel::airspeedVector() const {
    const Vec3 air = body_ != nullptr ? body_->surfaceVelocity(position_) : Vec3{};
    return attitude_.transposeTimes(velocity_ - air);
}

double Vessel::airspeed() const {
    return length(airspeedVector());
}

double Vessel::mach() const {
    const Atmosphere* air = body_ != nullptr ? body_->atmosphere() : nullptr;
    if (air == nullptr) {
        return 0.0;
    }
    return airspeed() / air->speedOfSound(air->at(altitude()).temperatureK);
}

double Vessel::angleOfAttackRad() const {
    const Vec3 v = airspeedVector();
    return std::atan2(-v.y, v.z);
}

double Vessel::dynamicPressure() const {
    const double v = airspeed();
    return 0.5 * atmDensity() * v * v;
}

AeroLoads Vessel::currentLoads(VESSEL* self) const {
    if (landed_) {
        return {};
    }
    const Atmosphere* air = body_ != nullptr ? body_->atmosphere() : nullptr;
    Airflow airflow{airspeedVector(), 0.0, 0.0};
    if (air != nullptr) {
        const AtmosphereState state = air->at(altitude());
        if (!std::isfinite(state.densityKgM3) || !std::isfinite(state.temperatureK)) {
            // The step names the vessel.
            throw NonFiniteError("the air is not finite (density " +
                                 std::to_string(state.densityKgM3) + " kg/m^3, temperature " +
                                 std::to_string(state.temperatureK) + " K)");
        }
        airflow.density = state.densityKgM3;
        airflow.speedOfSound = air->speedOfSound(state.temperatureK);
    }
    return aeroLoads(class_->airfoils, class_->dragElements, class_->crossSectionsM2, airflow,
                     self);
}

void Vessel::checkCoefficientFunctions(VESSEL* self) const {
    constexpr std::array machs{0.0, 0.3, 0.6, 0.8, 0.9, 0.95, 1.0, 1.05,
                               1.1, 1.2, 1.5, 2.0, 3.0, 5.0,  10.0};
    // Re0 per unit Mach of sea-level air, 1/m: the probe needs plausible values, not exact ones.
    constexpr double reynoldsPerMach = 2.3e7;
    for (const Airfoil& airfoil : class_->airfoils) {
        if (!airfoil.coefficients.isFunction()) {
            continue;
        }
        for (const double mach : machs) {
            for (int angleDeg = -180; angleDeg <= 180; angleDeg += 5) {
                static_cast<void>(airfoil.coefficients.at(self, radians(angleDeg), mach,
                                                          reynoldsPerMach * mach * airfoil.chordM));
            }
        }
    }
}

void Vessel::turn(double dt, const AeroLoads& loads) {
    // The attitude turns at the angular velocity the step began with; rebuilt from the angles
    // to stay orthonormal.
    if (vrot_ != Vec3{}) {
        setAttitude(host::attitudeAngles(attitude_ * rotationAbout(dt * vrot_)));
    }
    // Euler's equations with the principal moments: I w' + w x (I w) = M.
    const Vec3& pmi = class_->inertiaM2;
    const Vec3 iw{pmi.x * vrot_.x, pmi.y * vrot_.y, pmi.z * vrot_.z};
    const Vec3 damping = rotationDragMoment(dt, loads);
    const Vec3 moment = loads.moment + damping;
    // The simulator sums F x r and +cm q S c, the opposite sense of loads.moment's, and its
    // damping as this host does.
    angularMoment_ = damping - loads.moment;
    const Vec3 torque = moment / class_->mass - cross(vrot_, iw);  // m^2/s^2
    vrot_ += dt * Vec3{torque.x / pmi.x, torque.y / pmi.y, torque.z / pmi.z};
}

Vec3 Vessel::rotationDragMoment(double dt, const AeroLoads& loads) const {
    if (loads.airspeed == 0.0) {
        return {};
    }
    // The simulator's damping: -min(q' C_y r, I m / dt) w per axis, with the dynamic pressure
    // of the airspeed plus 30 m/s, so that a slow vessel is damped too; the limit keeps one
    // step from reversing the rotation.
    const double speed = loads.airspeed + 30.0;  // m/s
    const double factor = 0.5 * loads.density * speed * speed * class_->crossSectionsM2.y;
    const Vec3& r = class_->rotationDrag;
    const Vec3& pmi = class_->inertiaM2;
    const double m = class_->mass;
    const auto axis = [&](double w, double ri, double ii) {
        return w == 0.0 ? 0.0 : -std::min(factor * ri, ii * m / dt) * w;
    };
    return {axis(vrot_.x, r.x, pmi.x), axis(vrot_.y, r.y, pmi.y), axis(vrot_.z, r.z, pmi.z)};
}

void Vessel::requireFinite(const char* when) const {
    const std::array<std::pair<const char*, const Vec3*>, 4> parts{{{"position", &position_},
                                                                    {"velocity", &velocity_},
                                                                    {"attitude", &arot_},
                                                                    {"angular velocity", &vrot_}}};
    for (const auto& [quantity, value] : parts) {
        if (!isFinite(*value)) {
            throw NonFiniteError("vessel " + name_ + ": its " + quantity + " is not finite " +
                                 when + " (" + text(*value) + ")");
        }
    }
}

bool Vessel::step(double dt, VESSEL* self) {
    if (landed_) {
        time_ += dt;
        followSurface();
        loads_ = {};
        angularMoment_ = {};
        return false;
    }
    requireFinite("at the start of the step");
    // Signed, as the simulator sums them: lift is negative below the zero-lift angle.
    try {
        loads_ = currentLoads(self);
    } catch (const NonFiniteError& e) {
        throw NonFiniteError("vessel " + name_ + ": " + e.what());
    }
    if (!isFinite(loads_.force) || !isFinite(loads_.moment)) {
        throw NonFiniteError("vessel " + name_ +
                             ": its aerodynamic force or moment is not finite (" +
                             text(loads_.force) + " N; " + text(loads_.moment) + " N m)");
    }
    const Vec3 aero = (attitude_ * loads_.force) / class_->mass;

    // Velocity Verlet; the aerodynamic part is held through the step. A state set since the last
    // step starts from gravity alone, as in the simulator, whose placing of a vessel resets its
    // acceleration to gravity's: the position then does not move by the aerodynamic part.
    const Vec3 a0 = gravity(position_) + aero;
    const Vec3 positionAcceleration = stateSet_ ? gravity(position_) : a0;
    stateSet_ = false;
    const Vec3 r1 = position_ + dt * velocity_ + (0.5 * dt * dt) * positionAcceleration;
    const Vec3 a1 = gravity(r1) + aero;
    turn(dt, loads_);
    position_ = r1;
    velocity_ = velocity_ + (0.5 * dt) * (a0 + a1);
    time_ += dt;

    requireFinite("after the step");
    if (body_ != nullptr && length(position_) < groundRadius()) {
        position_ = groundRadius() * normalised(position_);
        fixToSurface();
        return true;
    }
    return false;
}

}  // namespace aeroquin::host
