#include "host/world/Vessel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>

#include "host/world/AirData.h"
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
    : name_(std::move(name)), class_(std::move(vesselClass)), controls_(class_->controlDelaysS) {
    state_.body = body;
    state_.time = t;
}

Vec3 Vessel::gravity(const Vec3& r) const {
    return state_.body != nullptr ? state_.body->gravity(r) : Vec3{};
}

void Vessel::setAttitude(const Vec3& angles) {
    state_.attitudeAnglesRad = angles;
    state_.attitude = attitudeMatrix(angles);
}

void Vessel::fixToSurface() {
    landed_ = true;
    const Mat3 toFixed = frames().bodyRotation().transposed();
    fixedPosition_ = toFixed * state_.position;
    fixedAttitude_ = toFixed * state_.attitude;
    state_.velocity =
        state_.body != nullptr ? state_.body->surfaceVelocity(state_.position) : Vec3{};
}

void Vessel::followSurface() {
    const Mat3 toGlobal = frames().bodyRotation();
    state_.position = toGlobal * fixedPosition_;
    setAttitude(host::attitudeAngles(toGlobal * fixedAttitude_));
    state_.velocity =
        state_.body != nullptr ? state_.body->surfaceVelocity(state_.position) : Vec3{};
}

double Vessel::groundRadius() const {
    return (state_.body != nullptr ? state_.body->meanRadius() : 0.0) + class_->landedHeight;
}

void Vessel::placeLanded(double longitudeRad, double latitudeRad, const Vec3& attitudeRad) {
    const double radius = groundRadius();
    state_.position =
        frames().bodyRotation() * (radius * surfaceDirection(longitudeRad, latitudeRad));
    setAttitude(attitudeRad);
    fixToSurface();
}

void Vessel::placeUpright(double longitudeRad, double latitudeRad, double headingRad) {
    // Vessel axes in the local horizon (x east, y up, z north).
    const double s = std::sin(headingRad);
    const double c = std::cos(headingRad);
    const Mat3 vesselToHorizon = Mat3::fromColumns({c, 0.0, -s}, {0.0, 1.0, 0.0}, {s, 0.0, c});
    const Mat3 toGlobal =
        frames().bodyRotation() * horizonToBodyFixed(longitudeRad, latitudeRad) * vesselToHorizon;
    placeLanded(longitudeRad, latitudeRad, host::attitudeAngles(toGlobal));
}

void Vessel::placeFlying(double longitudeRad, double latitudeRad, double altitudeM,
                         const Vec3& attitudeRad) {
    landed_ = false;
    if (state_.body != nullptr) {
        state_.position = frames().bodyRotation() * ((state_.body->meanRadius() + altitudeM) *
                                                     surfaceDirection(longitudeRad, latitudeRad));
        state_.velocity = state_.body->surfaceVelocity(state_.position);
    } else {
        state_.position = {};
        state_.velocity = {};
    }
    setAttitude(attitudeRad);
}

void Vessel::setFree(const Vec3& position, const Vec3& velocity, const Vec3& attitudeRad,
                     const Vec3& angularVelocity) {
    landed_ = false;
    accelerationMps2_.reset();
    state_.position = position;
    state_.velocity = velocity;
    state_.angularVelocity = angularVelocity;
    // A state read and set back unchanged keeps its matrix (bit-identical either way).
    if (!(attitudeRad == state_.attitudeAnglesRad)) {
        setAttitude(attitudeRad);
    }
}

void Vessel::setAttitudeMatrix(const Mat3& vesselToGlobal) {
    state_.attitude = vesselToGlobal;
    state_.attitudeAnglesRad = host::attitudeAngles(vesselToGlobal);
}

void Vessel::addForce(const Vec3& forceN, const Vec3& atM) {
    addedForceN_ += forceN;
    addedMomentNm_ += cross(forceN, atM);
}

void Vessel::land() {
    state_.angularVelocity = {};
    fixToSurface();
}

void Vessel::followParent(const Vessel& parent) {
    landed_ = false;
    const VesselState& from = parent.state_;
    state_.time = from.time;
    state_.position = from.position;
    state_.velocity = from.velocity;
    state_.attitudeAnglesRad = from.attitudeAnglesRad;
    state_.attitude = from.attitude;
    state_.angularVelocity = from.angularVelocity;
    loads_ = {};
}

AeroLoads Vessel::currentLoads(VESSEL* self) const {
    if (landed_) {
        return {};
    }
    const Atmosphere* air = state_.body != nullptr ? state_.body->atmosphere() : nullptr;
    Airflow airflow{airspeedVector(state_), 0.0, 0.0};
    if (air != nullptr) {
        const AtmosphereState here = air->at(altitudeM(state_));
        if (!std::isfinite(here.densityKgM3) || !std::isfinite(here.temperatureK)) {
            // The step names the vessel.
            throw NonFiniteError("the air is not finite (density " +
                                 std::to_string(here.densityKgM3) + " kg/m^3, temperature " +
                                 std::to_string(here.temperatureK) + " K)");
        }
        airflow.density = here.densityKgM3;
        airflow.speedOfSound = air->speedOfSound(here.temperatureK);
    }
    return aeroLoads(class_->airfoils, class_->dragElements, class_->crossSectionsM2, airflow, self,
                     Controls{class_->controlSurfaces, controls_.levels()});
}

void Vessel::updateControls(double dt) {
    for (const ControlHold& hold : holds_) {
        controls_.set(hold.type, hold.level, false);
    }
    controls_.apply(dt);
}

Vec3 Vessel::angularAcceleration(const Vec3& torquePerMass, const Vec3& w) const {
    // Euler's equations with the principal moments, as the simulator writes them for its
    // left-handed frame: I w' = M + w x (I w), the cross product by the right-hand formula.
    const Vec3& pmi = class_->inertiaM2;
    const Vec3 total = torquePerMass + cross(w, Vec3{pmi.x * w.x, pmi.y * w.y, pmi.z * w.z});
    return {total.x / pmi.x, total.y / pmi.y, total.z / pmi.z};
}

void Vessel::propagate(double dt, const Vec3& forceN, const Vec3& torqueNm) {
    // The simulator's sub-steps: enough that none turns the vessel more than 0.2 deg or lasts
    // more than 0.1 s, at most 10.
    constexpr double kMostAngleRad = 0.2 * 3.14159265358979323846 / 180.0;
    const double steps =
        std::ceil(std::max(dt / 0.1, length(state_.angularVelocity) * dt / kMostAngleRad));
    const int n = static_cast<int>(std::clamp(steps, 1.0, 10.0));
    const double h = dt / n;
    const Vec3 forcePerMass = forceN / class_->mass;     // vessel frame, m/s^2
    const Vec3 torquePerMass = torqueNm / class_->mass;  // m^2/s^2
    if (!accelerationMps2_) {
        accelerationMps2_ = gravity(state_.position);
    }
    for (int i = 0; i < n; ++i) {
        // The midpoint, its first half taken with the last sub-step's end's accelerations.
        const Vec3 w = state_.angularVelocity;
        const Vec3 midRate = w + (0.5 * h) * angularAccelerationRadps2_;
        const Mat3 midAttitude = state_.attitude * rotationAbout(-0.5 * h * w);
        const Vec3 midPosition = state_.position + (0.5 * h) * state_.velocity;
        const Vec3 midVelocity = state_.velocity + (0.5 * h) * *accelerationMps2_;
        const Vec3 midAcceleration = gravity(midPosition) + midAttitude * forcePerMass;
        state_.position += h * midVelocity;
        state_.velocity += h * midAcceleration;
        // Rebuilt from the angles to stay orthonormal.
        setAttitude(host::attitudeAngles(state_.attitude * rotationAbout(-h * midRate)));
        state_.angularVelocity += h * angularAcceleration(torquePerMass, midRate);
        accelerationMps2_ = gravity(state_.position) + state_.attitude * forcePerMass;
        angularAccelerationRadps2_ = angularAcceleration(torquePerMass, state_.angularVelocity);
    }
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
    return {axis(state_.angularVelocity.x, r.x, pmi.x), axis(state_.angularVelocity.y, r.y, pmi.y),
            axis(state_.angularVelocity.z, r.z, pmi.z)};
}

void Vessel::requireFinite(const char* when) const {
    const std::array<std::pair<const char*, const Vec3*>, 4> parts{
        {{"position", &state_.position},
         {"velocity", &state_.velocity},
         {"attitude", &state_.attitudeAnglesRad},
         {"angular velocity", &state_.angularVelocity}}};
    for (const auto& [quantity, value] : parts) {
        if (!isFinite(*value)) {
            throw NonFiniteError("vessel " + name_ + ": its " + quantity + " is not finite " +
                                 when + " (" + text(*value) + ")");
        }
    }
}

bool Vessel::step(double dt, VESSEL* self) {
    // A force added for this step acts in it alone, as in the simulator.
    const Vec3 addedForce = std::exchange(addedForceN_, Vec3{});
    const Vec3 addedMoment = std::exchange(addedMomentNm_, Vec3{});
    if (landed_) {
        state_.time += dt;
        followSurface();
        loads_ = {};
        return false;
    }
    requireFinite("at the start of the step");
    // Signed, as the simulator sums them: lift is negative below the zero-lift angle.
    try {
        loads_.aero = currentLoads(self);
    } catch (const NonFiniteError& e) {
        throw NonFiniteError("vessel " + name_ + ": " + e.what());
    }
    if (!isFinite(loads_.aero.force) || !isFinite(loads_.aero.moment)) {
        throw NonFiniteError("vessel " + name_ +
                             ": its aerodynamic force or moment is not finite (" +
                             text(loads_.aero.force) + " N; " + text(loads_.aero.moment) + " N m)");
    }
    loads_.addedForceN = addedForce;
    const Vec3 damping = rotationDragMoment(dt, loads_.aero);
    loads_.angularMomentNm = loads_.aero.moment + damping + addedMoment;
    // As in the simulator, the force and the torque sum move and turn the vessel.
    propagate(dt, loads_.aero.force + addedForce, loads_.angularMomentNm);
    state_.time += dt;

    requireFinite("after the step");
    if (state_.body != nullptr && length(state_.position) < groundRadius()) {
        state_.position = groundRadius() * normalised(state_.position);
        fixToSurface();
        return true;
    }
    return false;
}

}  // namespace aeroquin::host
