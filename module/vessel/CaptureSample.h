// One measured test point.
#pragma once

namespace aeroquin {

struct CaptureSample {
    double mach = 0.0;
    double aoa = 0.0;              // deg, as the sweep gives it
    double dynamicPressure = 0.0;  // Pa
    double airspeed = 0.0;         // m/s, commanded in the pre-step
    double clS = 0.0;              // lift / q, m^2
    double cdS = 0.0;              // drag / q, m^2
    // Body axes (x forward, y right, z down), about the centre of gravity, each / q. Read only in
    // a capture that reports them: the moments with ReportMoments = 1, the side force (and with
    // the moments the rolling and yawing ones) with a sideslip or a control axis.
    double cmSc = 0.0;      // pitching moment, m^3 (coefficient x area x chord), nose up positive
    double sideslip = 0.0;  // deg, as the sweep gives it: positive with the air from the right
    double cyS = 0.0;       // side force, m^2, positive to the right
    double clSb = 0.0;      // rolling moment, m^3 (coefficient x area x span), right wing down
    double cnSb = 0.0;      // yawing moment, m^3, nose right
    // With a control axis: the level the step used, and the lift and drag of every force of the
    // step but gravity (control surfaces and thrust too), along the simulator's lift and drag
    // directions, m^2.
    double controlLevel = 0.0;
    double clTotalS = 0.0;
    double cdTotalS = 0.0;
    // With a rate axis: the body rates the step used, deg/s (aerospace q nose up, p right wing
    // down, r nose right), as the simulator reads them back in the pre-step.
    double pitchRate = 0.0;
    double rollRate = 0.0;
    double yawRate = 0.0;
};

}  // namespace aeroquin
