// A test plug-in for the simulator's Linux build: it writes to the simulator's log what the
// simulator itself says of one vessel, so that tools/check-in-simulator can hold a capture's
// report against it.
//
// Config/Modules/Plugin/VesselProbe.cfg holds the vessel's name. Listed after Aeroquin in
// ACTIVE_MODULES, so that its pre-step sees the airflow that Aeroquin's has just set. Lines:
//   VesselProbe: start: levels <six control levels> mode <aerodynamic control mode>
//   VesselProbe: frame <n> pre: aoa <rad> slip <rad> q <Pa> w <angular velocity, rad/s>
//   VesselProbe: frame <n> post: aoa <rad> slip <rad> F <x y z> M <x y z> levels <six> mode <m>
//   VesselProbe: frame <n>: paused (or resumed)
// The post-step's angles describe the state after the step; its F (GetLinearMoment) and M
// (GetAngularMoment) are the step's. The levels are those of AIRCTRL_ELEVATOR to RUDDERTRIM.
#define ORBITER_MODULE  // pulls in the SDK's loader hook, which calls InitModule
#include <Orbitersdk.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

class VesselProbe final : public oapi::Module {
  public:
    explicit VesselProbe(MODULEHANDLE module) : oapi::Module(module) {}

    void clbkSimulationStart(RenderMode /*mode*/) override {
        frame_ = 0;
        std::ifstream file("Config/Modules/Plugin/VesselProbe.cfg");
        std::getline(file, name_);
        if (const VESSEL* vessel = find()) {
            say("start: " + controls(*vessel));
        } else {
            say("start: no vessel " + name_);
        }
    }

    void clbkPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) override {
        ++frame_;
        if (const VESSEL* vessel = find()) {
            VECTOR3 rotation{};
            vessel->GetAngularVel(rotation);
            say("frame " + std::to_string(frame_) + " pre: aoa " + number(vessel->GetAOA()) +
                " slip " + number(vessel->GetSlipAngle()) + " q " +
                number(vessel->GetDynPressure()) + " w " + triple(rotation));
        }
    }

    void clbkPostStep(double /*simt*/, double /*simdt*/, double /*mjd*/) override {
        if (const VESSEL* vessel = find()) {
            VECTOR3 force{};
            VECTOR3 moment{};
            vessel->GetLinearMoment(force);
            vessel->GetAngularMoment(moment);
            say("frame " + std::to_string(frame_) + " post: aoa " + number(vessel->GetAOA()) +
                " slip " + number(vessel->GetSlipAngle()) + " F " + triple(force) + " M " +
                triple(moment) + " " + controls(*vessel));
        }
    }

    void clbkPause(bool pause) override {
        say("frame " + std::to_string(frame_) + (pause ? ": paused" : ": resumed"));
    }

  private:
    static void say(const std::string& text) {
        const std::string line = "VesselProbe: " + text;
        oapiWriteLog(line.c_str());
    }

    static std::string triple(const VECTOR3& v) {
        return number(v.x) + " " + number(v.y) + " " + number(v.z);
    }

    static std::string controls(const VESSEL& vessel) {
        std::string text = "levels";
        for (int type = AIRCTRL_ELEVATOR; type <= AIRCTRL_RUDDERTRIM; ++type) {
            text += " " + number(vessel.GetControlSurfaceLevel(static_cast<AIRCTRL_TYPE>(type)));
        }
        return text + " mode " + std::to_string(vessel.GetADCtrlMode());
    }

    // Looked up each time: the vessel may be deleted or its interface replaced.
    const VESSEL* find() const {
        OBJHANDLE vessel = oapiGetVesselByName(name_.c_str());
        return vessel == nullptr ? nullptr : oapiGetVesselInterface(vessel);
    }

    long frame_ = 0;
    std::string name_;
};

}  // namespace

DLLCLBK void InitModule(MODULEHANDLE module) {
    oapiRegisterModule(new VesselProbe(module));
}
