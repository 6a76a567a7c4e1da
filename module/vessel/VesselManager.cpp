#include "module/vessel/VesselManager.h"

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <type_traits>

#include "module/config/ConfigurationError.h"
#include "module/vessel/SurfaceVelocity.h"

namespace aeroquin {

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kGravitationalConstant = 6.67259e-11;  // m^3/(kg s^2), the simulator's

// The airspeed's direction in the vessel frame (x right, y up, z forward) for the simulator's
// projected angles: its angle of attack atan2(-v_y, v_z) and, opposite to its own slip angle,
// the sideslip atan2(v_x, v_z). Along (tan b, -tan a, 1): here (sin b cos a, -sin a cos b,
// cos a cos b) / n, which holds at a = 90 deg too. n > 0: the configuration keeps |b| below
// 90 deg. Without sideslip n = 1 and this is (0, -sin a, cos a), taken at once: most points
// have no sideslip.
VECTOR3 airspeedDirection(double aoaRad, double sideslipRad) {
    if (sideslipRad == 0.0) {
        return VECTOR3{{0.0, -std::sin(aoaRad), std::cos(aoaRad)}};
    }
    const double cosB = std::cos(sideslipRad);
    const double sinB = std::sin(sideslipRad);
    const double cosA = std::cos(aoaRad);
    const double n = std::sqrt(sinB * sinB * cosA * cosA + cosB * cosB);
    return VECTOR3{{sinB * cosA / n, -(std::sin(aoaRad) * cosB / n), cosA * cosB / n}};
}

// The interface is never kept: the host may replace it between frames. A null handle (before
// bind, or after a failed lookup) is not handed to the host at all.
const VESSEL* interfaceOf(OBJHANDLE vessel) {
    return vessel == nullptr ? nullptr : oapiGetVesselInterface(vessel);
}

// The first vessel held at one of `count` points: `statusAt(handleAt(i))`, or null. The count's
// type differs between the simulator's builds.
template <typename Count, typename HandleAt, typename StatusAt>
OBJHANDLE firstHeld(Count count, HandleAt handleAt, StatusAt statusAt) {
    for (std::remove_const_t<Count> i = 0; i < count; ++i) {
        if (OBJHANDLE other = statusAt(handleAt(i))) {
            return other;
        }
    }
    return nullptr;
}

std::string nameOf(OBJHANDLE object) {
    std::array<char, 256> name{};
    oapiGetObjectName(object, name.data(), static_cast<int>(name.size()));
    name.back() = '\0';
    return name.data();
}

// Why the vessel is not flown alone: "is attached to <parent>" or "is docked to <vessel>", and
// what that means for a capture; nothing while it flies free.
struct Captive {
    std::string state;
    const char* consequence;
};

std::optional<Captive> captiveOf(const VESSEL& vessel) {
    const OBJHANDLE parent = firstHeld(
        vessel.AttachmentCount(true), [&](auto i) { return vessel.GetAttachmentHandle(true, i); },
        [&](ATTACHMENTHANDLE point) { return vessel.GetAttachmentStatus(point); });
    if (parent != nullptr) {
        return Captive{"is attached to " + nameOf(parent),
                       "the simulator computes no aerodynamics for it"};
    }
    const OBJHANDLE docked = firstHeld(
        vessel.DockCount(), [&](auto i) { return vessel.GetDockHandle(i); },
        [&](DOCKHANDLE port) { return vessel.GetDockStatus(port); });
    if (docked != nullptr) {
        return Captive{"is docked to " + nameOf(docked),
                       "the simulator would move and measure the whole stack"};
    }
    return std::nullopt;
}

// The body that the test condition is built on. Binding has checked it once; a vessel that
// has lost it since gets an error rather than a query through a null handle.
OBJHANDLE referenceBodyOf(const VESSEL& vessel) {
    OBJHANDLE body = vessel.GetSurfaceRef();
    if (body == nullptr) {
        throw std::runtime_error("The vessel has no reference surface");
    }
    return body;
}

}  // namespace

VesselManager::~VesselManager() {
    vessel_ = nullptr;
}

void VesselManager::bind(const Configuration& configuration) {
    const std::string& name = configuration.vesselName;
    std::string hostName = name;  // the host takes a mutable text
    vessel_ = oapiGetVesselByName(hostName.data());
    if (vessel_ == nullptr) {
        throw std::runtime_error("Vessel " + name + " was not found in the simulation");
    }

    deleted_ = false;
    const VESSEL* vessel = interfaceOf(vessel_);
    if (vessel == nullptr) {
        return;
    }
    if (const auto captive = captiveOf(*vessel)) {
        throw std::runtime_error("Vessel " + name + " " + captive->state + ": " +
                                 captive->consequence);
    }
    OBJHANDLE body = vessel->GetSurfaceRef();
    if (body == nullptr) {
        throw std::runtime_error("Vessel " + name + " has no reference surface");
    }
    // Refused before anything is set or moved, like a missing surface: without atmosphere
    // data no test point can be applied and every row would be meaningless.
    const ATMCONST* atmosphere = oapiGetPlanetAtmConstants(body);
    if (atmosphere == nullptr) {
        throw std::runtime_error("Vessel " + name +
                                 " has no atmosphere data on its reference body");
    }
    // Above the top of the atmosphere q is 0 and every coefficient NaN.
    if (configuration.altitudeM && !(*configuration.altitudeM < atmosphere->altlimit)) {
        std::ostringstream detail;
        detail << " - Altitude = " << *configuration.altitudeM
               << " must be below the top of the atmosphere, " << atmosphere->altlimit << " m";
        throw ConfigurationError(detail.str());
    }

    reportMoments_ = configuration.reportMoments;
    reportLateral_ = configuration.hasLateralColumns();
    controlSurface_ = configuration.controlSurface;
    controls_.bind(*vessel, configuration.controlSurface, configuration.readsForceSums());
    rateAxis_ = configuration.hasRateAxis();
    const double radius = oapiGetSize(body) + configuration.altitude();
    anchorPosition_ = VECTOR3{{radius, 0.0, 0.0}};
    massProperties_.reset();
    if (configuration.hasOptionalItems()) {
        // The simulator keeps the inertia per unit mass, in its axes x right, y up, z forward.
        MassProperties mass;
        mass.massKg = vessel->GetMass();
        VECTOR3 pmi{{0.0, 0.0, 0.0}};
        vessel->GetPMI(pmi);
        mass.rollInertia = pmi.z * mass.massKg;
        mass.pitchInertia = pmi.x * mass.massKg;
        mass.yawInertia = pmi.y * mass.massKg;
        mass.gravity = kGravitationalConstant * oapiGetMass(body) / (radius * radius);
        massProperties_ = mass;
    }
}

bool VesselManager::present() const {
    return vessel_ != nullptr && !deleted_ && oapiIsVessel(vessel_);
}

void VesselManager::vesselDeleted(OBJHANDLE vessel) {
    if (vessel != nullptr && vessel == vessel_) {
        deleted_ = true;
    }
}

std::string VesselManager::captiveState() const {
    const VESSEL* vessel = interfaceOf(vessel_);
    const auto captive = vessel == nullptr ? std::nullopt : captiveOf(*vessel);
    return captive ? captive->state : std::string();
}

void VesselManager::applyTestPoint(const Sweeper& sweeper) {
    if (rateAxis_ && !sweeper.finished()) {
        // Aerospace body rates onto the simulator's frame: q about x, p about z, r about -y.
        const Sweeper::Rates rates = sweeper.currentRatesDegPerS();
        commandedRotation_ =
            VECTOR3{{rates.pitch * kRadiansPerDegree, -rates.yaw * kRadiansPerDegree,
                     rates.roll * kRadiansPerDegree}};
    }
    restorePosition();
    if (sweeper.finished()) {
        throw std::runtime_error("No more elements in the vector. Should not have been called");
    }
    const double mach = sweeper.currentMach();

    if (const VESSEL* vessel = interfaceOf(vessel_)) {
        const ATMCONST* atmosphere = oapiGetPlanetAtmConstants(referenceBodyOf(*vessel));
        if (atmosphere == nullptr) {
            throw std::runtime_error("The vessel's reference body has no atmosphere data");
        }
        // Read after the position reset and before the new velocity.
        const double temperatureK = vessel->GetAtmTemperature();
        airspeed_ = std::sqrt(temperatureK * (atmosphere->gamma * atmosphere->R)) * mach;
    }

    applyVelocity(sweeper.currentAoaDeg() * kRadiansPerDegree,
                  sweeper.currentSideslipDeg() * kRadiansPerDegree);
    if (const VESSEL* vessel = controlSurface_ ? interfaceOf(vessel_) : nullptr) {
        controls_.command(*vessel, sweeper.currentControlLevel());
    }
    // The rates this step will use, as the simulator has them after the whole state is set.
    if (const VESSEL* vessel = rateAxis_ ? interfaceOf(vessel_) : nullptr) {
        vessel->GetAngularVel(rotation_);
    }

    // The step's forces come from the state just set, and setting it has updated the vessel's
    // air data: this density is the forces' own. Read after the step instead, it would belong to
    // wherever the step took the vessel (another air layer, another height).
    dynamicPressure_ = 0.0;
    if (const VESSEL* vessel = interfaceOf(vessel_)) {
        dynamicPressure_ = ((vessel->GetAtmDensity() * 0.5) * airspeed_) * airspeed_;
    }
}

CaptureSample VesselManager::measure(const Sweeper& sweeper) const {
    CaptureSample sample;
    sample.mach = sweeper.currentMach();
    sample.aoa = sweeper.currentAoaDeg();
    sample.sideslip = sweeper.currentSideslipDeg();
    // Both commanded in the pre-step, not re-measured after the step.
    sample.airspeed = airspeed_;
    sample.dynamicPressure = dynamicPressure_;

    // Without an interface here no force was read: NaN marks both as unmeasured. A zero q is
    // not guarded; the divisions give infinities or NaN as IEEE arithmetic has them.
    sample.clS = std::numeric_limits<double>::quiet_NaN();
    sample.cdS = std::numeric_limits<double>::quiet_NaN();
    if (const VESSEL* vessel = interfaceOf(vessel_)) {
        sample.clS = vessel->GetLift() / sample.dynamicPressure;
        sample.cdS = vessel->GetDrag() / sample.dynamicPressure;
        // The simulator's frame is left-handed (x right, y up, z forward) and its torque sum
        // F x r: pitch up is +x, roll right wing down +z, yaw nose right -y.
        if (reportMoments_) {
            VECTOR3 moment{{0.0, 0.0, 0.0}};
            vessel->GetAngularMoment(moment);
            sample.cmSc = moment.x / sample.dynamicPressure;
            if (reportLateral_) {
                sample.clSb = moment.z / sample.dynamicPressure;
                sample.cnSb = -moment.y / sample.dynamicPressure;
            }
        }
        if (reportLateral_) {
            VECTOR3 force{{0.0, 0.0, 0.0}};
            vessel->GetLinearMoment(force);
            sample.cyS = force.x / sample.dynamicPressure;
            if (controlSurface_) {
                // Along the simulator's lift direction, unit(0, v_z, -v_y), and its drag
                // direction, -v, of the airspeed the pre-step commanded.
                const VECTOR3 v = airspeedDirection(sample.aoa * kRadiansPerDegree,
                                                    sample.sideslip * kRadiansPerDegree);
                const double lift = std::hypot(v.z, v.y);
                sample.clTotalS = (force.y * v.z - force.z * v.y) / lift / sample.dynamicPressure;
                sample.cdTotalS =
                    -(force.x * v.x + force.y * v.y + force.z * v.z) / sample.dynamicPressure;
                sample.controlLevel = vessel->GetControlSurfaceLevel(*controlSurface_);
            }
        }
        if (rateAxis_) {
            sample.pitchRate = rotation_.x / kRadiansPerDegree;
            sample.rollRate = rotation_.z / kRadiansPerDegree;
            sample.yawRate = -rotation_.y / kRadiansPerDegree;
        }
    } else {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        sample.cmSc = nan;
        sample.cyS = nan;
        sample.clSb = nan;
        sample.cnSb = nan;
        sample.controlLevel = nan;
        sample.clTotalS = nan;
        sample.cdTotalS = nan;
        sample.pitchRate = nan;
        sample.rollRate = nan;
        sample.yawRate = nan;
    }
    return sample;
}

std::string VesselManager::vesselClassName() const {
    const VESSEL* vessel = interfaceOf(vessel_);
    if (vessel == nullptr) {
        return {};
    }
    const char* className = simulator::className(*vessel);
    return className == nullptr ? std::string() : std::string(className);
}

void VesselManager::restorePosition() {
    const VESSEL* vessel = interfaceOf(vessel_);
    if (vessel == nullptr) {
        return;
    }
    // The host fills the extended record only when it carries its version.
    VESSELSTATUS2 state{};
    state.version = 2;
    vessel->GetStatusEx(&state);
    if (state.status != 0 || reportMoments_) {
        // A landed record holds the height above ground in vrot.x, not an angular velocity:
        // handed back as free flight it would spin the vessel.
        state.vrot = VECTOR3{{0.0, 0.0, 0.0}};
    }
    if (rateAxis_) {
        state.vrot = commandedRotation_;
    }
    state.status = 0;  // free flight
    state.rpos = anchorPosition_;
    vessel->DefSetStateEx(&state);
}

void VesselManager::applyVelocity(double aoaRad, double sideslipRad) {
    const VESSEL* vessel = interfaceOf(vessel_);
    if (vessel == nullptr) {
        return;
    }
    const VECTOR3 surface = surfaceVelocity(*vessel, referenceBodyOf(*vessel));

    // A positive angle of attack blows from below the nose, a positive sideslip from the right.
    const double v = airspeed_;
    const VECTOR3 direction = airspeedDirection(aoaRad, sideslipRad);
    const VECTOR3 local{
        {surface.x + v * direction.x, surface.y + v * direction.y, surface.z + v * direction.z}};
    VECTOR3 global{{0.0, 0.0, 0.0}};
    vessel->GlobalRot(local, global);

    VESSELSTATUS state{};
    vessel->GetStatus(state);
    state.rvel = global;
    vessel->DefSetState(&state);
}

std::string VesselManager::controlsMoved() {
    // Lift and drag alone hold no control surface or thrust: nothing to read.
    const VESSEL* vessel = reportMoments_ || reportLateral_ ? interfaceOf(vessel_) : nullptr;
    return vessel == nullptr ? std::string() : controls_.moved(*vessel);
}

// A capture without a control axis makes no call here.
void VesselManager::restoreControls() {
    if (controls_.hasToGiveBack()) {
        controls_.giveBack(present() ? interfaceOf(vessel_) : nullptr);
    }
}

void VesselManager::settleControls() {
    if (controls_.isSettling()) {
        controls_.settle(present() ? interfaceOf(vessel_) : nullptr);
    }
}

}  // namespace aeroquin
