// A test plug-in, built for the simulator's Linux build and for the stand-in alike: it releases
// one vessel into free flight at a chosen trim, nudges it, holds a constant thrust along its body
// axis, and logs its motion every frame, so that tests/simulator/check_flight.py can fit the
// modes of motion and hold them against aeroquin-report's prediction, in both worlds.
//
// Config/Modules/Plugin/FreeFlight.cfg, lines "Item = value":
//   Vessel = SG-01        the vessel released
//   Altitude = 1000       m above the body's mean radius, over the point where the vessel is
//   Airspeed = 66         m/s against the rotating air
//   AOA = 4               deg; level flight: the pitch attitude is the AOA, wings level
//   Heading = 0           deg from north towards east
//   Thrust = 50           N along the body's forward axis, through the centre of gravity, added
//                         in every frame (AddForce)
//   Elevator = 0          optional: the elevator level, set directly at the release
//   Nudge = 0 3 0         deg/s, the aerospace body rates p, q, r given at the release
//   Log = flight.csv      written in the working folder (the simulator's or the host's root)
// The release is frame 1's pre-step. The log has one row per frame, after its step: the time
// (s), the altitude (m), the air's velocity u, v, w (m/s), the rates p, q, r (rad/s) in aerospace
// body axes (x forward, y right, z down), and the bank, pitch and heading against the local
// horizon (rad).
#ifdef AEROQUIN_ORBITER_LINUX
#define ORBITER_MODULE  // pulls in the SDK's loader hook, which calls InitModule
#endif
#include "module/simulator/HostApi.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "module/vessel/SurfaceVelocity.h"

namespace {

constexpr double kRadPerDeg = 3.14159265358979323846 / 180.0;

VECTOR3 vector(double x, double y, double z) {
    VECTOR3 v{};
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}

double dot(const VECTOR3& a, const VECTOR3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

struct Release {
    std::string vessel;
    double altitudeM = 1000.0;
    double airspeedMps = 0.0;
    double aoaRad = 0.0;
    double headingRad = 0.0;
    double thrustN = 0.0;
    bool setElevator = false;
    double elevator = 0.0;
    double nudgeRadps[3] = {0.0, 0.0, 0.0};  // p, q, r
    std::string log = "FreeFlight.csv";
};

Release readRelease(const char* path) {
    std::map<std::string, std::string> items;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        std::istringstream name(line.substr(0, equals));
        std::string key;
        name >> key;
        items[key] = line.substr(equals + 1);
    }
    const auto number = [&](const char* key, double fallback) {
        const auto found = items.find(key);
        return found == items.end() ? fallback : std::stod(found->second);
    };
    Release release;
    std::istringstream(items["Vessel"]) >> release.vessel;
    release.altitudeM = number("Altitude", release.altitudeM);
    release.airspeedMps = number("Airspeed", 0.0);
    release.aoaRad = number("AOA", 0.0) * kRadPerDeg;
    release.headingRad = number("Heading", 0.0) * kRadPerDeg;
    release.thrustN = number("Thrust", 0.0);
    release.setElevator = items.contains("Elevator");
    release.elevator = number("Elevator", 0.0);
    std::istringstream nudge(items["Nudge"]);
    for (double& rate : release.nudgeRadps) {
        nudge >> rate;
        rate *= kRadPerDeg;
    }
    if (items.contains("Log")) {
        std::istringstream(items["Log"]) >> release.log;
    }
    return release;
}

class FreeFlight final : public oapi::Module {
  public:
    explicit FreeFlight(HINSTANCE module) : oapi::Module(module) {}

    void clbkSimulationStart(RenderMode /*mode*/) override {
        release_ = readRelease("Config/Modules/Plugin/FreeFlight.cfg");
        frame_ = 0;
        log_.open(release_.log);
        log_ << "frame,time,altitude,u,v,w,p,q,r,bank,pitch,heading\n";
    }

    // The simulator may never delete the module object: the log is closed here.
    void clbkSimulationEnd() override { log_.close(); }

    void clbkPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) override {
        const VESSEL* vessel = find();
        if (vessel == nullptr) {
            return;
        }
        if (++frame_ == 1) {
            place(*vessel);
        }
        vessel->AddForce(vector(0.0, 0.0, release_.thrustN), vector(0.0, 0.0, 0.0));
    }

    void clbkPostStep(double simt, double /*simdt*/, double /*mjd*/) override {
        if (const VESSEL* vessel = find()) {
            write(*vessel, simt);
        }
    }

  private:
    // Level flight at the release's airspeed and AOA: position, attitude, velocity, rates.
    void place(const VESSEL& vessel) const {
        VESSELSTATUS state{};
        vessel.GetStatus(state);
        const double radius = oapiGetSize(state.rbody) + release_.altitudeM;
        const double r = std::sqrt(dot(state.rpos, state.rpos));
        state.rpos =
            vector(state.rpos.x * radius / r, state.rpos.y * radius / r, state.rpos.z * radius / r);
        state.status = 0;
        vessel.DefSetState(&state);

        // The local horizon's axes (east, up, north) in the global frame.
        const auto horizon = [&](double x, double y, double z) {
            VECTOR3 local{};
            VECTOR3 global{};
            vessel.HorizonInvRot(vector(x, y, z), local);
            vessel.GlobalRot(local, global);
            return global;
        };
        const VECTOR3 east = horizon(1.0, 0.0, 0.0);
        const VECTOR3 up = horizon(0.0, 1.0, 0.0);
        const VECTOR3 north = horizon(0.0, 0.0, 1.0);
        const double sh = std::sin(release_.headingRad);
        const double ch = std::cos(release_.headingRad);
        const double sp = std::sin(release_.aoaRad);
        const double cp = std::cos(release_.aoaRad);
        // The vessel's axes: x to the right wing, y up, z the nose, pitched up by the AOA.
        const auto mix = [](const VECTOR3& a, double ka, const VECTOR3& b, double kb) {
            return vector(ka * a.x + kb * b.x, ka * a.y + kb * b.y, ka * a.z + kb * b.z);
        };
        const VECTOR3 level = mix(north, ch, east, sh);  // the nose's heading
        const VECTOR3 x = mix(east, ch, north, -sh);
        const VECTOR3 y = mix(level, -sp, up, cp);
        const VECTOR3 z = mix(level, cp, up, sp);
        // Row by row: the axes are the columns.
        MATRIX3 attitude{};
        const VECTOR3 columns[3] = {x, y, z};
        for (int column = 0; column < 3; ++column) {
            for (int row = 0; row < 3; ++row) {
                attitude.data[3 * row + column] = columns[column].data[row];
            }
        }
        vessel.SetRotationMatrix(attitude);

        // The air meets the nose from below at the AOA; the air itself turns with the body.
        const VECTOR3 air = aeroquin::surfaceVelocity(vessel, state.rbody);
        const double v = release_.airspeedMps;
        VECTOR3 global{};
        vessel.GlobalRot(vector(air.x, air.y - v * sp, air.z + v * cp), global);
        vessel.GetStatus(state);
        state.rvel = global;
        // The simulator's angular velocity: x pitch, y yaw (left positive), z roll.
        const double* rate = release_.nudgeRadps;
        state.vrot = vector(rate[1], -rate[2], rate[0]);
        vessel.DefSetState(&state);
        if (release_.setElevator) {
            vessel.SetControlSurfaceLevel(AIRCTRL_ELEVATOR, release_.elevator, true);
        }
    }

    void write(const VESSEL& vessel, double time) {
        VESSELSTATUS state{};
        vessel.GetStatus(state);
        // The velocity against the air, in the vessel frame: the global one turned back, less the
        // air's own.
        VECTOR3 axes[3];
        for (int i = 0; i < 3; ++i) {
            vessel.GlobalRot(vector(i == 0, i == 1, i == 2), axes[i]);
        }
        const VECTOR3 air = aeroquin::surfaceVelocity(vessel, state.rbody);
        const VECTOR3 velocity =
            vector(dot(axes[0], state.rvel) - air.x, dot(axes[1], state.rvel) - air.y,
                   dot(axes[2], state.rvel) - air.z);
        VECTOR3 up{};
        VECTOR3 north{};
        VECTOR3 east{};
        vessel.HorizonInvRot(vector(0.0, 1.0, 0.0), up);
        vessel.HorizonInvRot(vector(0.0, 0.0, 1.0), north);
        vessel.HorizonInvRot(vector(1.0, 0.0, 0.0), east);
        VECTOR3 rotation{};
        vessel.GetAngularVel(rotation);
        const double altitude = std::sqrt(dot(state.rpos, state.rpos)) - oapiGetSize(state.rbody);
        const double values[] = {time,
                                 altitude,
                                 velocity.z,
                                 velocity.x,
                                 -velocity.y,
                                 rotation.z,
                                 rotation.x,
                                 -rotation.y,
                                 std::atan2(-up.x, up.y),
                                 std::asin(up.z),
                                 std::atan2(east.z, north.z)};
        log_ << frame_;
        for (double value : values) {
            char text[32];
            std::snprintf(text, sizeof text, ",%.17g", value);
            log_ << text;
        }
        log_ << '\n';
    }

    // Looked up each time: the vessel may be deleted.
    const VESSEL* find() const {
        std::string name = release_.vessel;
        OBJHANDLE handle = oapiGetVesselByName(name.data());
        return handle == nullptr ? nullptr : oapiGetVesselInterface(handle);
    }

    Release release_;
    long frame_ = 0;
    std::ofstream log_;
};

}  // namespace

DLLCLBK void InitModule(HINSTANCE module) {
    oapiRegisterModule(new FreeFlight(module));
}
