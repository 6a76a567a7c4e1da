// A test vessel for the simulator's Linux build whose own pre-step moves its elevator, as a trim
// autopilot would: one wing and an elevator. The pre-step's two-argument call makes the level a
// ramp, also for a level that a plug-in set directly in the same frame, so a capture of this
// vessel must not call itself completed. Config/Vessels/AqElevatorMover.cfg names it:
// Module = AqElevatorMover.
#include <Orbitersdk.h>

#include <cmath>

namespace {

constexpr double kElevatorLevel = 0.3;

// A thin wing: lift slope 2 pi per radian, symmetric, with a little profile and induced drag.
void wing(VESSEL* /*vessel*/, double aoa, double /*mach*/, double /*reynolds*/, void* /*context*/,
          double* cl, double* cm, double* cd) {
    *cl = 2.0 * PI * std::sin(aoa) * std::cos(aoa);
    *cm = 0.0;
    *cd = 0.01 + 0.05 * *cl * *cl;
}

class ElevatorMover final : public VESSEL4 {
  public:
    ElevatorMover(OBJHANDLE handle, int flightModel) : VESSEL4(handle, flightModel) {}

    void clbkSetClassCaps(FILEHANDLE /*classFile*/) override {
        SetSize(5.0);
        SetEmptyMass(300.0);
        SetPMI(_V(3.0, 4.0, 1.0));
        SetCrossSections(_V(2.0, 8.0, 0.6));
        SetRotDrag(_V(0.5, 0.5, 0.5));
        SetTouchdownPoints(_V(0.0, -0.8, 2.0), _V(-2.0, -0.8, -2.0), _V(2.0, -0.8, -2.0));
        CreateAirfoil3(LIFT_VERTICAL, _V(0.0, 0.0, 0.0), wing, nullptr, 1.0, 10.0, 10.0);
        CreateControlSurface3(AIRCTRL_ELEVATOR, 0.5, 1.4, _V(0.0, 0.0, -4.0), AIRCTRL_AXIS_XPOS,
                              0.5);
    }

    void clbkPreStep(double /*simt*/, double /*simdt*/, double /*mjd*/) override {
        SetControlSurfaceLevel(AIRCTRL_ELEVATOR, kElevatorLevel);
    }
};

}  // namespace

DLLCLBK VESSEL* ovcInit(OBJHANDLE vessel, int flightModel) {
    return new ElevatorMover(vessel, flightModel);
}

DLLCLBK void ovcExit(VESSEL* vessel) {
    delete static_cast<ElevatorMover*>(vessel);
}
